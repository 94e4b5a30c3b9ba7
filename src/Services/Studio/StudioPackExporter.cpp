#include "Services/Studio/StudioPackExporter.h"

#include "Foundation/SafeFiles.h"
#include "Foundation/UniqueFd.h"
#include "Services/Packs/SoundPackValidation.h"
#include "Services/Studio/ClipFile.h"
#include "Services/Studio/StudioFileError.h"
#include "Services/Studio/TemporaryItem.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr double previewRate = 48000;
constexpr double resamplerMarginFrames = 32;

std::unexpected<Error> outOfSpace(const QString &message)
{
    return failure(CocoaError::domain, CocoaError::fileWriteOutOfSpace, message);
}

Result<SoundPackManifest> manifestFor(const QString &name, const QString &author, const QString &license,
                                      SoundPackManifest::PackKind kind, std::span<const StudioSample> samples)
{
    SoundPackManifest manifest;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const StudioSample &sample = samples[i];
        if (kind == SoundPackManifest::PackKind::reaction && sample.group != KeyGroup::reaction)
            return failure(CocoaError::domain, CocoaError::validationMissingMandatoryProperty,
                           QStringLiteral("Sample %1 isn’t a reaction sound. A reaction pack can only hold reaction "
                                          "sounds.")
                               .arg(i + 1));
        SampleSet &set = manifest.groups[sample.group];
        (sample.phase == KeyPhase::down ? set.down : set.up).append(QStringLiteral("samples/%1.wav").arg(i));
    }
    manifest.id = QStringLiteral("studio-") + QUuid::createUuid().toString(QUuid::WithoutBraces).toLower();
    manifest.name = name.trimmed();
    manifest.author = author.trimmed();
    manifest.switchType = QStringLiteral("Custom");
    manifest.version = QStringLiteral("1.0");
    manifest.license = license.isEmpty() ? QStringLiteral("Unknown") : license;
    manifest.kind = kind;
    manifest.metadata = std::map<QString, QString>{
        {QStringLiteral("formatVersion"), QStringLiteral("1")},
        {QStringLiteral("createdWith"), QStringLiteral("Knockwell Sound Studio")},
    };
    return manifest;
}

Result<void> makeDirectory(const QString &path, const QString &itemName)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0)
        return std::unexpected(StudioFileError::writing(errno, itemName));
    return {};
}

// Creates `folder` and any missing folders above it.
Result<void> makeFolderWithParents(const QString &folder, const QString &itemName)
{
    struct stat status{};
    if (::stat(QFile::encodeName(folder).constData(), &status) == 0)
        return S_ISDIR(status.st_mode) ? Result<void>{} : std::unexpected(StudioFileError::writing(ENOTDIR, itemName));
    if (errno != ENOENT)
        return std::unexpected(StudioFileError::writing(errno, itemName));
    if (const QString parent = QFileInfo(folder).path(); parent != folder) {
        if (auto made = makeFolderWithParents(parent, itemName); !made)
            return made;
    }
    if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0 && errno != EEXIST)
        return std::unexpected(StudioFileError::writing(errno, itemName));
    return {};
}

