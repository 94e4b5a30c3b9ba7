#include "WavFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sndfile.h>

bool WavFile::write(const QString &path, const std::vector<float> &samples, int sampleRate)
{
    QDir().mkpath(QFileInfo(path).path());
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    // Round rather than truncate, and never wrap around at full scale.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const sf_count_t written = sf_writef_float(file, samples.data(), sf_count_t(samples.size()));
    return sf_close(file) == 0 && written == sf_count_t(samples.size());
}
