#include "Platform/InputCapture.h"
#include "Foundation/KeyLabelTable.h"
#include "Services/Input/KeyClassifier.h"
#include "Services/Input/SpatialKeyMapper.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <vector>

namespace {

struct KeyCase {
    std::uint16_t code;
    KeyGroup group;
};

// Every key of a full-size ISO/ANSI keyboard with keypad, and the extra keys of Japanese,
// Korean and laptop boards.
const std::vector<KeyCase> fullKeyboard = [] {
    std::vector<KeyCase> cases;
    for (std::uint16_t code : {KEY_GRAVE, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9, KEY_0,
                               KEY_MINUS, KEY_EQUAL, KEY_Q, KEY_W, KEY_E, KEY_R, KEY_T, KEY_Y, KEY_U, KEY_I, KEY_O,
                               KEY_P, KEY_LEFTBRACE, KEY_RIGHTBRACE, KEY_BACKSLASH, KEY_A, KEY_S, KEY_D, KEY_F, KEY_G,
                               KEY_H, KEY_J, KEY_K, KEY_L, KEY_SEMICOLON, KEY_APOSTROPHE, KEY_102ND, KEY_Z, KEY_X,
                               KEY_C, KEY_V, KEY_B, KEY_N, KEY_M, KEY_COMMA, KEY_DOT, KEY_SLASH, KEY_KP0, KEY_KP1,
                               KEY_KP2, KEY_KP3, KEY_KP4, KEY_KP5, KEY_KP6, KEY_KP7, KEY_KP8, KEY_KP9, KEY_KPDOT,
                               KEY_KPPLUS, KEY_KPMINUS, KEY_KPASTERISK, KEY_KPSLASH, KEY_KPEQUAL, KEY_KPCOMMA,
                               KEY_RO, KEY_YEN, KEY_HANGEUL, KEY_HANJA, KEY_HENKAN, KEY_MUHENKAN, KEY_KATAKANAHIRAGANA})
        cases.push_back({code, KeyGroup::regular});
    cases.insert(cases.end(), {
        {KEY_SPACE, KeyGroup::space},       {KEY_ENTER, KeyGroup::enter},        {KEY_KPENTER, KeyGroup::enter},
        {KEY_BACKSPACE, KeyGroup::delete_}, {KEY_DELETE, KeyGroup::delete_},     {KEY_LEFTSHIFT, KeyGroup::modifier},
        {KEY_RIGHTSHIFT, KeyGroup::modifier}, {KEY_LEFTCTRL, KeyGroup::modifier}, {KEY_RIGHTCTRL, KeyGroup::modifier},
        {KEY_LEFTALT, KeyGroup::modifier},  {KEY_RIGHTALT, KeyGroup::modifier},  {KEY_LEFTMETA, KeyGroup::modifier},
        {KEY_RIGHTMETA, KeyGroup::modifier}, {KEY_FN, KeyGroup::modifier},       {KEY_TAB, KeyGroup::tabCaps},
        {KEY_CAPSLOCK, KeyGroup::tabCaps},  {KEY_UP, KeyGroup::arrows},          {KEY_DOWN, KeyGroup::arrows},
        {KEY_LEFT, KeyGroup::arrows},       {KEY_RIGHT, KeyGroup::arrows},       {KEY_ESC, KeyGroup::escape},
        {KEY_HOME, KeyGroup::function},     {KEY_END, KeyGroup::function},       {KEY_PAGEUP, KeyGroup::function},
        {KEY_PAGEDOWN, KeyGroup::function}, {KEY_INSERT, KeyGroup::function},    {KEY_SYSRQ, KeyGroup::function},
        {KEY_SCROLLLOCK, KeyGroup::function}, {KEY_PAUSE, KeyGroup::function},   {KEY_NUMLOCK, KeyGroup::function},
        {KEY_COMPOSE, KeyGroup::function},  {KEY_MUTE, KeyGroup::function},      {KEY_VOLUMEUP, KeyGroup::function},
        {KEY_BRIGHTNESSDOWN, KeyGroup::function}, {KEY_PLAYPAUSE, KeyGroup::function}, {KEY_POWER, KeyGroup::function},
        {KEY_MICMUTE, KeyGroup::function},
    });
    for (std::uint16_t code = KEY_F1; code <= KEY_F10; ++code)
        cases.push_back({code, KeyGroup::function});
    for (std::uint16_t code : {KEY_F11, KEY_F12})
        cases.push_back({code, KeyGroup::function});
    for (std::uint16_t code = KEY_F13; code <= KEY_F24; ++code)
        cases.push_back({code, KeyGroup::function});
    return cases;
}();

}

TEST(KeyClassifier, PutsEveryKeyOfAFullKeyboardInItsGroup)
{
    for (const auto &[code, group] : fullKeyboard) {
        SCOPED_TRACE(code);
        EXPECT_EQ(KeyClassifier::group(code), group);
        EXPECT_EQ(KeyClassifier::isModifierOrFunction(code), group == KeyGroup::modifier || group == KeyGroup::function);
    }
}

TEST(KeyClassifier, NeverGivesAKeyAMouseOrReactionGroup)
{
    for (std::uint16_t code = 1; code <= KEY_MAX; ++code) {
        if (!InputCodes::isKeyboardKey(code))
            continue;
        const KeyGroup group = KeyClassifier::group(code);
        EXPECT_TRUE(group != KeyGroup::mouseLeft && group != KeyGroup::mouseRight && group != KeyGroup::mouseOther
                    && group != KeyGroup::reaction)
            << code;
    }
}

