#include "Platform/Linux/SdlAudioOutput.h"

#include "Foundation/DynamicLibrary.h"
#include "Foundation/LogCategories.h"
#include "Foundation/SerialQueue.h"

#include <SDL.h>

#include <algorithm>
#include <bit>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace {

constexpr int fallbackSampleRate = 48000;

// SDL, and the sound, display and input libraries it brings along, are loaded the first time
// this road is tried: a desktop with a sound server never gets this far.
struct SdlLibrary {
    decltype(&SDL_SetHint) setHint = nullptr;
    decltype(&SDL_InitSubSystem) initSubSystem = nullptr;
    decltype(&SDL_QuitSubSystem) quitSubSystem = nullptr;
    decltype(&SDL_GetError) getError = nullptr;
    decltype(&SDL_GetDefaultAudioInfo) getDefaultAudioInfo = nullptr;
    decltype(&SDL_GetCurrentAudioDriver) getCurrentAudioDriver = nullptr;
    decltype(&SDL_OpenAudioDevice) openAudioDevice = nullptr;
    decltype(&SDL_PauseAudioDevice) pauseAudioDevice = nullptr;
    decltype(&SDL_CloseAudioDevice) closeAudioDevice = nullptr;
    decltype(&SDL_GetAudioDeviceStatus) getAudioDeviceStatus = nullptr;
    decltype(&SDL_GetNumAudioDrivers) getNumAudioDrivers = nullptr;
    decltype(&SDL_GetAudioDriver) getAudioDriver = nullptr;
};

const std::expected<SdlLibrary, QString> &sdlLibrary()
{
    static const auto loaded =
        DynamicLibrary::load<SdlLibrary>("libSDL2-2.0.so.0", [](DynamicLibrary &library, SdlLibrary &sdl) {
            library.bind(sdl.setHint, "SDL_SetHint");
            library.bind(sdl.initSubSystem, "SDL_InitSubSystem");
            library.bind(sdl.quitSubSystem, "SDL_QuitSubSystem");
            library.bind(sdl.getError, "SDL_GetError");
            library.bind(sdl.getDefaultAudioInfo, "SDL_GetDefaultAudioInfo");
            library.bind(sdl.getCurrentAudioDriver, "SDL_GetCurrentAudioDriver");
            library.bind(sdl.openAudioDevice, "SDL_OpenAudioDevice");
            library.bind(sdl.pauseAudioDevice, "SDL_PauseAudioDevice");
            library.bind(sdl.closeAudioDevice, "SDL_CloseAudioDevice");
            library.bind(sdl.getAudioDeviceStatus, "SDL_GetAudioDeviceStatus");
            library.bind(sdl.getNumAudioDrivers, "SDL_GetNumAudioDrivers");
            library.bind(sdl.getAudioDriver, "SDL_GetAudioDriver");
        });
    return loaded;
}

// Only reached once the subsystem started, which takes the library.
const SdlLibrary &sdl()
{
    return *sdlLibrary();
}

// SDL's audio is one for the process, and its calls are not safe to make from several threads
// at once: they run one at a time on a thread of their own. The thread is never joined, since
// it may still be inside SDL, waiting on a server that never answers, when the process ends.
struct SdlAudio {
    SerialQueue thread{QStringLiteral("local.plinkly.sdl"), SerialQueue::Priority::userInitiated};
    // Set while a call given up as silent is still inside SDL: every other call fails at once.
    std::atomic<bool> stuck{false};
    // What the log calls SDL: its driver once one started.
    std::mutex partyMutex;
    QString party = QStringLiteral("SDL's audio");
    // SDL's thread only.
    bool started = false;
    SoundServers avoided;
    int devicesOpen = 0;

    QString currentParty()
    {
        std::lock_guard lock(partyMutex);
        return party;
    }
};

SdlAudio &sdlAudio()
{
    static auto *audio = new SdlAudio;
    return *audio;
}

