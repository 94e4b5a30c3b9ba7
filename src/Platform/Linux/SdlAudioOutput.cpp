#include "Platform/Linux/SdlAudioOutput.h"

#include "Foundation/LogCategories.h"

#include <SDL.h>

#include <mutex>

namespace {

constexpr int fallbackSampleRate = 48000;
const QString sdlDomain = QStringLiteral("SDL");

// SDL's audio calls are not safe to make from several threads at once, and every engine
// drives its output from its own queue.
std::mutex &sdlMutex()
{
    static std::mutex mutex;
    return mutex;
}

void SDLCALL renderCallback(void *userdata, Uint8 *stream, int length)
{
    auto *renderer = static_cast<AudioRenderer *>(userdata);
    renderer->render(reinterpret_cast<float *>(stream), length / int(2 * sizeof(float)));
}

} // namespace

SdlAudioOutput::SdlAudioOutput() = default;

SdlAudioOutput::~SdlAudioOutput()
{
    close();
    std::lock_guard lock(sdlMutex());
    if (m_subsystemReady)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioOutput::ensureSubsystem()
{
    // A failed start (no sound server yet) is tried again on the next call.
    if (!m_subsystemReady) {
        // SDL's audio brings up its event layer, which would otherwise take over SIGINT and
        // SIGTERM and leave the application deaf to them.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        m_subsystemReady = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    return m_subsystemReady;
}

int SdlAudioOutput::preferredSampleRate()
{
    std::lock_guard lock(sdlMutex());
    SDL_AudioSpec deviceFormat{};
    if (!ensureSubsystem() || SDL_GetDefaultAudioInfo(nullptr, &deviceFormat, 0) != 0 || deviceFormat.freq <= 0)
        return fallbackSampleRate;
    return deviceFormat.freq;
}

Result<AudioOutput::Format> SdlAudioOutput::open(int requestedBufferFrames, AudioRenderer &renderer)
{
    close();
    std::lock_guard lock(sdlMutex());
    if (!ensureSubsystem()) {
        qCInfo(logAudio) << "SDL audio could not start:" << SDL_GetError();
        return failure(sdlDomain, 1, QString::fromUtf8(SDL_GetError()));
    }

    SDL_AudioSpec deviceFormat{};
    int rate = fallbackSampleRate;
    if (SDL_GetDefaultAudioInfo(nullptr, &deviceFormat, 0) == 0 && deviceFormat.freq > 0)
        rate = deviceFormat.freq;

    SDL_AudioSpec wanted{};
    wanted.freq = rate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = Uint16(requestedBufferFrames);
    wanted.callback = renderCallback;
    wanted.userdata = &renderer;
    SDL_AudioSpec obtained{};
    // Format and channel count are fixed (SDL converts if it must); rate and buffer length
    // are whatever the device prefers.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(
        nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (device == 0) {
        qCInfo(logAudio) << "no audio device opened through the" << SDL_GetCurrentAudioDriver() << "driver:" << SDL_GetError();
        return failure(sdlDomain, 2, QString::fromUtf8(SDL_GetError()));
    }
    qCInfo(logAudio) << "audio device opened through the" << SDL_GetCurrentAudioDriver() << "driver at" << obtained.freq
                     << "Hz, buffer of" << obtained.samples << "frames";
    m_device = device;
    return Format{obtained.freq, obtained.samples};
}

void SdlAudioOutput::resume()
{
    std::lock_guard lock(sdlMutex());
    if (m_device != 0)
        SDL_PauseAudioDevice(m_device, 0);
}

void SdlAudioOutput::close()
{
    std::lock_guard lock(sdlMutex());
    if (m_device == 0)
        return;
    // Waits for a running callback to return.
    SDL_CloseAudioDevice(m_device);
    m_device = 0;
}

bool SdlAudioOutput::isLost() const
{
    std::lock_guard lock(sdlMutex());
    return m_device != 0 && SDL_GetAudioDeviceStatus(m_device) == SDL_AUDIO_STOPPED;
}
