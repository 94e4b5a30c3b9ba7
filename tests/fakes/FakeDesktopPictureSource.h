#pragma once

#include "Platform/DesktopPictureSource.h"

#include <QDeadlineTimer>
#include <QMutex>
#include <QWaitCondition>

// A desktop picture the test names. Asked on a worker thread; while held, answers wait until
// the test releases them, so the test acts while the work is in flight.
class FakeDesktopPictureSource final : public DesktopPictureSource {
public:
    QString pictureFile() const override
    {
        QMutexLocker lock(&m_mutex);
        ++m_asked;
        const QString answer = m_file;
        const QDeadlineTimer limit(10000);
        while (m_held && !limit.hasExpired())
            m_released.wait(&m_mutex, limit);
        return answer;
    }
    void setFile(const QString &file)
    {
        QMutexLocker lock(&m_mutex);
        m_file = file;
    }
    int asked() const
    {
        QMutexLocker lock(&m_mutex);
        return m_asked;
    }
    void hold(bool held)
    {
        QMutexLocker lock(&m_mutex);
        m_held = held;
        m_released.wakeAll();
    }

private:
    mutable QMutex m_mutex;
    mutable QWaitCondition m_released;
    QString m_file;
    bool m_held = false;
    mutable int m_asked = 0;
};