TEST(KeyClassifier, MapsMouseButtons)
{
    EXPECT_EQ(KeyClassifier::mouseGroup(BTN_LEFT), KeyGroup::mouseLeft);
    EXPECT_EQ(KeyClassifier::mouseGroup(BTN_RIGHT), KeyGroup::mouseRight);
    for (std::uint16_t code : {BTN_MIDDLE, BTN_SIDE, BTN_EXTRA, BTN_FORWARD, BTN_BACK, BTN_TASK})
        EXPECT_EQ(KeyClassifier::mouseGroup(code), KeyGroup::mouseOther) << code;
}

TEST(InputCodes, SeparatesKeysFromButtons)
{
    EXPECT_TRUE(InputCodes::isKeyboardKey(KEY_A));
    EXPECT_TRUE(InputCodes::isKeyboardKey(KEY_FN));
    EXPECT_FALSE(InputCodes::isKeyboardKey(KEY_RESERVED));
    EXPECT_FALSE(InputCodes::isKeyboardKey(BTN_LEFT));
    EXPECT_FALSE(InputCodes::isKeyboardKey(BTN_TOUCH));
    EXPECT_FALSE(InputCodes::isKeyboardKey(BTN_TRIGGER_HAPPY1));
    EXPECT_TRUE(InputCodes::isMouseButton(BTN_LEFT));
    EXPECT_TRUE(InputCodes::isMouseButton(BTN_TASK));
    EXPECT_FALSE(InputCodes::isMouseButton(BTN_TOUCH));
    EXPECT_FALSE(InputCodes::isMouseButton(KEY_A));
}

TEST(SpatialKeyMapper, PansEachRowFromLeftToRight)
{
    const std::vector<std::vector<std::uint16_t>> rows{
        {KEY_ESC, KEY_F1, KEY_F4, KEY_F5, KEY_F8, KEY_F9, KEY_F12, KEY_SYSRQ, KEY_PAUSE},
        {KEY_GRAVE, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9, KEY_0, KEY_MINUS, KEY_EQUAL,
         KEY_BACKSPACE, KEY_INSERT, KEY_HOME, KEY_PAGEUP, KEY_NUMLOCK, KEY_KPSLASH, KEY_KPASTERISK, KEY_KPMINUS},
        {KEY_TAB, KEY_Q, KEY_W, KEY_E, KEY_R, KEY_T, KEY_Y, KEY_U, KEY_I, KEY_O, KEY_P, KEY_LEFTBRACE,
         KEY_RIGHTBRACE, KEY_BACKSLASH, KEY_DELETE, KEY_END, KEY_PAGEDOWN, KEY_KP7, KEY_KP8, KEY_KP9, KEY_KPPLUS},
        {KEY_CAPSLOCK, KEY_A, KEY_S, KEY_D, KEY_F, KEY_G, KEY_H, KEY_J, KEY_K, KEY_L, KEY_SEMICOLON, KEY_APOSTROPHE,
         KEY_ENTER, KEY_KP4, KEY_KP5, KEY_KP6},
        {KEY_LEFTSHIFT, KEY_Z, KEY_X, KEY_C, KEY_V, KEY_B, KEY_N, KEY_M, KEY_COMMA, KEY_DOT, KEY_SLASH,
         KEY_RIGHTSHIFT, KEY_UP, KEY_KP1, KEY_KP2, KEY_KP3, KEY_KPENTER},
        {KEY_LEFTCTRL, KEY_LEFTMETA, KEY_LEFTALT, KEY_SPACE, KEY_RIGHTALT, KEY_RIGHTMETA, KEY_COMPOSE, KEY_RIGHTCTRL,
         KEY_LEFT, KEY_DOWN, KEY_RIGHT, KEY_KP0, KEY_KPDOT},
    };
    for (const auto &row : rows) {
        for (std::size_t i = 1; i < row.size(); ++i)
            EXPECT_LT(SpatialKeyMapper::pan(row[i - 1]), SpatialKeyMapper::pan(row[i])) << row[i - 1] << " " << row[i];
        EXPECT_LT(SpatialKeyMapper::pan(row.front()), -0.6);
        EXPECT_GT(SpatialKeyMapper::pan(row.back()), 0.6);
    }
    for (std::uint16_t code = 1; code <= KEY_MAX; ++code) {
        const double pan = SpatialKeyMapper::pan(code);
        EXPECT_TRUE(pan >= -1.0 && pan <= 1.0) << code;
    }
    EXPECT_NEAR(SpatialKeyMapper::pan(KEY_SPACE), 0.0, 0.1);
    EXPECT_EQ(SpatialKeyMapper::pan(KEY_VOLUMEUP), 0.0);
}

TEST(KeyLabelTable, GivesEveryKeyOfTheBoardALabelOfAtMostFourCharacters)
{
    for (const auto &[code, group] : fullKeyboard) {
        if (code == KEY_HENKAN || code == KEY_MUHENKAN || code == KEY_KATAKANAHIRAGANA || code == KEY_HANGEUL
            || code == KEY_HANJA || (group == KeyGroup::function && !KeyLabelTable::namedKeyLabel(code)))
            continue;
        const auto label = KeyLabelTable::label(code);
        ASSERT_TRUE(label.has_value()) << code;
        EXPECT_FALSE(label->isEmpty()) << code;
        EXPECT_LE(label->toUcs4().size(), KeyLabelTable::maximumLength) << code;
    }
    EXPECT_EQ(KeyLabelTable::label(KEY_A), QStringLiteral("A"));
    EXPECT_EQ(KeyLabelTable::label(KEY_F24), QStringLiteral("F24"));
    EXPECT_EQ(KeyLabelTable::clipped(QStringLiteral("Scroll")), QStringLiteral("Scro"));
    EXPECT_EQ(KeyLabelTable::clipped(QStringLiteral("😀😀😀😀😀")), QStringLiteral("😀😀😀😀"));
}
