#include "Effects/EscapeKeyMonitor.h"
#include "fakes/FakeInputCapture.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

TEST(EscapeKeyMonitor, PrefersRawDisplayEventsThenDevicesAndNeverOnlyOurWindows)
{
    struct Case {
        const char *name;
        std::map<InputCaptureLevel, bool> available;
        bool starts;
        std::optional<InputCaptureLevel> running;
    };
    const Case cases[] = {
        {"display server", {{InputCaptureLevel::globalFallback, true}, {InputCaptureLevel::eventTap, true}}, true,
         InputCaptureLevel::globalFallback},
        {"devices", {{InputCaptureLevel::globalFallback, false}, {InputCaptureLevel::eventTap, true}}, true,
         InputCaptureLevel::eventTap},
        {"own windows only", {{InputCaptureLevel::appOnly, true}}, false, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeInputCapture capture;
        capture.available = c.available;
        EscapeKeyMonitor monitor(capture);
        EXPECT_EQ(monitor.start(), c.starts);
        EXPECT_EQ(monitor.isListening(), c.starts);
        if (c.running) {
            EXPECT_TRUE(capture.sources.at(*c.running)->running);
        }
        EXPECT_EQ(capture.sources.count(InputCaptureLevel::appOnly), 0u);
    }
}

TEST(EscapeKeyMonitor, StartsOnceDeliversPressesOnTheGuiThreadAndStopsTwice)
{
    FakeInputCapture capture;
    capture.available = {{InputCaptureLevel::globalFallback, true}};
    EscapeKeyMonitor monitor(capture);
    std::vector<std::uint16_t> keys;
    monitor.onKeyCode = [&](std::uint16_t code) { keys.push_back(code); };
    ASSERT_TRUE(monitor.start());
    EXPECT_TRUE(monitor.start());
    EXPECT_EQ(capture.madeCount, 1);

    FakeInputSource *source = capture.sources.at(InputCaptureLevel::globalFallback);
    source->send(EscapeKeyMonitor::escapeKeyCode, 1);
    source->send(EscapeKeyMonitor::escapeKeyCode, 0);
    source->send(30, 1);
    EXPECT_TRUE(keys.empty()) << "presses hop through the event loop";
    QCoreApplication::processEvents();
    EXPECT_EQ(keys, (std::vector<std::uint16_t>{EscapeKeyMonitor::escapeKeyCode, 30}));

    source->send(EscapeKeyMonitor::escapeKeyCode, 1);
    monitor.stop();
    monitor.stop();
    QCoreApplication::processEvents();
    EXPECT_EQ(keys.size(), 2u) << "a press still queued when stopped is dropped";
    EXPECT_TRUE(capture.sources.empty());
    EXPECT_TRUE(monitor.start());
    EXPECT_EQ(capture.madeCount, 2);
}
