#pragma once

#include <linux/input.h>

#include <cstddef>
#include <functional>

// Reads whole struct input_event records from an evdev device (or any fd carrying them),
// keeping a partial record until the rest arrives, and leaves out what the kernel marks as
// lost: after SYN_DROPPED everything up to and including the next SYN_REPORT.
class EvdevRecordReader {
public:
    enum class Status { drained, closed, failed };
    using Sink = std::function<void(const input_event &)>;

    // Switches fd to non-blocking reads; the caller keeps ownership of fd.
    explicit EvdevRecordReader(int fd);

    int fd() const { return m_fd; }
    // Reads all the fd holds now. closed: end of file or the device is gone.
    Status readAvailable(const Sink &sink);

private:
    void deliver(const input_event &event, const Sink &sink);

    int m_fd;
    alignas(input_event) unsigned char m_pending[sizeof(input_event)] = {};
    std::size_t m_pendingBytes = 0;
    bool m_dropping = false;
};
