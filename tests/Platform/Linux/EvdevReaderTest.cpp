#include "Platform/Linux/EvdevReaderThread.h"
#include "Platform/Linux/EvdevRecordReader.h"

#include <gtest/gtest.h>

#include <linux/input.h>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

input_event record(std::uint16_t type, std::uint16_t code, std::int32_t value)
{
    input_event event{};
    event.type = type;
    event.code = code;
    event.value = value;
    return event;
}

input_event key(std::uint16_t code, std::int32_t value)
{
    return record(EV_KEY, code, value);
}

input_event report()
{
    return record(EV_SYN, SYN_REPORT, 0);
}

struct Pipe {
    int readEnd = -1;
    int writeEnd = -1;
    Pipe()
    {
        int ends[2];
        EXPECT_EQ(pipe(ends), 0);
        readEnd = ends[0];
        writeEnd = ends[1];
    }
    ~Pipe()
    {
        closeWriter();
        if (readEnd >= 0)
            ::close(readEnd);
    }
    void write(const std::vector<input_event> &events) const { writeBytes(events.data(), events.size() * sizeof(input_event)); }
    void writeBytes(const void *bytes, std::size_t size) const { ASSERT_EQ(::write(writeEnd, bytes, size), ssize_t(size)); }
    void closeWriter()
    {
        if (writeEnd >= 0)
            ::close(writeEnd);
        writeEnd = -1;
    }
    // Hands the read end to someone who closes it.
    int release()
    {
        const int fd = readEnd;
        readEnd = -1;
        return fd;
    }
};

std::vector<std::pair<std::uint16_t, std::int32_t>> drain(EvdevRecordReader &reader, EvdevRecordReader::Status expected)
{
    std::vector<std::pair<std::uint16_t, std::int32_t>> seen;
    const auto status = reader.readAvailable([&](const input_event &event) {
        if (event.type == EV_KEY)
            seen.emplace_back(event.code, event.value);
    });
    EXPECT_EQ(status, expected);
    return seen;
}

using Seen = std::vector<std::pair<std::uint16_t, std::int32_t>>;

// Collects what a reader thread hands over, and on which thread.
struct Collector {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<RawInputEvent> events;
    std::vector<std::string> threadNames;

    InputEventSource::Handler handler()
    {
        return [this](const RawInputEvent &event) {
            char name[16] = {};
            pthread_getname_np(pthread_self(), name, sizeof name);
            std::lock_guard lock(mutex);
            events.push_back(event);
            threadNames.emplace_back(name);
            arrived.notify_all();
        };
    }
    bool waitFor(std::size_t count)
    {
        std::unique_lock lock(mutex);
        return arrived.wait_for(lock, 10s, [&] { return events.size() >= count; });
    }
};

}

TEST(EvdevRecordReader, DeliversPressReleaseAndRepeat)
{
    Pipe pipe;
    EvdevRecordReader reader(pipe.readEnd);
    pipe.write({key(KEY_A, 1), report(), key(KEY_A, 2), report(), key(KEY_A, 0), report()});
    EXPECT_EQ(drain(reader, EvdevRecordReader::Status::drained), (Seen{{KEY_A, 1}, {KEY_A, 2}, {KEY_A, 0}}));
}

TEST(EvdevRecordReader, JoinsRecordsSplitAcrossReads)
{
    Pipe pipe;
    EvdevRecordReader reader(pipe.readEnd);
    const input_event events[2] = {key(KEY_B, 1), key(KEY_B, 0)};
    const auto *bytes = reinterpret_cast<const unsigned char *>(events);
    const std::size_t split = sizeof(input_event) / 2 + 3;

    pipe.writeBytes(bytes, split);
    EXPECT_TRUE(drain(reader, EvdevRecordReader::Status::drained).empty());
    pipe.writeBytes(bytes + split, sizeof(input_event));
    EXPECT_EQ(drain(reader, EvdevRecordReader::Status::drained), (Seen{{KEY_B, 1}}));
    pipe.writeBytes(bytes + split + sizeof(input_event), sizeof events - split - sizeof(input_event));
    EXPECT_EQ(drain(reader, EvdevRecordReader::Status::drained), (Seen{{KEY_B, 0}}));
}

