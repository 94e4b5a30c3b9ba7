#include "Foundation/KeyLabelTable.h"

#include <linux/input-event-codes.h>

#include <array>
#include <utility>

namespace {

using Entry = std::pair<std::uint16_t, const char *>;

constexpr std::array namedKeys{
    Entry{KEY_ESC, "Esc"},        Entry{KEY_TAB, "⇥"},          Entry{KEY_CAPSLOCK, "⇪"},
    Entry{KEY_BACKSPACE, "⌫"},    Entry{KEY_DELETE, "⌦"},       Entry{KEY_ENTER, "⏎"},
    Entry{KEY_KPENTER, "⏎"},      Entry{KEY_SPACE, "␣"},        Entry{KEY_LEFTSHIFT, "⇧"},
    Entry{KEY_RIGHTSHIFT, "⇧"},   Entry{KEY_LEFTCTRL, "Ctrl"},  Entry{KEY_RIGHTCTRL, "Ctrl"},
    Entry{KEY_LEFTALT, "Alt"},    Entry{KEY_RIGHTALT, "Alt"},   Entry{KEY_LEFTMETA, "Meta"},
    Entry{KEY_RIGHTMETA, "Meta"}, Entry{KEY_FN, "Fn"},          Entry{KEY_COMPOSE, "Menu"},
    Entry{KEY_UP, "↑"},           Entry{KEY_DOWN, "↓"},         Entry{KEY_LEFT, "←"},
    Entry{KEY_RIGHT, "→"},        Entry{KEY_HOME, "Home"},      Entry{KEY_END, "End"},
    Entry{KEY_PAGEUP, "PgUp"},    Entry{KEY_PAGEDOWN, "PgDn"},  Entry{KEY_INSERT, "Ins"},
    Entry{KEY_SYSRQ, "Prt"},      Entry{KEY_SCROLLLOCK, "ScrL"}, Entry{KEY_PAUSE, "Paus"},
    Entry{KEY_NUMLOCK, "Num"},
};

constexpr std::array printingKeys{
    Entry{KEY_1, "1"},          Entry{KEY_2, "2"},          Entry{KEY_3, "3"},          Entry{KEY_4, "4"},
    Entry{KEY_5, "5"},          Entry{KEY_6, "6"},          Entry{KEY_7, "7"},          Entry{KEY_8, "8"},
    Entry{KEY_9, "9"},          Entry{KEY_0, "0"},          Entry{KEY_MINUS, "-"},      Entry{KEY_EQUAL, "="},
    Entry{KEY_Q, "Q"},          Entry{KEY_W, "W"},          Entry{KEY_E, "E"},          Entry{KEY_R, "R"},
    Entry{KEY_T, "T"},          Entry{KEY_Y, "Y"},          Entry{KEY_U, "U"},          Entry{KEY_I, "I"},
    Entry{KEY_O, "O"},          Entry{KEY_P, "P"},          Entry{KEY_LEFTBRACE, "["},  Entry{KEY_RIGHTBRACE, "]"},
    Entry{KEY_A, "A"},          Entry{KEY_S, "S"},          Entry{KEY_D, "D"},          Entry{KEY_F, "F"},
    Entry{KEY_G, "G"},          Entry{KEY_H, "H"},          Entry{KEY_J, "J"},          Entry{KEY_K, "K"},
    Entry{KEY_L, "L"},          Entry{KEY_SEMICOLON, ";"},  Entry{KEY_APOSTROPHE, "'"}, Entry{KEY_GRAVE, "`"},
    Entry{KEY_BACKSLASH, "\\"}, Entry{KEY_102ND, "\\"},     Entry{KEY_Z, "Z"},          Entry{KEY_X, "X"},
    Entry{KEY_C, "C"},          Entry{KEY_V, "V"},          Entry{KEY_B, "B"},          Entry{KEY_N, "N"},
    Entry{KEY_M, "M"},          Entry{KEY_COMMA, ","},      Entry{KEY_DOT, "."},        Entry{KEY_SLASH, "/"},
    Entry{KEY_KP0, "0"},        Entry{KEY_KP1, "1"},        Entry{KEY_KP2, "2"},        Entry{KEY_KP3, "3"},
    Entry{KEY_KP4, "4"},        Entry{KEY_KP5, "5"},        Entry{KEY_KP6, "6"},        Entry{KEY_KP7, "7"},
    Entry{KEY_KP8, "8"},        Entry{KEY_KP9, "9"},        Entry{KEY_KPDOT, "."},      Entry{KEY_KPPLUS, "+"},
    Entry{KEY_KPMINUS, "-"},    Entry{KEY_KPASTERISK, "*"}, Entry{KEY_KPSLASH, "/"},    Entry{KEY_KPEQUAL, "="},
    Entry{KEY_KPCOMMA, ","},    Entry{KEY_KPPLUSMINUS, "±"}, Entry{KEY_KPLEFTPAREN, "("}, Entry{KEY_KPRIGHTPAREN, ")"},
    Entry{KEY_YEN, "¥"},        Entry{KEY_RO, "\\"},        Entry{KEY_DOLLAR, "$"},     Entry{KEY_EURO, "€"},
};

template <std::size_t N>
std::optional<QString> find(const std::array<Entry, N> &table, std::uint16_t keyCode)
{
    for (const auto &[code, text] : table) {
        if (code == keyCode)
            return QString::fromUtf8(text);
    }
    return std::nullopt;
}

std::optional<QString> functionKeyLabel(std::uint16_t keyCode)
{
    if (keyCode >= KEY_F1 && keyCode <= KEY_F10)
        return QStringLiteral("F%1").arg(keyCode - KEY_F1 + 1);
    if (keyCode == KEY_F11 || keyCode == KEY_F12)
        return QStringLiteral("F%1").arg(keyCode - KEY_F11 + 11);
    if (keyCode >= KEY_F13 && keyCode <= KEY_F24)
        return QStringLiteral("F%1").arg(keyCode - KEY_F13 + 13);
    return std::nullopt;
}

}

std::optional<QString> KeyLabelTable::namedKeyLabel(std::uint16_t keyCode)
{
    if (auto label = find(namedKeys, keyCode))
        return label;
    return functionKeyLabel(keyCode);
}

std::optional<QString> KeyLabelTable::label(std::uint16_t keyCode)
{
    if (auto label = namedKeyLabel(keyCode))
        return label;
    return find(printingKeys, keyCode);
}

QString KeyLabelTable::clipped(const QString &text)
{
    const auto codePoints = text.toUcs4();
    if (codePoints.size() <= maximumLength)
        return text;
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(codePoints.constData()), maximumLength);
}