std::optional<SoundServer> serverOfDriver(const QString &driver)
{
    if (driver == QLatin1String("pulseaudio"))
        return SoundServer::pulseAudio;
    if (driver == QLatin1String("pipewire"))
        return SoundServer::pipeWire;
    return std::nullopt;
}

// On SDL's thread: SDL's audio started, through a driver that reaches none of the `avoided`
// servers where the user left the choice to us. Started earlier through a driver for a server
// found silent since, it starts again without it while no device of its is open.
OpenResult<void> startAudio(const SoundServers &avoided)
{
    if (!sdlLibrary())
        return std::unexpected(TimedOpen::error(OpenFailure::unavailable, QStringLiteral("SDL"), sdlLibrary().error()));
    SdlAudio &audio = sdlAudio();
    const bool steered = qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER");
    if (audio.started && steered && audio.devicesOpen == 0) {
        const auto reached = serverOfDriver(QString::fromUtf8(sdl().getCurrentAudioDriver()));
        if (reached && avoided.contains(*reached)) {
            sdl().quitSubSystem(SDL_INIT_AUDIO);
            audio.started = false;
        }
    }
    if (audio.started)
        return {};
    // SDL's audio brings up its event layer, which would otherwise take over SIGINT and
    // SIGTERM and leave the application deaf to them.
    sdl().setHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (steered) {
        QStringList drivers;
        for (int i = 0; i < sdl().getNumAudioDrivers(); ++i)
            drivers << QString::fromUtf8(sdl().getAudioDriver(i));
        const QString wanted = SdlAudioOutput::driversAvoiding(drivers, avoided);
        if (!wanted.isEmpty())
            qCInfo(logAudio).noquote() << "SDL tries the drivers" << wanted << "and not those of silent servers";
        sdl().setHint(SDL_HINT_AUDIODRIVER, wanted.toUtf8().constData());
    }
    // A failed start (no sound server yet) is tried again on the next call.
    if (sdl().initSubSystem(SDL_INIT_AUDIO) != 0)
        return std::unexpected(
            TimedOpen::error(OpenFailure::unavailable, QStringLiteral("SDL's audio"), QString::fromUtf8(sdl().getError())));
    audio.started = true;
    std::lock_guard lock(audio.partyMutex);
    audio.party = QStringLiteral("SDL's %1 driver").arg(QString::fromUtf8(sdl().getCurrentAudioDriver()));
    return {};
}

int defaultDeviceRate()
{
    SDL_AudioSpec deviceFormat{};
    if (sdl().getDefaultAudioInfo(nullptr, &deviceFormat, 0) == 0 && deviceFormat.freq > 0)
        return deviceFormat.freq;
    return fallbackSampleRate;
}

std::chrono::nanoseconds steadyNow()
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

// Sound servers buffer what a client writes, so a buffer of this length still keeps the
// key-to-server delay low while leaving room for the client thread's scheduling.
constexpr int soundServerBufferFrames = 512;

// While a new stream starts, the driver's first writes wait for the server to take them in;
// a sound server was seen holding the second call back by over a second without running dry.
constexpr int startupCalls = 3;

void SDLCALL renderCallback(void *userdata, Uint8 *stream, int length)
{
    auto *callback = static_cast<SdlAudioOutput::Callback *>(userdata);
    const auto now = std::chrono::steady_clock::now();
    // A call this long after the previous one left the stream without sound in between.
    if (++callback->calls > startupCalls && now - callback->last > callback->lateAfter)
        callback->underruns.fetch_add(1, std::memory_order_relaxed);
    callback->last = now;
    callback->renderer->render(reinterpret_cast<float *>(stream), length / int(2 * sizeof(float)));
}

} // namespace

struct SdlAudioOutput::Waiting {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
    bool givenUp = false;
};

SdlAudioOutput::SdlAudioOutput() = default;

SdlAudioOutput::~SdlAudioOutput()
{
    close();
}

