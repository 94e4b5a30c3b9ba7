#include "Platform/AudioOutputLadder.h"

#include "Foundation/LogCategories.h"
#include "Platform/TimedOpen.h"

#include <QStringList>

#include <utility>

namespace {
QString partyOf(SoundServer server)
{
    return server == SoundServer::pipeWire ? QStringLiteral("the PipeWire server") : QStringLiteral("the PulseAudio server");
}
}

AudioOutputLadder::AudioOutputLadder(std::vector<Road> roads) : m_roads(std::move(roads)) {}

AudioOutputLadder::~AudioOutputLadder()
{
    close();
}

template <typename T>
OpenResult<std::pair<std::size_t, T>> AudioOutputLadder::tryRoads(const char *asking,
                                                                  const std::function<OpenResult<T>(AudioOutput &)> &step)
{
    std::vector<std::size_t> order;
    if (m_last && !m_lastWasLost)
        order.push_back(*m_last);
    for (std::size_t i = 0; i < m_roads.size(); ++i) {
        if (order.empty() || order.front() != i)
            order.push_back(i);
    }
    SoundServers silent;
    QStringList passedOver;
    for (std::size_t k = 0; k < order.size(); ++k) {
        // An abandoned attempt does not go on to the next road.
        if (m_abandoned.load(std::memory_order_acquire))
            return std::unexpected(TimedOpen::error(OpenFailure::abandoned, {}));
        Road &road = m_roads[order[k]];
        const std::optional<SoundServer> server = road.output->server();
        OpenResult<T> result = std::unexpected(OpenError{});
        if (server && silent.contains(*server)) {
            result = std::unexpected(TimedOpen::error(OpenFailure::avoided, partyOf(*server)));
        } else {
            road.output->avoidServers(silent);
            result = step(*road.output);
        }
        if (result) {
            if (!passedOver.isEmpty())
                qCInfo(logAudio).noquote() << road.name << asking << "after passing over" << passedOver.join(QStringLiteral("; "));
            return std::pair{order[k], *result};
        }
        const OpenError &error = result.error();
        if (error.failure == OpenFailure::abandoned)
            return std::unexpected(error);
        if (server && error.failure == OpenFailure::silent)
            silent.insert(*server);
        passedOver << QStringLiteral("%1: %2").arg(road.name, error.message);
        // Said as it happens: a silent server has already held the sound back for its time.
        qCInfo(logAudio).noquote() << QStringLiteral("%1: %2;").arg(road.name, error.message)
                                   << (k + 1 < order.size() ? QStringLiteral("trying %1").arg(m_roads[order[k + 1]].name)
                                                            : QStringLiteral("no road is left"));
    }
    return std::unexpected(OpenError{OpenFailure::failed, passedOver.join(QStringLiteral("; "))});
}

OpenResult<int> AudioOutputLadder::preferredSampleRate()
{
    const auto rate = tryRoads<int>("tells the rate", [](AudioOutput &output) { return output.preferredSampleRate(); });
    if (!rate)
        return std::unexpected(rate.error());
    // Sounds are prepared at that road's rate: the next open tries it first.
    if (!m_open) {
        m_last = rate->first;
        m_lastWasLost = false;
    }
    return rate->second;
}

OpenResult<AudioOutput::Format> AudioOutputLadder::open(int requestedBufferFrames, AudioRenderer &renderer)
{
    close();
    const auto opened = tryRoads<Format>("plays", [&](AudioOutput &output) {
        output.setMargin(m_margin);
        return output.open(requestedBufferFrames, renderer);
    });
    if (!opened) {
        if (opened.error().failure != OpenFailure::abandoned)
            qCInfo(logAudio).noquote() << "no road to sound opened:" << opened.error().message;
        return std::unexpected(opened.error());
    }
    m_last = opened->first;
    m_open = true;
    m_lastWasLost = false;
    if (std::exchange(m_played, m_last) != m_last)
        qCInfo(logAudio).noquote() << "sound goes through" << m_roads[*m_last].name;
    return opened->second;
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
