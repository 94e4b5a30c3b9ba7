#include "Services/Packs/AudioFilesImporter.h"

#include "Services/Audio/SampleDecoder.h"
#include "Services/Audio/SndFileLibrary.h"
#include "Services/Packs/ImportProgress.h"
#include "Services/Packs/PackFileReader.h"
#include "Services/Packs/PackImportErrors.h"
#include "Services/Packs/PackImportLimits.h"
#include "Services/Packs/SoundPackInstaller.h"
#include "Services/Packs/SoundPackValidation.h"
#include "Services/Packs/StagingFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace {

std::unexpected<Error> refuse(AudioImportError::Code code, const QString &file = {})
{
    return std::unexpected(AudioImportError::make(code, file));
}

std::unexpected<Error> fileRefusal(const Error &error, const QString &file)
{
    switch (error.code) {
    case CocoaError::fileReadNoSuchFile:
        return refuse(AudioImportError::isUndecodableName(file) ? AudioImportError::undecodableName
                                                                : AudioImportError::missingFile,
                      file);
    case CocoaError::fileReadTooLarge:
        return refuse(AudioImportError::fileTooLarge, file);
    default:
        return refuse(AudioImportError::unreadableFile, file);
    }
}

// A file the user picked may be reached through a link of theirs; the file itself is then read
// without following anything further.
QString chosenFile(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

QString sampleName(int index, const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool plainSuffix = !suffix.isEmpty() && suffix.size() <= 8
                             && std::ranges::all_of(suffix, [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; });
    return QStringLiteral("samples/%1.%2").arg(index + 1).arg(plainSuffix ? suffix : QStringLiteral("audio"));
}

SoundPackManifest manifestFor(const QStringList &audioPaths, const QStringList &samplePaths)
{
    SoundPackManifest manifest;
    manifest.id = QStringLiteral("import-") + QUuid::createUuid().toString(QUuid::WithoutBraces).toLower();
    manifest.name = AudioFilesImporter::packName(audioPaths);
    manifest.author = QStringLiteral("Imported");
    manifest.switchType = QStringLiteral("Custom");
    manifest.version = QStringLiteral("1.0");
    manifest.license = QStringLiteral("Unknown");
    manifest.kind = SoundPackManifest::PackKind::reaction;
    manifest.groups[KeyGroup::reaction] = SampleSet{samplePaths, {}};
    return manifest;
}

}

QString AudioFilesImporter::packName(const QStringList &audioPaths)
{
    QString name = audioPaths.isEmpty() ? QString() : QFileInfo(audioPaths.first()).completeBaseName().trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Imported Sounds");
    // Keep room for the suffix within the 256-character limit of a pack name.
    if (SoundPackValidation::characterCount(name) > 200)
        name = name.left(200).trimmed();
    if (audioPaths.size() > 1)
        name += QStringLiteral(" + %1 more").arg(audioPaths.size() - 1);
    return name;
}

Result<LoadedSoundPack> AudioFilesImporter::importFiles(const QStringList &audioPaths, const QString &destinationRoot,
                                                        const ImportProgress *cancellation)
{
    if (audioPaths.isEmpty())
        return refuse(AudioImportError::noFiles);
    if (audioPaths.size() > PackImportLimits::maxSampleFiles)
        return refuse(AudioImportError::tooManyFiles);

    auto staging = StagingFolder::create(destinationRoot);
    if (!staging)
        return std::unexpected(staging.error());

    QStringList samplePaths;
    qint64 totalBytes = 0;
    // Held across the files, so that the decoder's library is opened once for them all.
    const auto sndfile = SndFileLibrary::acquire();
    for (int i = 0; i < audioPaths.size(); ++i) {
        if (cancellation && cancellation->isCancelled())
            return std::unexpected(PackImportError::make(PackImportError::cancelled));
        const QString &path = audioPaths[i];
        const QString name = QFileInfo(path).fileName();
        auto bytes = PackFileReader::readFile(chosenFile(path), PackImportLimits::maxSampleBytes,
                                              PackFileReader::Ownership::currentUser);
        if (!bytes)
            return fileRefusal(bytes.error(), name);
        totalBytes += bytes->size();
        if (totalBytes > PackImportLimits::maxPackBytes)
            return refuse(AudioImportError::tooMuchAudio);
        if (!SampleDecoder::decode(*bytes, PackImportLimits::sampleLimits()))
            return refuse(AudioImportError::undecodable, name);

        const QString samplePath = sampleName(i, path);
        QFile file(staging->filePath(samplePath));
        if (!QDir().mkpath(QFileInfo(file.fileName()).path()) || !file.open(QIODevice::WriteOnly | QIODevice::NewOnly)
            || file.write(*bytes) != bytes->size())
            return std::unexpected(PackImportError::make(PackImportError::libraryNotWritable));
        samplePaths.append(samplePath);
    }

    const QByteArray manifest = manifestFor(audioPaths, samplePaths).toJson();
    QFile manifestFile(staging->filePath(QStringLiteral("manifest.json")));
    if (!manifestFile.open(QIODevice::WriteOnly | QIODevice::NewOnly) || manifestFile.write(manifest) != manifest.size())
        return std::unexpected(PackImportError::make(PackImportError::libraryNotWritable));
    manifestFile.close();
    return SoundPackInstaller::installFolder(staging->path(), destinationRoot, SoundPackManifest::PackKind::reaction,
                                             cancellation);
}
