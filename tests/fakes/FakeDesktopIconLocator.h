#pragma once

#include "Platform/DesktopIconLocator.h"

#include <QMutex>
#include <QMutexLocker>

// Icon frames the test sets; read on whatever thread asks, as the real locator is.
class FakeDesktopIconLocator final : public DesktopIconLocator {
public:
    QHash<QString, QRectF> positions() override
    {
        const QMutexLocker lock(&m_mutex);
        return m_frames;
    }
    void setFrames(QHash<QString, QRectF> frames)
    {
        const QMutexLocker lock(&m_mutex);
        m_frames = std::move(frames);
    }

private:
    QMutex m_mutex;
    QHash<QString, QRectF> m_frames;
};
