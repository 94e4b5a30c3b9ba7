#include "Platform/AudioOutputLadder.h"

#include "Foundation/LogCategories.h"

#include <QStringList>

AudioOutputLadder::AudioOutputLadder(std::vector<Road> roads) : m_roads(std::move(roads)) {}

AudioOutputLadder::~AudioOutputLadder()
{
    close();
}

int AudioOutputLadder::preferredSampleRate()
{
    if (m_last) {
        if (const int rate = m_roads[*m_last].output->preferredSampleRate(); rate > 0)
            return rate;
    }
    for (Road &road : m_roads) {
        if (const int rate = road.output->preferredSampleRate(); rate > 0)
            return rate;
    }
    return 0;
}

Result<AudioOutput::Format> AudioOutputLadder::open(int requestedBufferFrames, AudioRenderer &renderer)
{
    close();
    std::vector<std::size_t> order;
    if (m_last && !m_lastWasLost)
        order.push_back(*m_last);
    for (std::size_t i = 0; i < m_roads.size(); ++i) {
        if (order.empty() || order.front() != i)
            order.push_back(i);
    }
    const std::optional<std::size_t> previous = m_last;
    QStringList passedOver;
    for (std::size_t i : order) {
        // An abandoned open does not go on to the next road.
        if (m_abandoned.load(std::memory_order_acquire))
            return failure(QStringLiteral("Plinkly.AudioOutput"), 2, QStringLiteral("abandoned"));
        Road &road = m_roads[i];
        road.output->setMargin(m_margin);
        auto format = road.output->open(requestedBufferFrames, renderer);
        if (!format) {
            passedOver << QStringLiteral("%1: %2").arg(road.name, format.error().message);
            continue;
        }
        m_last = i;
        m_open = true;
        m_lastWasLost = false;
        if (previous != m_last || !passedOver.isEmpty()) {
            qCInfo(logAudio).noquote() << "sound goes through" << road.name
                                       << (passedOver.isEmpty() ? QString()
                                                                : QStringLiteral("(passed over %1)").arg(passedOver.join(QStringLiteral("; "))));
        }
        return format;
    }
    const QString reasons = passedOver.join(QStringLiteral("; "));
    qCInfo(logAudio).noquote() << "no road to sound opened:" << reasons;
    return failure(QStringLiteral("Plinkly.AudioOutput"), 1, reasons);
}

void AudioOutputLadder::resume()
{
    if (m_open)
        m_roads[*m_last].output->resume();
}

void AudioOutputLadder::soundPosted()
{
    if (m_open)
        m_roads[*m_last].output->soundPosted();
}

void AudioOutputLadder::close()
{
    if (!m_open)
        return;
    Road &road = m_roads[*m_last];
    m_lastWasLost = road.output->isLost();
    if (m_lastWasLost)
        qCInfo(logAudio).noquote() << "the stream through" << road.name << "was lost";
    road.output->close();
    m_open = false;
}

bool AudioOutputLadder::isLost() const
{
    return m_open && m_roads[*m_last].output->isLost();
}

int AudioOutputLadder::underruns() const
{
    return m_open ? m_roads[*m_last].output->underruns() : 0;
}

bool AudioOutputLadder::setMargin(std::chrono::microseconds margin)
{
    m_margin = margin;
    return !m_open || m_roads[*m_last].output->setMargin(margin);
}

void AudioOutputLadder::abandonOpens(bool abandoned)
{
    m_abandoned.store(abandoned, std::memory_order_release);
    for (Road &road : m_roads)
        road.output->abandonOpens(abandoned);
}

std::optional<QString> AudioOutputLadder::road() const
{
    return m_last ? std::optional(m_roads[*m_last].name) : std::nullopt;
}