template <typename T, typename Work, typename Discard>
OpenResult<T> SdlAudioOutput::onSdlThread(Work work, Discard discard)
{
    SdlAudio &audio = sdlAudio();
    if (m_timed.isAbandoned())
        return std::unexpected(TimedOpen::error(OpenFailure::abandoned, {}));
    if (audio.stuck.load(std::memory_order_acquire))
        return std::unexpected(
            TimedOpen::error(OpenFailure::silent, audio.currentParty(), QStringLiteral("an earlier call still waits")));
    auto waiting = std::make_shared<Waiting>();
    auto result = std::make_shared<std::optional<OpenResult<T>>>();
    {
        std::lock_guard lock(m_waitingMutex);
        m_waiting = waiting;
    }
    audio.thread.async([waiting, result, work = std::move(work), discard = std::move(discard)] {
        OpenResult<T> outcome = work();
        bool givenUp = false;
        {
            std::lock_guard lock(waiting->mutex);
            givenUp = waiting->givenUp;
            waiting->done = true;
            if (!givenUp)
                *result = std::move(outcome);
        }
        waiting->changed.notify_all();
        if (givenUp) {
            if (outcome)
                discard(*outcome);
            sdlAudio().stuck.store(false, std::memory_order_release);
        }
    });
    std::unique_lock lock(waiting->mutex);
    const auto failure = m_timed.wait(
        TimedOpen::deadlineFrom(steadyNow()), [&] { return waiting->done; }, [] { return false; },
        [&](std::chrono::nanoseconds deadline) {
            const auto until = std::chrono::steady_clock::time_point(
                std::chrono::duration_cast<std::chrono::steady_clock::duration>(deadline));
            return waiting->changed.wait_until(lock, until) == std::cv_status::no_timeout;
        });
    if (!failure)
        return std::move(**result);
    // Set while the call cannot yet have seen it, so its end clears it. A call abandoned for a
    // quit has not been waited on for long: the calls after it queue behind it.
    waiting->givenUp = true;
    if (*failure == OpenFailure::silent)
        audio.stuck.store(true, std::memory_order_release);
    return std::unexpected(TimedOpen::error(*failure, audio.currentParty()));
}

int SdlAudioOutput::bufferFramesFor(const QString &driver, int requestedFrames, std::chrono::microseconds margin,
                                    int rate)
{
    const bool server = serverOfDriver(driver).has_value();
    const int base = server ? std::max(requestedFrames, soundServerBufferFrames) : requestedFrames;
    // SDL 2.26 writes past its buffer when the length is not a power of two; rounding down
    // keeps the margin within what was asked for.
    const auto withMargin = unsigned(base + std::int64_t(margin.count()) * rate / 1'000'000);
    return std::max(base, int(std::bit_floor(withMargin)));
}

QString SdlAudioOutput::driversAvoiding(const QStringList &available, const SoundServers &silent)
{
    if (silent.empty())
        return {};
    QStringList wanted;
    for (const QString &driver : available) {
        const auto reached = serverOfDriver(driver);
        const bool onDemand = driver == QLatin1String("disk") || driver == QLatin1String("dummy");
        if (!onDemand && !(reached && silent.contains(*reached)))
            wanted << driver;
    }
    return wanted.join(QLatin1Char(','));
}

bool SdlAudioOutput::setMargin(std::chrono::microseconds margin)
{
    m_margin = margin;
    return m_device == 0;
}

OpenResult<int> SdlAudioOutput::preferredSampleRate()
{
    return onSdlThread<int>(
        [avoided = m_avoided]() -> OpenResult<int> {
            if (auto started = startAudio(avoided); !started)
                return std::unexpected(started.error());
            return defaultDeviceRate();
        },
        [](int) {});
}

