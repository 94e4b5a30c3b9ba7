#include "Platform/Linux/EvdevRecordReader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

EvdevRecordReader::EvdevRecordReader(int fd)
    : m_fd(fd)
{
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

EvdevRecordReader::Status EvdevRecordReader::readAvailable(const Sink &sink)
{
    constexpr std::size_t recordSize = sizeof(input_event);
    alignas(input_event) unsigned char buffer[recordSize * 64];
    for (;;) {
        std::memcpy(buffer, m_pending, m_pendingBytes);
        const ssize_t count = ::read(m_fd, buffer + m_pendingBytes, sizeof(buffer) - m_pendingBytes);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN)
                return Status::drained;
            return errno == ENODEV ? Status::closed : Status::failed;
        }
        if (count == 0)
            return Status::closed;
        const std::size_t total = m_pendingBytes + std::size_t(count);
        const std::size_t whole = total / recordSize;
        for (std::size_t i = 0; i < whole; ++i) {
            input_event event;
            std::memcpy(&event, buffer + i * recordSize, recordSize);
            deliver(event, sink);
        }
        m_pendingBytes = total - whole * recordSize;
        std::memcpy(m_pending, buffer + whole * recordSize, m_pendingBytes);
    }
}

void EvdevRecordReader::deliver(const input_event &event, const Sink &sink)
{
    if (event.type == EV_SYN && event.code == SYN_DROPPED) {
        m_dropping = true;
        return;
    }
    if (m_dropping) {
        if (event.type == EV_SYN && event.code == SYN_REPORT)
            m_dropping = false;
        return;
    }
    sink(event);
}
