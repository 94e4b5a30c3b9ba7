#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <new>
#include <utility>

// A fixed ring between exactly one producer thread and one consumer thread, without locks
// or allocation: the real-time audio thread may sit on either end. Slots are reused in place,
// so moving an element in or out never frees anything on its own.
template <typename T, std::size_t Capacity>
class SpscRing {
    static_assert(Capacity >= 2 && (Capacity & (Capacity - 1)) == 0, "capacity must be a power of two");

public:
    // Producer side. False when the ring is full; the element is then left untouched.
    bool push(T &&element) noexcept
    {
        const std::size_t tail = m_tail.load(std::memory_order_relaxed);
        if (tail - m_head.load(std::memory_order_acquire) == Capacity)
            return false;
        m_slots[tail & (Capacity - 1)] = std::move(element);
        m_tail.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer side. False when the ring is empty.
    bool pop(T &element) noexcept
    {
        const std::size_t head = m_head.load(std::memory_order_relaxed);
        if (head == m_tail.load(std::memory_order_acquire))
            return false;
        element = std::move(m_slots[head & (Capacity - 1)]);
        m_head.store(head + 1, std::memory_order_release);
        return true;
    }

    // Either side; a snapshot that may be stale by the time it is used.
    bool empty() const noexcept
    {
        return m_head.load(std::memory_order_acquire) == m_tail.load(std::memory_order_acquire);
    }

    static constexpr std::size_t capacity() { return Capacity; }

private:
    // Head and tail on separate cache lines so the two threads do not fight over one line.
    alignas(64) std::atomic<std::size_t> m_head{0};
    alignas(64) std::atomic<std::size_t> m_tail{0};
    alignas(64) std::array<T, Capacity> m_slots{};
};
