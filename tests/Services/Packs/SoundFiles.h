#pragma once

#include "support/TestSndFile.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>

// Real audio files made in memory with libsndfile, for tests that need sound on disk.
namespace SoundFiles {

struct Buffer {
    QByteArray bytes;
    sf_count_t position = 0;
};

inline sf_count_t length(void *user) { return static_cast<Buffer *>(user)->bytes.size(); }
inline sf_count_t seek(sf_count_t offset, int whence, void *user)
{
    auto *buffer = static_cast<Buffer *>(user);
    const sf_count_t base = whence == SEEK_CUR ? buffer->position : whence == SEEK_END ? buffer->bytes.size() : 0;
    buffer->position = base + offset;
    return buffer->position;
}
inline sf_count_t read(void *destination, sf_count_t count, void *user)
{
    auto *buffer = static_cast<Buffer *>(user);
    const sf_count_t n = std::clamp<sf_count_t>(buffer->bytes.size() - buffer->position, 0, count);
    std::memcpy(destination, buffer->bytes.constData() + buffer->position, size_t(n));
    buffer->position += n;
    return n;
}
inline sf_count_t write(const void *source, sf_count_t count, void *user)
{
    auto *buffer = static_cast<Buffer *>(user);
    if (buffer->position + count > buffer->bytes.size())
        buffer->bytes.resize(qsizetype(buffer->position + count));
    std::memcpy(buffer->bytes.data() + buffer->position, source, size_t(count));
    buffer->position += count;
    return count;
}
inline sf_count_t tell(void *user) { return static_cast<Buffer *>(user)->position; }

// Encodes interleaved floats, or 16-bit values as they stand; an empty result means libsndfile
// refused the format.
template <typename Value>
QByteArray encode(int format, int sampleRate, int channels, const std::vector<Value> &interleaved)
{
    const auto sndfile = TestSndFile::acquire();
    Buffer buffer;
    SF_VIRTUAL_IO io{length, seek, read, write, tell};
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = format;
    SNDFILE *file = sndfile->openVirtual(&io, SFM_WRITE, &info, &buffer);
    if (!file)
        return {};
    if constexpr (std::is_same_v<Value, short>)
        sndfile->writeShort(file, interleaved.data(), sf_count_t(interleaved.size()) / channels);
    else
        sndfile->writeFloat(file, interleaved.data(), sf_count_t(interleaved.size()) / channels);
    sndfile->close(file);
    return buffer.bytes;
}

// A decaying 440 Hz tone, the same on every channel.
inline std::vector<float> tone(qint64 frames, int channels, int sampleRate)
{
    std::vector<float> samples(size_t(frames * channels));
    for (qint64 i = 0; i < frames; ++i) {
        const float value = 0.5f * float(std::sin(2.0 * M_PI * 440.0 * double(i) / sampleRate));
        for (int c = 0; c < channels; ++c)
            samples[size_t(i * channels + c)] = value;
    }
    return samples;
}

inline QByteArray floatWav(qint64 frames, int sampleRate = 48000, int channels = 1)
{
    return encode(SF_FORMAT_WAV | SF_FORMAT_FLOAT, sampleRate, channels, tone(frames, channels, sampleRate));
}

inline QByteArray pcmWav(qint64 frames, int sampleRate = 48000, int channels = 1)
{
    return encode(SF_FORMAT_WAV | SF_FORMAT_PCM_16, sampleRate, channels, tone(frames, channels, sampleRate));
}
}
