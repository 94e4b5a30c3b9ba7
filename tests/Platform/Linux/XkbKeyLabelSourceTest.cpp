#include "Platform/Linux/XkbKeyLabelSource.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

namespace {

// Points the labels at a layout by name, with no X server to ask.
class LayoutEnvironment {
public:
    explicit LayoutEnvironment(const char *layout)
        : m_display(qgetenv("DISPLAY"))
    {
        qunsetenv("DISPLAY");
        qputenv("XKB_DEFAULT_LAYOUT", layout);
    }
    ~LayoutEnvironment()
    {
        qunsetenv("XKB_DEFAULT_LAYOUT");
        if (!m_display.isEmpty())
            qputenv("DISPLAY", m_display);
    }

private:
    QByteArray m_display;
};

}

TEST(XkbKeyLabelSource, LabelsKeysAfterTheActiveLayout)
{
    struct Case {
        const char *layout;
        std::uint16_t code;
        const char *label;
    };
    const std::vector<Case> cases{
        {"us", KEY_Y, "Y"},   {"us", KEY_SEMICOLON, ";"}, {"de", KEY_Y, "Z"},      {"de", KEY_SEMICOLON, "Ö"},
        {"fr", KEY_Q, "A"},   {"fr", KEY_1, "&"},         {"de", KEY_ESC, "Esc"},  {"de", KEY_KP7, "7"},
        {"de", KEY_F11, "F11"}, {"de", KEY_SPACE, "␣"},
    };
    for (const auto &c : cases) {
        LayoutEnvironment environment(c.layout);
        const XkbKeyLabelSource labels;
        EXPECT_EQ(labels.label(c.code), QString::fromUtf8(c.label)) << c.layout << " " << c.code;
    }
}
