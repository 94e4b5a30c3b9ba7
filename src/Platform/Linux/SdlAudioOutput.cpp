#include "Platform/Linux/SdlAudioOutput.h"

#include "Foundation/DynamicLibrary.h"
#include "Foundation/LogCategories.h"

#include <SDL.h>

#include <algorithm>
#include <bit>
#include <mutex>

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

// SDL's audio calls are not safe to make from several threads at once, and every engine
// drives its output from its own queue.
std::mutex &sdlMutex()
{
    static std::mutex mutex;
    return mutex;
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
    std::lock_guard lock(sdlMutex());
    if (m_subsystemReady)
        sdl().quitSubSystem(SDL_INIT_AUDIO);
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
    std::lock_guard lock(sdlMutex());
    m_margin = margin;
    return m_device == 0;
}

int SdlAudioOutput::preferredSampleRate()
{
    std::lock_guard lock(sdlMutex());
    SDL_AudioSpec deviceFormat{};
    if (!ensureSubsystem() || sdl().getDefaultAudioInfo(nullptr, &deviceFormat, 0) != 0 || deviceFormat.freq <= 0)
        return fallbackSampleRate;
    return deviceFormat.freq;
}

Result<AudioOutput::Format> SdlAudioOutput::open(int requestedBufferFrames, AudioRenderer &renderer)
{
    close();
    std::lock_guard lock(sdlMutex());
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
    SDL_AudioSpec obtained{};
    // Format and channel count are fixed (SDL converts if it must); rate and buffer length
    // are whatever the device prefers.
    const SDL_AudioDeviceID device = sdl().openAudioDevice(
        nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (device == 0) {
        qCInfo(logAudio) << "no audio device opened through the" << sdl().getCurrentAudioDriver() << "driver:" << sdl().getError();
        return failure(sdlDomain, 2, QString::fromUtf8(sdl().getError()));
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
    std::lock_guard lock(sdlMutex());
    if (m_device != 0)
        sdl().pauseAudioDevice(m_device, 0);
}

void SdlAudioOutput::close()
{
    std::lock_guard lock(sdlMutex());
    if (m_device == 0)
        return;
    // Waits for a running callback to return.
    sdl().closeAudioDevice(m_device);
    m_device = 0;
}

bool SdlAudioOutput::isLost() const
{
    std::lock_guard lock(sdlMutex());
    return m_device != 0 && sdl().getAudioDeviceStatus(m_device) == SDL_AUDIO_STOPPED;
}
