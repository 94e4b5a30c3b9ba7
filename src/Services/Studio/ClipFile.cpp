#include "Services/Studio/ClipFile.h"

#include "Foundation/UniqueFd.h"
#include "Services/Audio/SndFileLibrary.h"
#include "Services/Studio/ClipProcessor.h"
#include "Services/Studio/StudioFileError.h"
#include "Services/Studio/TemporaryItem.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString sndfileDomain = QStringLiteral("SndFileErrorDomain");

std::unexpected<Error> corruptFile(const QString &message)
{
    return failure(CocoaError::domain, CocoaError::fileReadCorruptFile, message);
}

std::unexpected<Error> refusedDestination(const QString &message)
{
    return failure(CocoaError::domain, CocoaError::fileWriteFileExists, message);
}

// libsndfile's account without its "System error : " prefix or closing full stop, to fit
// inside our own sentence.
QString sndfileReason(const char *text)
{
    QString reason = QString::fromUtf8(text).trimmed();
    reason.remove(QRegularExpression(QStringLiteral("^System error\\s*:\\s*")));
    while (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    return reason;
}

// libsndfile's own failure; `file` null means the failed open.
std::unexpected<Error> sndfileFailure(const SndFileLibrary &sndfile, SNDFILE *file, const QString &sentence)
{
    return failure(sndfileDomain, sndfile.error(file), sentence.arg(sndfileReason(sndfile.errorText(file))));
}

// Keeps the library open for as long as the file is.
class SoundFile {
public:
    SoundFile(std::shared_ptr<const SndFileLibrary> sndfile, SNDFILE *file)
        : m_sndfile(std::move(sndfile))
        , m_file(file)
    {
    }
    SoundFile(const SoundFile &) = delete;
    SoundFile &operator=(const SoundFile &) = delete;
    ~SoundFile()
    {
        if (m_file)
            m_sndfile->close(m_file);
    }
    SNDFILE *get() const { return m_file; }
    int close() { return m_sndfile->close(std::exchange(m_file, nullptr)); }

private:
    std::shared_ptr<const SndFileLibrary> m_sndfile;
    SNDFILE *m_file;
};

Result<void> writeWav(int fd, const std::vector<float> &rendered, double sampleRate, const QString &name)
{
    auto sndfile = SndFileLibrary::acquire();
    if (!sndfile)
        return failure(CocoaError::domain, CocoaError::fileWriteUnknown,
                       QStringLiteral("“%1” couldn’t be written as WAV audio (%2).").arg(name, sndfile.error()));
    const SndFileLibrary &library = **sndfile;
    SF_INFO format{};
    format.samplerate = int(std::lround(sampleRate));
    format.channels = 1;
    format.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SoundFile file(*sndfile, library.openFd(fd, SFM_WRITE, &format, SF_FALSE));
    if (!file.get())
        return sndfileFailure(library, nullptr,
                              QStringLiteral("“%1” couldn’t be written as WAV audio (%2).").arg(name));
    const sf_count_t frames = sf_count_t(rendered.size());
    if (library.writeFloat(file.get(), rendered.data(), frames) != frames)
        return sndfileFailure(library, file.get(), QStringLiteral("“%1” couldn’t be written (%2).").arg(name));
    if (const int closed = file.close(); closed != SF_ERR_NO_ERROR)
        return failure(sndfileDomain, closed,
                       QStringLiteral("“%1” couldn’t be written (%2).")
                           .arg(name, sndfileReason(library.errorNumberText(closed))));
    // On disk before it gets its real name, so a crash never leaves a truncated clip there.
    if (::fdatasync(fd) != 0)
        return std::unexpected(StudioFileError::writing(errno, name));
    return {};
}
}

bool ClipFile::isAcceptedSampleRate(double sampleRate)
{
    return std::isfinite(sampleRate) && sampleRate >= minimumSampleRate && sampleRate <= maximumSampleRate;
}

