#include "Platform/Linux/PulseAudioOutput.h"

#include "Services/Audio/AudioMixer.h"
#include "fakes/FakePulseServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {
// The real loop's lock is a mutex: waiting needs it held, and releasing it unheld aborts the
// process. This table holds each answer back until the client waits, lets the waits that no
// answer ended go on to the time-out, and keeps the lock's count.
struct LateAnswers {
    static inline const PulseLibrary *fake = nullptr;
    static inline std::vector<std::function<void()>> held;
    static inline bool signalled = false;
    static inline int locks = 0;
    static inline int lockMisuses = 0;
    PulseLibrary library;

    explicit LateAnswers(const PulseLibrary &server) : library(server)
    {
        fake = &server;
        held.clear();
        locks = 0;
        lockMisuses = 0;
        library.threadedMainloopLock = [](pa_threaded_mainloop *) { ++locks; };
        library.threadedMainloopUnlock = [](pa_threaded_mainloop *) {
            if (locks == 0)
                ++lockMisuses;
            else
                --locks;
        };
        library.contextConnect = [](pa_context *context, const char *name, pa_context_flags_t flags,
                                    const pa_spawn_api *spawn) {
            held.push_back([=] { fake->contextConnect(context, name, flags, spawn); });
            return 0;
        };
        library.contextGetServerInfo = [](pa_context *context, pa_server_info_cb_t callback, void *data) {
            held.push_back([=] { fake->operationUnref(fake->contextGetServerInfo(context, callback, data)); });
            return pending();
        };
        library.contextGetSinkInfoByName = [](pa_context *context, const char *sink, pa_sink_info_cb_t callback,
                                              void *data) {
            held.push_back(
                [=] { fake->operationUnref(fake->contextGetSinkInfoByName(context, sink, callback, data)); });
            return pending();
        };
        library.streamConnectPlayback = [](pa_stream *stream, const char *device, const pa_buffer_attr *attributes,
                                           pa_stream_flags_t flags, const pa_cvolume *volume, pa_stream *sync) {
            held.push_back([=, asked = *attributes] {
                fake->streamConnectPlayback(stream, device, &asked, flags, volume, sync);
            });
            return 0;
        };
        library.threadedMainloopSignal = [](pa_threaded_mainloop *, int) { signalled = true; };
        library.threadedMainloopWait = [](pa_threaded_mainloop *loop) {
            lockMisuses += locks == 0;
            signalled = false;
            for (const auto &answer : std::exchange(held, {}))
                answer();
            if (!signalled)
                fake->threadedMainloopWait(loop);
        };
    }

    static pa_operation *pending()
    {
        static int operation;
        return reinterpret_cast<pa_operation *>(&operation);
    }
};
}

// Abandoning wakes a wait that may be under way, under the loop's lock; taking the opens up
// again later, and opening, parking and closing, leave the lock as they found it.
TEST(PulseAudioOutput, EveryTurnOfTheLoopsLockIsTakenAndGivenBack)
{
    FakePulseServer server;
    LateAnswers late(server.library());
    {
        PulseAudioOutput output(&late.library);
        AudioMixer mixer(8);
        ASSERT_TRUE(output.open(128, mixer).has_value());
        output.resume();
        output.close();
        // The parked stream is lost, so the next open must wait for the server.
        server.failStream();
        output.abandonOpens(true);
        EXPECT_FALSE(output.open(128, mixer).has_value()) << "the server is not waited for while abandoned";
        output.abandonOpens(false);
        ASSERT_TRUE(output.open(128, mixer).has_value());
        output.close();
        EXPECT_EQ(LateAnswers::locks, 0);
    }
    EXPECT_EQ(LateAnswers::lockMisuses, 0);
    EXPECT_EQ(LateAnswers::locks, 0);
}
