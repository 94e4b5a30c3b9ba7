#include "Platform/Linux/SdlAudioOutput.h"

#include "Foundation/DynamicLibrary.h"
#include "Foundation/LogCategories.h"

#include <SDL.h>

#include <algorithm>
#include <bit>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

constexpr int fallbackSampleRate = 48000;
const QString sdlDomain = QStringLiteral("SDL");

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
        });
    return loaded;
}

// Only reached once the subsystem started, which takes the library.
const SdlLibrary &sdl()
{
    return *sdlLibrary();
}

// How long an open may take before it is given up, as long as the sound servers' roads wait.
constexpr auto openTimeout = std::chrono::seconds(2);

// SDL's audio calls are not safe to make from several threads at once, and every engine
// drives its output from its own queue. SDL's open can block without end (ALSA's default
// device may be a sound server's plugin, which waits on a server that never answers): a call
// that finds SDL still busy after the time an open may take gives SDL's audio up for the
// process, and nothing waits behind it any more.
class SdlGate {
public:
    // Waits for the call before; false once SDL's audio was given up.
    bool try_lock()
    {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, openTimeout, [this] { return !m_busy || m_givenUp; }))
            m_givenUp = true;
        if (m_givenUp)
            return false;
        m_busy = true;
        return true;
    }
    // Without waiting: false while a call is under way.
    bool takeIfFree()
    {
        std::lock_guard lock(m_mutex);
        if (m_busy || m_givenUp)
            return false;
        m_busy = true;
        return true;
    }
    void unlock()
    {
        {
            std::lock_guard lock(m_mutex);
            m_busy = false;
        }
        m_changed.notify_all();
    }
    void giveUp()
    {
        {
            std::lock_guard lock(m_mutex);
            m_givenUp = true;
        }
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_busy = false;
    bool m_givenUp = false;
};