Result<DecodedClip> ClipFile::load(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    // Non-blocking, so that a named pipe in place of a file cannot hang the decoder.
    UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd)
        return std::unexpected(StudioFileError::reading(errno, name));
    struct stat status{};
    if (::fstat(fd.get(), &status) != 0)
        return std::unexpected(StudioFileError::reading(errno, name));
    if (!S_ISREG(status.st_mode))
        return corruptFile(QStringLiteral("“%1” isn’t an audio file.").arg(name));

    auto sndfile = SndFileLibrary::acquire();
    if (!sndfile)
        return failure(CocoaError::domain, CocoaError::fileReadUnknown,
                       QStringLiteral("“%1” couldn’t be opened as audio (%2).").arg(name, sndfile.error()));
    const SndFileLibrary &library = **sndfile;
    SF_INFO format{};
    SoundFile file(*sndfile, library.openFd(fd.get(), SFM_READ, &format, SF_FALSE));
    if (!file.get())
        return sndfileFailure(library, nullptr,
                              QStringLiteral("“%1” couldn’t be opened as audio (%2).").arg(name));

    // Every limit is judged from the header, before any sample memory is taken.
    const double sampleRate = format.samplerate;
    if (!isAcceptedSampleRate(sampleRate))
        return corruptFile(QStringLiteral("“%1” has a sample rate of %2 Hz; the studio accepts 8,000 to 192,000 Hz.")
                               .arg(name)
                               .arg(format.samplerate));
    if (format.channels != 1 && format.channels != 2)
        return corruptFile(QStringLiteral("“%1” has %2 channels; the studio accepts mono or stereo audio.")
                               .arg(name)
                               .arg(format.channels));
    if (format.frames < 1)
        return corruptFile(QStringLiteral("“%1” contains no audio.").arg(name));
    if (double(format.frames) > sampleRate * maximumDurationSeconds)
        return corruptFile(QStringLiteral("“%1” is longer than 30 seconds.").arg(name));

    const int channels = format.channels;
    std::vector<float> samples(std::size_t(format.frames) * std::size_t(channels));
    const sf_count_t read = library.readFloat(file.get(), samples.data(), format.frames);
    if (library.error(file.get()) != SF_ERR_NO_ERROR)
        return sndfileFailure(library, file.get(), QStringLiteral("“%1” couldn’t be read (%2).").arg(name));
    if (read < 1)
        return corruptFile(QStringLiteral("“%1” contains no audio.").arg(name));

    // Mixed down in place: frame f is written at f, never ahead of the frames still unread.
    const float divisor = float(channels);
    for (sf_count_t frame = 0; frame < read; ++frame) {
        float mixed = 0.0f;
        for (int channel = 0; channel < channels; ++channel) {
            const float value = samples[std::size_t(frame * channels + channel)];
            if (!std::isfinite(value))
                return corruptFile(QStringLiteral("“%1” contains damaged samples.").arg(name));
            mixed += value / divisor;
        }
        samples[std::size_t(frame)] = mixed;
    }
    samples.resize(std::size_t(read));
    samples.shrink_to_fit();
    return DecodedClip{std::make_shared<const std::vector<float>>(std::move(samples)), sampleRate};
}

Result<void> ClipFile::exportClip(std::span<const float> samples, double sampleRate, const AudioClipEdit &edit,
                                  const QString &destination)
{
    const QFileInfo target(destination);
    const QString name = target.fileName();
    if (!isAcceptedSampleRate(sampleRate))
        return refusedDestination(
            QStringLiteral("“%1” couldn’t be saved: the clip’s sample rate must be between 8,000 and 192,000 Hz.").arg(name));
    if (StudioFileError::itemExists(destination))
        return refusedDestination(
            QStringLiteral("“%1” already exists. Choose a new name; existing files are never replaced.").arg(name));
    if (target.suffix().toLower() != QLatin1StringView("wav"))
        return refusedDestination(QStringLiteral("“%1” must be saved as a .wav file.").arg(name));

    auto rendered = ClipProcessor::process(samples, edit);
    if (!rendered)
        return std::unexpected(rendered.error());
    if (double(rendered->size()) > sampleRate * maximumDurationSeconds)
        return failure(CocoaError::domain, CocoaError::fileWriteUnknown,
                       QStringLiteral("“%1” couldn’t be saved because the edited clip is longer than 30 seconds.").arg(name));

    const QString temporaryPath =
        target.path() + QLatin1Char('/') + SafeFiles::temporaryName(QStringLiteral(".clip-")) + QStringLiteral(".wav");
    // O_EXCL: the hidden name is ours alone, never someone else's file or link.
    UniqueFd fd(::open(QFile::encodeName(temporaryPath).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd)
        return std::unexpected(StudioFileError::writing(errno, name));
    const TemporaryItem temporary(temporaryPath);
    if (auto written = writeWav(fd.get(), *rendered, sampleRate, name); !written)
        return written;
    // Closed here, so that a failing close is seen.
    if (fd.reset() != 0)
        return std::unexpected(StudioFileError::writing(errno, name));
    return SafeFiles::moveNoReplace(temporaryPath, destination);
}