TEST(EvdevRecordReader, SkipsWhatFollowsSynDroppedUpToTheNextReport)
{
    Pipe pipe;
    EvdevRecordReader reader(pipe.readEnd);
    pipe.write({key(KEY_C, 1), report(), record(EV_SYN, SYN_DROPPED, 0), key(KEY_D, 1), key(KEY_D, 0)});
    EXPECT_EQ(drain(reader, EvdevRecordReader::Status::drained), (Seen{{KEY_C, 1}}));
    // The drop lasts across reads until its report.
    pipe.write({key(KEY_E, 1), report(), key(KEY_F, 1), report()});
    EXPECT_EQ(drain(reader, EvdevRecordReader::Status::drained), (Seen{{KEY_F, 1}}));
}

TEST(EvdevRecordReader, ReportsTheEndOfTheDevice)
{
    Pipe pipe;
    EvdevRecordReader reader(pipe.readEnd);
    pipe.write({key(KEY_G, 1)});
    pipe.closeWriter();
    EXPECT_EQ(drain(reader, EvdevRecordReader::Status::closed), (Seen{{KEY_G, 1}}));
}

TEST(EvdevReaderThread, HandsClassKeysOverOnItsOwnNamedThread)
{
    Pipe first;
    Pipe second;
    Collector collector;
    EvdevReaderThread reader(QStringLiteral("local.knockwell.keyboard"), InputDeviceClass::keyboard);
    ASSERT_TRUE(reader.start({{first.release(), "/dev/input/event1"}, {second.release(), "/dev/input/event2"}},
                             nullptr, collector.handler()));

    first.write({key(KEY_H, 1), report(), record(EV_KEY, BTN_LEFT, 1), record(EV_REL, REL_X, 4), report()});
    ASSERT_TRUE(collector.waitFor(1));
    second.write({key(KEY_J, 1), report()});
    ASSERT_TRUE(collector.waitFor(2));
    // A device that goes away leaves the others running.
    first.closeWriter();
    second.write({key(KEY_J, 0), report()});
    ASSERT_TRUE(collector.waitFor(3));
    reader.stop();

    std::lock_guard lock(collector.mutex);
    ASSERT_EQ(collector.events.size(), 3u);
    EXPECT_EQ(collector.events[0].code, KEY_H);
    EXPECT_EQ(collector.events[1].code, KEY_J);
    EXPECT_EQ(collector.events[2].value, 0);
    for (const auto &name : collector.threadNames)
        EXPECT_EQ(name, "kw.keyboard");
}

TEST(EvdevReaderThread, MouseReaderKeepsOnlyButtons)
{
    Pipe pipe;
    Collector collector;
    EvdevReaderThread reader(QStringLiteral("local.knockwell.mouse"), InputDeviceClass::mouse);
    ASSERT_TRUE(reader.start({{pipe.release(), "/dev/input/event3"}}, nullptr, collector.handler()));
    pipe.write({key(KEY_A, 1), record(EV_KEY, BTN_TOUCH, 1), record(EV_KEY, BTN_RIGHT, 1), report()});
    ASSERT_TRUE(collector.waitFor(1));
    reader.stop();
    std::lock_guard lock(collector.mutex);
    ASSERT_EQ(collector.events.size(), 1u);
    EXPECT_EQ(collector.events[0].code, BTN_RIGHT);
}

namespace {

// Hot-plug notices through a pipe: each byte written announces the next prepared change.
class PipeWatcher final : public EvdevDeviceWatcher {
public:
    Pipe notices;
    std::mutex mutex;
    std::vector<EvdevDeviceChange> pending;
    std::map<QString, int> openable;

    int fd() const override { return notices.readEnd; }
    std::vector<EvdevDeviceChange> receive() override
    {
        char byte;
        while (::read(notices.readEnd, &byte, 1) == 1) {
        }
        std::lock_guard lock(mutex);
        return std::exchange(pending, {});
    }
    UniqueFd open(const QString &node) override
    {
        std::lock_guard lock(mutex);
        const auto found = openable.find(node);
        return UniqueFd(found == openable.end() ? -1 : std::exchange(found->second, -1));
    }
    void announce(EvdevDeviceChange change)
    {
        {
            std::lock_guard lock(mutex);
            pending.push_back(std::move(change));
        }
        notices.writeBytes("x", 1);
    }
};

}

