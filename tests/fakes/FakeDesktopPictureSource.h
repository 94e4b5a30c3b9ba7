#pragma once

#include "Platform/DesktopPictureSource.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

// A desktop picture the test names. Asked on a worker thread; while held, answers wait until
// the test releases them, so the test acts while the work is in flight.
class FakeDesktopPictureSource final : public DesktopPictureSource {
public:
    QString pictureFile() const override
    {
        std::unique_lock lock(m_mutex);
        ++m_asked;
        const QString answer = m_file;
        m_released.wait_for(lock, std::chrono::seconds(10), [this] { return !m_held; });
        return answer;
    }
    void setFile(const QString &file)
    {
        std::lock_guard lock(m_mutex);
        m_file = file;
    }
    int asked() const
    {
        std::lock_guard lock(m_mutex);
        return m_asked;
    }
    void hold(bool held)
    {
        {
            std::lock_guard lock(m_mutex);
            m_held = held;
        }
        m_released.notify_all();
    }

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_released;
    QString m_file;
    bool m_held = false;
    mutable int m_asked = 0;
};
