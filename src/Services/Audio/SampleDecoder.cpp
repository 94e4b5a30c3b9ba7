#include "Services/Audio/SampleDecoder.h"

#include "Services/Audio/SndFileLibrary.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

// libsndfile reads through these callbacks straight from the caller's bytes.
struct MemoryStream {
    const QByteArray *bytes = nullptr;
    sf_count_t position = 0;
};

sf_count_t streamLength(void *userData)
{
    return static_cast<MemoryStream *>(userData)->bytes->size();
}

sf_count_t streamSeek(sf_count_t offset, int whence, void *userData)
{
    auto *stream = static_cast<MemoryStream *>(userData);
    sf_count_t base = 0;
    if (whence == SEEK_CUR)
        base = stream->position;
    else if (whence == SEEK_END)
        base = stream->bytes->size();
    const sf_count_t target = base + offset;
    if (target < 0)
        return -1;
    stream->position = target;
    return target;
}

sf_count_t streamRead(void *destination, sf_count_t count, void *userData)
{
    auto *stream = static_cast<MemoryStream *>(userData);
    const sf_count_t available = std::max<sf_count_t>(0, stream->bytes->size() - stream->position);
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, available);
    if (n > 0)
        std::memcpy(destination, stream->bytes->constData() + stream->position, size_t(n));
    stream->position += n;
    return n;
}

sf_count_t streamWrite(const void *, sf_count_t, void *)
{
    return 0;
}

sf_count_t streamTell(void *userData)
{
    return static_cast<MemoryStream *>(userData)->position;
}

std::unexpected<Error> refuse(SampleDecoder::Code code)
{
    return failure(SampleDecoder::domain, code, SampleDecoder::message(code));
}

struct SoundFileCloser {
    const SndFileLibrary *sndfile = nullptr;
    void operator()(SNDFILE *file) const { sndfile->close(file); }
};

}

SampleDecoder::Limits SampleDecoder::defaultLimits()
{
    return Limits{.maxBytes = 48 * 1024 * 1024,
                  .maxSeconds = 30.0,
                  .minSampleRate = 8000,
                  .maxSampleRate = 192000,
                  .maxChannels = 2};
}

QString SampleDecoder::message(Code code)
{
    switch (code) {
    case fileTooLarge:
        return QStringLiteral("The sound file is too large.");
    case unreadable:
        return QStringLiteral("The sound file couldn’t be read. It may be damaged or in an unsupported format.");
    case unsupportedSampleRate:
        return QStringLiteral("The sound’s sample rate isn’t supported.");
    case unsupportedChannelCount:
        return QStringLiteral("The sound has too many channels. Use mono or stereo.");
    case tooLong:
        return QStringLiteral("The sound is too long.");
    case empty:
        return QStringLiteral("The sound file contains no audio.");
    case damaged:
        return QStringLiteral("The sound file is damaged.");
    case decoderMissing:
        return QStringLiteral("The sound file couldn’t be decoded: the audio decoder could not be loaded.");
    }
    return {};
}

Result<DecodedSample> SampleDecoder::decode(const QByteArray &bytes, const Limits &limits)
{
    if (bytes.size() > limits.maxBytes)
        return refuse(fileTooLarge);

    // Declared before the file, so the library is let go only after the file is closed.
    const auto sndfile = SndFileLibrary::acquire();
    if (!sndfile)
        return failure(domain, decoderMissing,
                       QStringLiteral("The sound file couldn’t be decoded (%1).").arg(sndfile.error()));
    const SndFileLibrary &library = **sndfile;

    MemoryStream stream{&bytes, 0};
    SF_VIRTUAL_IO io{streamLength, streamSeek, streamRead, streamWrite, streamTell};
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SoundFileCloser> file(library.openVirtual(&io, SFM_READ, &info, &stream),
                                                   SoundFileCloser{&library});
    if (!file)
        return refuse(unreadable);

    if (info.samplerate < limits.minSampleRate || info.samplerate > limits.maxSampleRate)
        return refuse(unsupportedSampleRate);
    if (info.channels < 1 || info.channels > limits.maxChannels)
        return refuse(unsupportedChannelCount);
    // Some containers only estimate their length; the read below enforces the limit again.
    const qint64 maxFrames = qint64(std::floor(limits.maxSeconds * info.samplerate));
    if (info.frames > maxFrames)
        return refuse(tooLong);

    DecodedSample decoded;
    decoded.channels = info.channels;
    decoded.sampleRate = info.samplerate;
    if (info.frames > 0)
        decoded.samples.reserve(size_t(info.frames) * size_t(info.channels));

    constexpr sf_count_t chunkFrames = 4096;
    std::vector<float> chunk(size_t(chunkFrames) * size_t(info.channels));
    qint64 framesRead = 0;
    for (;;) {
        const sf_count_t got = library.readFloat(file.get(), chunk.data(), chunkFrames);
        if (got <= 0)
            break;
        framesRead += got;
        if (framesRead > maxFrames)
            return refuse(tooLong);
        decoded.samples.insert(decoded.samples.end(), chunk.begin(), chunk.begin() + got * info.channels);
    }
    if (library.error(file.get()) != SF_ERR_NO_ERROR)
        return refuse(damaged);
    if (framesRead == 0)
        return refuse(empty);
    if (!std::ranges::all_of(decoded.samples, [](float value) { return std::isfinite(value); }))
        return refuse(damaged);
    return decoded;
}