SdlGate &sdlGate()
{
    static SdlGate gate;
    return gate;
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

SdlAudioOutput::SdlAudioOutput() = default;

SdlAudioOutput::~SdlAudioOutput()
{
    close();
    // Not while an abandoned open still runs: the subsystem then stays up until the end.
    if (m_subsystemReady && sdlGate().takeIfFree()) {
        sdl().quitSubSystem(SDL_INIT_AUDIO);
        sdlGate().unlock();
    }
}

bool SdlAudioOutput::ensureSubsystem()
{
    // A failed start (no sound server yet) is tried again on the next call.
    if (!m_subsystemReady && sdlLibrary()) {
        // SDL's audio brings up its event layer, which would otherwise take over SIGINT and
        // SIGTERM and leave the application deaf to them.
        sdl().setHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        m_subsystemReady = sdl().initSubSystem(SDL_INIT_AUDIO) == 0;
    }
    return m_subsystemReady;
}

int SdlAudioOutput::bufferFramesFor(const QString &driver, int requestedFrames, std::chrono::microseconds margin,
                                    int rate)
{
    const bool server = driver == QLatin1String("pulseaudio") || driver == QLatin1String("pipewire");
    const int base = server ? std::max(requestedFrames, soundServerBufferFrames) : requestedFrames;
    // SDL 2.26 writes past its buffer when the length is not a power of two; rounding down
    // keeps the margin within what was asked for.
    const auto withMargin = unsigned(base + std::int64_t(margin.count()) * rate / 1'000'000);
    return std::max(base, int(std::bit_floor(withMargin)));
}

bool SdlAudioOutput::setMargin(std::chrono::microseconds margin)
{
    std::unique_lock lock(sdlGate(), std::try_to_lock);
    m_margin = margin;
    return m_device == 0;
}

int SdlAudioOutput::preferredSampleRate()
{
    std::unique_lock lock(sdlGate(), std::try_to_lock);
    SDL_AudioSpec deviceFormat{};
    if (!lock || !ensureSubsystem() || sdl().getDefaultAudioInfo(nullptr, &deviceFormat, 0) != 0 || deviceFormat.freq <= 0)
        return fallbackSampleRate;
    return deviceFormat.freq;
}

Result<AudioOutput::Format> SdlAudioOutput::open(int requestedBufferFrames, AudioRenderer &renderer)
{
    close();
    std::unique_lock lock(sdlGate(), std::try_to_lock);
    if (!lock)
        return failure(sdlDomain, 3, QStringLiteral("SDL's audio was given up: an earlier open never returned"));
    if (!sdlLibrary()) {
        qCInfo(logAudio).noquote() << "SDL could not be loaded:" << sdlLibrary().error();
        return failure(sdlDomain, 1, sdlLibrary().error());
    }
    if (!ensureSubsystem()) {
        qCInfo(logAudio) << "SDL audio could not start:" << sdl().getError();
        return failure(sdlDomain, 1, QString::fromUtf8(sdl().getError()));
    }

    SDL_AudioSpec deviceFormat{};
    int rate = fallbackSampleRate;
    if (sdl().getDefaultAudioInfo(nullptr, &deviceFormat, 0) == 0 && deviceFormat.freq > 0)
        rate = deviceFormat.freq;

    SDL_AudioSpec wanted{};
    wanted.freq = rate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    const QString driver = QString::fromUtf8(sdl().getCurrentAudioDriver());
    wanted.samples = Uint16(bufferFramesFor(driver, requestedBufferFrames, m_margin, rate));
    wanted.callback = renderCallback;
    wanted.userdata = &m_callback;
    m_callback.renderer = &renderer;
    m_callback.last = {};
    m_callback.calls = 0;
    m_callback.underruns.store(0, std::memory_order_relaxed);
    // The device opens on a thread of its own, which holds the gate until SDL returns.
    auto opening = std::make_shared<Opening>();
    {
        std::lock_guard openingLock(m_openingMutex);
        m_opening = opening;
        opening->abandoned = m_abandoned;
    }
    lock.release();
    std::thread([opening, wanted]() mutable {
        SDL_AudioSpec obtained{};
        // Format and channel count are fixed (SDL converts if it must); rate and buffer length
        // are whatever the device prefers.
        const SDL_AudioDeviceID device = sdl().openAudioDevice(
            nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
        const QString error = device == 0 ? QString::fromUtf8(sdl().getError()) : QString();
        bool stillWanted = false;
        {
            std::lock_guard openingLock(opening->mutex);
            opening->done = true;
            stillWanted = !opening->givenUp;
            opening->device = device;
            opening->rate = obtained.freq;
            opening->frames = obtained.samples;
            opening->error = error;
        }
        opening->changed.notify_all();
        // Opened paused: nothing was rendered into a device nobody waits for any more.
        if (!stillWanted && device != 0)
            sdl().closeAudioDevice(device);
        sdlGate().unlock();
    }).detach();
    std::unique_lock openingLock(opening->mutex);
    opening->changed.wait_for(openingLock, openTimeout, [&] { return opening->done || opening->abandoned; });
    if (!opening->done) {
        opening->givenUp = true;
        openingLock.unlock();
        if (opening->abandoned)
            return failure(sdlDomain, 3, QStringLiteral("abandoned"));
        sdlGate().giveUp();
        const QString reason = QStringLiteral("the %1 driver did not open a device within %2 s")
                                   .arg(QString::fromUtf8(sdl().getCurrentAudioDriver()))
                                   .arg(openTimeout.count());
        qCInfo(logAudio).noquote() << reason << "- SDL's audio is given up";
        return failure(sdlDomain, 4, reason);
    }
    const SDL_AudioDeviceID device = opening->device;
    SDL_AudioSpec obtained{};
    obtained.freq = opening->rate;
    obtained.samples = Uint16(opening->frames);
    const QString error = opening->error;
    openingLock.unlock();
    lock = std::unique_lock(sdlGate(), std::try_to_lock);
    if (!lock) {
        // Abandoned meanwhile by the only other road into SDL: the device is not ours to keep.
        return failure(sdlDomain, 3, QStringLiteral("SDL's audio was given up: an earlier open never returned"));
    }
    if (device == 0) {
        qCInfo(logAudio) << "no audio device opened through the" << sdl().getCurrentAudioDriver() << "driver:" << error;
        return failure(sdlDomain, 2, error);
    }
    qCInfo(logAudio) << "audio device opened through the" << sdl().getCurrentAudioDriver() << "driver at" << obtained.freq
                     << "Hz, buffer of" << obtained.samples << "frames";
    m_device = device;
    // The file and null drivers have no clock of their own that could run dry.
    const bool realTime = driver != QLatin1String("disk") && driver != QLatin1String("dummy");
    // A server holds about one buffer ahead; a call a quarter of a buffer late was seen to find
    // it empty.
    m_callback.lateAfter = realTime
        ? std::chrono::steady_clock::duration(
              std::chrono::nanoseconds(1'250'000'000LL * obtained.samples / std::max(obtained.freq, 1)))
        : std::chrono::steady_clock::duration::max();
    return Format{obtained.freq, obtained.samples};
}

void SdlAudioOutput::resume()
{
    std::unique_lock lock(sdlGate(), std::try_to_lock);
    if (lock && m_device != 0)
        sdl().pauseAudioDevice(m_device, 0);
}

void SdlAudioOutput::close()
{
    if (m_device == 0)
        return;
    std::unique_lock lock(sdlGate(), std::try_to_lock);
    if (!lock)
        return;
    // Waits for a running callback to return.
    sdl().closeAudioDevice(m_device);
    m_device = 0;
}

bool SdlAudioOutput::isLost() const
{
    if (m_device == 0)
        return false;
    std::unique_lock lock(sdlGate(), std::try_to_lock);
    return !lock || sdl().getAudioDeviceStatus(m_device) == SDL_AUDIO_STOPPED;
}

void SdlAudioOutput::abandonOpens(bool abandoned)
{
    std::lock_guard lock(m_openingMutex);
    m_abandoned = abandoned;
    if (m_opening) {
        {
            std::lock_guard openingLock(m_opening->mutex);
            m_opening->abandoned = abandoned;
        }
        m_opening->changed.notify_all();
    }
}