TEST(EvdevReaderThread, PicksUpPluggedDevicesAndDropsRemovedOnes)
{
    Pipe plugged;
    Pipe builtIn;
    // Kept open here so that writing after the reader closed its end raises no SIGPIPE.
    const int builtInKept = dup(builtIn.readEnd);
    auto watcher = std::make_unique<PipeWatcher>();
    PipeWatcher *notices = watcher.get();
    fcntl(notices->notices.readEnd, F_SETFL, O_NONBLOCK);
    notices->openable[QStringLiteral("/dev/input/event9")] = plugged.release();
    Collector collector;
    EvdevReaderThread reader(QStringLiteral("local.knockwell.keyboard"), InputDeviceClass::keyboard);
    ASSERT_TRUE(reader.start({{builtIn.release(), "/dev/input/event0"}}, std::move(watcher), collector.handler()));

    notices->announce({EvdevDeviceChange::Kind::added, QStringLiteral("/dev/input/event9")});
    // Unreadable or unwanted devices are passed over.
    notices->announce({EvdevDeviceChange::Kind::added, QStringLiteral("/dev/input/event10")});
    plugged.write({key(KEY_K, 1), report()});
    ASSERT_TRUE(collector.waitFor(1));

    notices->announce({EvdevDeviceChange::Kind::removed, QStringLiteral("/dev/input/event0")});
    // Once removed, its records are no longer read; the plugged device still is.
    builtIn.write({key(KEY_L, 1), report()});
    plugged.write({key(KEY_M, 1), report()});
    ASSERT_TRUE(collector.waitFor(2));
    reader.stop();

    std::lock_guard lock(collector.mutex);
    ASSERT_EQ(collector.events.size(), 2u);
    EXPECT_EQ(collector.events[0].code, KEY_K);
    EXPECT_EQ(collector.events[1].code, KEY_M);
    ::close(builtInKept);
}

TEST(EvdevReaderThread, StopsPromptlyWhileIdleAndCanStopTwice)
{
    Pipe pipe;
    Collector collector;
    EvdevReaderThread reader(QStringLiteral("local.knockwell.keyboard"), InputDeviceClass::keyboard);
    ASSERT_TRUE(reader.start({{pipe.release(), "/dev/input/event1"}}, nullptr, collector.handler()));
    reader.stop();
    reader.stop();
    EXPECT_TRUE(collector.events.empty());
}

TEST(EvdevReaderThread, KeysDeliveredBeforeTheStopAreStillHandled)
{
    Pipe busy;
    Pipe waiting;
    std::mutex gateMutex;
    std::condition_variable gateOpened;
    bool open = false;
    Collector collector;
    const InputEventSource::Handler collect = collector.handler();
    EvdevReaderThread reader(QStringLiteral("local.knockwell.keyboard"), InputDeviceClass::keyboard);
    ASSERT_TRUE(reader.start({{busy.release(), "/dev/input/event1"}, {waiting.release(), "/dev/input/event2"}}, nullptr,
                             [&](const RawInputEvent &event) {
                                 collect(event);
                                 std::unique_lock lock(gateMutex);
                                 gateOpened.wait(lock, [&] { return open; });
                             }));
    // The reader is held inside its first key while the second device delivers and the stop
    // comes: both are pending when it next looks.
    busy.write({key(KEY_A, 1), report()});
    ASSERT_TRUE(collector.waitFor(1));
    waiting.write({key(KEY_B, 1), report(), key(KEY_B, 0), report()});
    std::thread stopper([&] { reader.stop(); });
    std::this_thread::sleep_for(100ms);
    {
        std::lock_guard lock(gateMutex);
        open = true;
    }
    gateOpened.notify_all();
    stopper.join();

    std::lock_guard lock(collector.mutex);
    ASSERT_EQ(collector.events.size(), 3u);
    EXPECT_EQ(collector.events[1].code, KEY_B);
    EXPECT_EQ(collector.events[2].value, 0);
}
