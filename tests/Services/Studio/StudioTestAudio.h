#pragma once

#include "support/TestSndFile.h"

#include <QFile>
#include <QString>

#include <csignal>
#include <sys/resource.h>

#include <vector>

// Writes interleaved float frames with libsndfile in any layout, including ones the studio
// refuses, so that each limit can be tried with a real file.
inline bool writeTestAudio(const QString &path, int sampleRate, int channels, const std::vector<float> &interleaved,
                           int format = SF_FORMAT_WAV | SF_FORMAT_FLOAT)
{
    const auto sndfile = TestSndFile::acquire();
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = format;
    SNDFILE *file = sndfile->open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    const sf_count_t frames = sf_count_t(interleaved.size()) / channels;
    const bool written = sndfile->writeFloat(file, interleaved.data(), frames) == frames;
    return sndfile->close(file) == 0 && written;
}

struct TestAudio {
    int sampleRate = 0;
    int channels = 0;
    int format = 0;
    std::vector<float> interleaved;
};

// Reads a file back exactly as stored.
inline TestAudio readTestAudio(const QString &path)
{
    const auto sndfile = TestSndFile::acquire();
    SF_INFO info{};
    SNDFILE *file = sndfile->open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return {};
    TestAudio audio{info.samplerate, info.channels, info.format,
                    std::vector<float>(std::size_t(info.frames * info.channels))};
    sndfile->readFloat(file, audio.interleaved.data(), info.frames);
    sndfile->close(file);
    return audio;
}

// Lowers the largest file this process may write, so a write fails half-way for real.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit lowered = m_previous;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};