// Written beside its final name and renamed, so "manifest.json" is whole or absent.
Result<void> writeAtomically(const QString &path, const QByteArray &bytes, const QString &itemName)
{
    const QFileInfo target(path);
    const QString temporaryPath = target.path() + QLatin1Char('/') + SafeFiles::temporaryName(QStringLiteral(".manifest-"));
    UniqueFd fd(::open(QFile::encodeName(temporaryPath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd)
        return std::unexpected(StudioFileError::writing(errno, itemName));
    const TemporaryItem temporary(temporaryPath);
    qsizetype offset = 0;
    int error = 0;
    while (offset < bytes.size() && error == 0) {
        const ssize_t written = ::write(fd.get(), bytes.constData() + offset, std::size_t(bytes.size() - offset));
        if (written >= 0)
            offset += written;
        else if (errno != EINTR)
            error = errno;
    }
    if (error == 0 && ::fdatasync(fd.get()) != 0)
        error = errno;
    if (fd.reset() != 0 && error == 0)
        error = errno;
    if (error != 0)
        return std::unexpected(StudioFileError::writing(error, itemName));
    return SafeFiles::moveNoReplace(temporaryPath, path);
}

// Bytes the sample occupies decoded at its own rate and again at 48 kHz with a little margin,
// as the engine will hold it once installed.
double decodedBytes(qint64 length, double sampleRate)
{
    return double(length) * 4 + std::ceil(double(length) * previewRate / sampleRate + resamplerMarginFrames) * 4;
}

// Each sample's selection as samples/<index>.wav, within the pack's limits on size.
Result<void> writeSamples(std::span<const StudioSample> samples, const QString &samplesPath, qint64 manifestBytes)
{
    qint64 totalBytes = manifestBytes;
    double estimatedBytes = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const StudioSample &sample = samples[i];
        const QString row = QString::number(i + 1);
        qint64 length = 0;
        if (__builtin_sub_overflow(sample.edit.endFrame, sample.edit.startFrame, &length))
            length = std::numeric_limits<qint64>::max();
        if (length < 1 || !ClipFile::isAcceptedSampleRate(sample.clip.sampleRate))
            return failure(CocoaError::domain, CocoaError::fileReadCorruptFile,
                           QStringLiteral("Sample %1 has no audio selected or an unsupported sample rate.").arg(row));
        estimatedBytes += decodedBytes(length, sample.clip.sampleRate);
        if (estimatedBytes > StudioPackExporter::maximumDecodedBytes)
            return outOfSpace(QStringLiteral("The samples are too long to fit in one pack. Use fewer or shorter clips."));

        const QString filePath = samplesPath + QStringLiteral("/%1.wav").arg(i);
        if (auto written = ClipFile::exportClip(sample.clip.view(), sample.clip.sampleRate, sample.edit, filePath);
            !written)
            return written;
        struct stat status{};
        if (::stat(QFile::encodeName(filePath).constData(), &status) != 0)
            return std::unexpected(StudioFileError::reading(errno, QStringLiteral("%1.wav").arg(i)));
        const qint64 fileBytes = status.st_size;
        if (fileBytes > StudioPackExporter::maximumSampleFileBytes)
            return outOfSpace(QStringLiteral("Sample %1 is larger than 48 MB.").arg(row));
        if (totalBytes + fileBytes > StudioPackExporter::maximumPackBytes)
            return outOfSpace(QStringLiteral("The pack would be larger than 250 MB. Use fewer or shorter clips."));
        totalBytes += fileBytes;
    }
    return {};
}
}

Result<void> StudioPackExporter::exportPack(const QString &name, const QString &author, const QString &license,
                                            SoundPackManifest::PackKind kind, std::span<const StudioSample> samples,
                                            const QString &destination)
{
    const QFileInfo target(destination);
    const QString packName = target.fileName();
    if (StudioFileError::itemExists(destination))
        return failure(CocoaError::domain, CocoaError::fileWriteFileExists,
                       QStringLiteral("“%1” already exists. Existing packs are never replaced.").arg(packName));
    if (samples.empty() || samples.size() > std::size_t(maximumSamples))
        return failure(CocoaError::domain, CocoaError::validationMissingMandatoryProperty,
                       QStringLiteral("A pack needs between 1 and %1 samples.").arg(maximumSamples));

    const auto manifest = manifestFor(name, author, license, kind, samples);
    if (!manifest)
        return std::unexpected(manifest.error());
    if (auto valid = SoundPackValidation::validate(*manifest); !valid)
        return valid;
    const QByteArray manifestJson = manifest->toJson(SoundPackManifest::KeyOrder::sorted);

    if (auto made = makeFolderWithParents(target.path(), packName); !made)
        return made;
    const QString stagingPath = target.path() + QLatin1Char('/') + SafeFiles::temporaryName(QStringLiteral(".studio-"));
    if (auto made = makeDirectory(stagingPath, packName); !made)
        return made;
    const TemporaryItem staging(stagingPath);
    const QString samplesPath = stagingPath + QStringLiteral("/samples");
    if (auto made = makeDirectory(samplesPath, packName); !made)
        return made;

    if (auto written = writeSamples(samples, samplesPath, manifestJson.size()); !written)
        return written;
    if (auto written = writeAtomically(stagingPath + QStringLiteral("/manifest.json"), manifestJson, packName);
        !written)
        return written;
    return SafeFiles::moveNoReplace(stagingPath, destination);
}