OpenResult<AudioOutput::Format> SdlAudioOutput::open(int requestedBufferFrames, AudioRenderer &renderer)
{
    close();
    m_callback.renderer = &renderer;
    m_callback.last = {};
    m_callback.calls = 0;
    m_callback.underruns.store(0, std::memory_order_relaxed);
    struct Opened {
        SDL_AudioDeviceID device = 0;
        int rate = 0;
        int frames = 0;
        QString driver;
    };
    const auto opened = onSdlThread<Opened>(
        [avoided = m_avoided, requestedBufferFrames, margin = m_margin, callback = &m_callback]() -> OpenResult<Opened> {
            if (auto started = startAudio(avoided); !started)
                return std::unexpected(started.error());
            const int rate = defaultDeviceRate();
            const QString driver = QString::fromUtf8(sdl().getCurrentAudioDriver());
            SDL_AudioSpec wanted{};
            wanted.freq = rate;
            wanted.format = AUDIO_F32SYS;
            wanted.channels = 2;
            wanted.samples = Uint16(bufferFramesFor(driver, requestedBufferFrames, margin, rate));
            wanted.callback = renderCallback;
            wanted.userdata = callback;
            SDL_AudioSpec obtained{};
            // Format and channel count are fixed (SDL converts if it must); rate and buffer
            // length are whatever the device prefers. Opened paused.
            const SDL_AudioDeviceID device = sdl().openAudioDevice(
                nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
            if (device == 0)
                return std::unexpected(TimedOpen::error(OpenFailure::failed, sdlAudio().currentParty(),
                                                        QString::fromUtf8(sdl().getError())));
            ++sdlAudio().devicesOpen;
            return Opened{device, obtained.freq, obtained.samples, driver};
        },
        // Nothing was rendered into a device nobody waits for any more.
        [](const Opened &late) {
            sdl().closeAudioDevice(late.device);
            --sdlAudio().devicesOpen;
        });
    if (!opened) {
        if (opened.error().failure != OpenFailure::abandoned)
            qCInfo(logAudio).noquote() << "no audio device opened through SDL:" << opened.error().message;
        return std::unexpected(opened.error());
    }
    qCInfo(logAudio) << "audio device opened through the" << opened->driver << "driver at" << opened->rate
                     << "Hz, buffer of" << opened->frames << "frames";
    m_device = opened->device;
    // The file and null drivers have no clock of their own that could run dry.
    const bool realTime = opened->driver != QLatin1String("disk") && opened->driver != QLatin1String("dummy");
    // A server holds about one buffer ahead; a call a quarter of a buffer late was seen to find
    // it empty.
    m_callback.lateAfter = realTime
        ? std::chrono::steady_clock::duration(
              std::chrono::nanoseconds(1'250'000'000LL * opened->frames / std::max(opened->rate, 1)))
        : std::chrono::steady_clock::duration::max();
    return Format{opened->rate, opened->frames};
}

void SdlAudioOutput::resume()
{
    if (m_device != 0)
        sdl().pauseAudioDevice(m_device, 0);
}

void SdlAudioOutput::close()
{
    if (m_device == 0)
        return;
    const SDL_AudioDeviceID device = std::exchange(m_device, 0);
    // Waits for a running callback to return. On SDL's thread, unless a call given up still
    // holds it: the renderer must not be reached once this returns.
    const auto closeDevice = [device] {
        sdl().closeAudioDevice(device);
        --sdlAudio().devicesOpen;
    };
    if (sdlAudio().stuck.load(std::memory_order_acquire))
        closeDevice();
    else
        sdlAudio().thread.sync(closeDevice);
}

bool SdlAudioOutput::isLost() const
{
    return m_device != 0 && sdl().getAudioDeviceStatus(m_device) == SDL_AUDIO_STOPPED;
}

void SdlAudioOutput::abandonOpens(bool abandoned)
{
    m_timed.abandon(abandoned);
    std::lock_guard lock(m_waitingMutex);
    if (m_waiting) {
        // Taken, so a wait that just saw it not abandoned is asleep before it is woken.
        { std::lock_guard waitingLock(m_waiting->mutex); }
        m_waiting->changed.notify_all();
    }
}
