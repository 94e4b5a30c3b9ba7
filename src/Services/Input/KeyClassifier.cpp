#include "Services/Input/KeyClassifier.h"

#include <linux/input-event-codes.h>

#include <optional>

namespace {

std::optional<KeyGroup> mainBlockGroup(std::uint16_t keyCode)
{
    switch (keyCode) {
    case KEY_SPACE:
        return KeyGroup::space;
    case KEY_ENTER:
    case KEY_KPENTER:
        return KeyGroup::enter;
    case KEY_BACKSPACE:
    case KEY_DELETE:
        return KeyGroup::delete_;
    case KEY_LEFTSHIFT:
    case KEY_RIGHTSHIFT:
    case KEY_LEFTCTRL:
    case KEY_RIGHTCTRL:
    case KEY_LEFTALT:
    case KEY_RIGHTALT:
    case KEY_LEFTMETA:
    case KEY_RIGHTMETA:
    case KEY_FN:
        return KeyGroup::modifier;
    case KEY_TAB:
    case KEY_CAPSLOCK:
        return KeyGroup::tabCaps;
    case KEY_UP:
    case KEY_DOWN:
    case KEY_LEFT:
    case KEY_RIGHT:
        return KeyGroup::arrows;
    case KEY_ESC:
        return KeyGroup::escape;
    case KEY_HOME:
    case KEY_END:
    case KEY_PAGEUP:
    case KEY_PAGEDOWN:
    case KEY_INSERT:
    case KEY_SYSRQ:
    case KEY_SCROLLLOCK:
    case KEY_PAUSE:
    case KEY_NUMLOCK:
    case KEY_COMPOSE:
        return KeyGroup::function;
    default:
        return std::nullopt;
    }
}

std::optional<KeyGroup> outerKeyGroup(std::uint16_t keyCode)
{
    if (keyCode >= KEY_F1 && keyCode <= KEY_F10)
        return KeyGroup::function;
    switch (keyCode) {
    case KEY_F11:
    case KEY_F12:
        return KeyGroup::function;
    // Typing keys beyond the main block: keypad signs, language and currency keys.
    case KEY_KPEQUAL:
    case KEY_KPPLUSMINUS:
    case KEY_KPCOMMA:
    case KEY_HANGEUL:
    case KEY_HANJA:
    case KEY_YEN:
    case KEY_KPLEFTPAREN:
    case KEY_KPRIGHTPAREN:
    case KEY_DOLLAR:
    case KEY_EURO:
        return KeyGroup::regular;
    case KEY_LINEFEED:
        return KeyGroup::enter;
    default:
        return std::nullopt;
    }
}

}

KeyGroup KeyClassifier::group(std::uint16_t keyCode)
{
    if (const auto named = mainBlockGroup(keyCode))
        return *named;
    if (const auto outer = outerKeyGroup(keyCode))
        return *outer;
    // Everything above the typing block is a media, system, launcher or F13+ key.
    if (keyCode > KEY_DELETE)
        return KeyGroup::function;
    return KeyGroup::regular;
}

KeyGroup KeyClassifier::mouseGroup(std::uint16_t buttonCode)
{
    switch (buttonCode) {
    case BTN_LEFT:
        return KeyGroup::mouseLeft;
    case BTN_RIGHT:
        return KeyGroup::mouseRight;
    default:
        return KeyGroup::mouseOther;
    }
}

bool KeyClassifier::isModifierOrFunction(std::uint16_t keyCode)
{
    const KeyGroup keyGroup = group(keyCode);
    return keyGroup == KeyGroup::modifier || keyGroup == KeyGroup::function;
}
