#include "Services/Packs/SoundPackInstaller.h"

#include "Foundation/SafeFiles.h"
#include "Foundation/UniqueFd.h"
#include "Services/Audio/SampleDecoder.h"
#include "Services/Audio/SndFileLibrary.h"
#include "Services/Packs/ImportProgress.h"
#include "Services/Packs/PackFileReader.h"
#include "Services/Packs/PackImportErrors.h"
#include "Services/Packs/PackImportLimits.h"
#include "Services/Packs/SoundPackLibrary.h"
#include "Services/Packs/SoundPackValidation.h"
#include "Services/Packs/StagingFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

using PackKind = SoundPackManifest::PackKind;
using PackFileReader::Ownership;

namespace {

std::unexpected<Error> refuse(PackImportError::Code code, const QString &file = {})
{
    return std::unexpected(PackImportError::make(code, file));
}

// A reader error about one of the pack's files, as the sentence the user reads.
std::unexpected<Error> fileRefusal(const Error &error, const QString &file)
{
    if (error.domain == PosixError::domain) {
        if (error.code == ENAMETOOLONG)
            return refuse(PackImportError::nameTooLong, file);
        if (error.code == ENOTDIR)
            return refuse(PackImportError::fileUsedAsFolder, file);
    }
    switch (error.code) {
    case CocoaError::fileReadNoSuchFile:
        return refuse(PackImportError::missingFile, file);
    case CocoaError::fileReadNoPermission:
        return refuse(PackImportError::unreadableFile, file);
    case CocoaError::fileReadTooLarge:
        return refuse(PackImportError::fileTooLarge, file);
    default:
        return refuse(PackImportError::notPlainFile, file);
    }
}

bool isCancelled(const ImportProgress *cancellation)
{
    return cancellation && cancellation->isCancelled();
}

struct ManifestFile {
    SoundPackManifest manifest;
    QByteArray bytes;
};

Result<ManifestFile> readManifest(const QString &source, PackKind kind, Ownership ownership)
{
    auto bytes = PackFileReader::read(source, QStringLiteral("manifest.json"), PackImportLimits::maxManifestBytes,
                                      ownership);
    if (!bytes) {
        if (bytes.error().code == CocoaError::fileReadNoSuchFile)
            return refuse(PackImportError::noManifest);
        if (bytes.error().code == CocoaError::fileReadTooLarge)
            return refuse(PackImportError::manifestTooLarge);
        return fileRefusal(bytes.error(), QStringLiteral("manifest.json"));
    }
    auto manifest = SoundPackInstaller::checkManifest(*bytes, kind);
    if (!manifest)
        return std::unexpected(manifest.error());
    return ManifestFile{std::move(*manifest), std::move(*bytes)};
}

QStringList listedPaths(const SoundPackManifest &manifest)
{
    QStringList paths;
    QSet<QString> seen;
    for (const auto &[group, set] : manifest.groups) {
        for (const QStringList *list : {&set.down, &set.up}) {
            for (const QString &path : *list) {
                if (!seen.contains(path)) {
                    seen.insert(path);
                    paths.append(path);
                }
            }
        }
    }
    return paths;
}

bool writeNewFile(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// An exclusive lock on the library folder itself, held while an install checks its identifier
// and moves into place, so two installs at once (threads or processes) cannot both add it.
class LibraryLock {
public:
    static std::optional<LibraryLock> acquire(const QString &root)
    {
        UniqueFd fd(::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!fd)
            return std::nullopt;
        int locked;
        do
            locked = ::flock(fd.get(), LOCK_EX);
        while (locked != 0 && errno == EINTR);
        if (locked != 0)
            return std::nullopt;
        return LibraryLock(std::move(fd));
    }

private:
    explicit LibraryLock(UniqueFd fd) : m_fd(std::move(fd)) {}

    UniqueFd m_fd;
};

Result<void> identifierFree(const QString &root, const QString &packId)
{
    auto installed = SoundPackLibrary::loadAll(root);
    if (!installed)
        return refuse(PackImportError::libraryNotWritable);
    for (const LoadedSoundPack &pack : *installed) {
        if (pack.id() == packId)
            return refuse(PackImportError::duplicateIdentity);
    }
    return {};
}

Result<QString> moveIntoPlace(const QString &staging, const QString &root, const QString &packId)
{
    const QString base = SoundPackInstaller::folderName(packId);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const QString name = attempt == 1 ? base : QStringLiteral("%1-%2").arg(base).arg(attempt);
        const QString destination = QDir(root).filePath(name);
        auto moved = SafeFiles::moveNoReplace(staging, destination);
        if (moved)
            return destination;
        if (moved.error().code != CocoaError::fileWriteFileExists)
            break;
    }
    return refuse(PackImportError::libraryNotWritable);
}

Result<LoadedSoundPack> install(const QString &source, const QString &destinationRoot, PackKind kind,
                                const ImportProgress *cancellation, Ownership ownership)
{
    if (isCancelled(cancellation))
        return refuse(PackImportError::cancelled);
    if (!QFileInfo(source).isDir())
        return refuse(PackImportError::folderUnreadable);

    auto manifestFile = readManifest(source, kind, ownership);
    if (!manifestFile)
        return std::unexpected(manifestFile.error());
    SoundPackManifest &manifest = manifestFile->manifest;

    if (!QDir().mkpath(destinationRoot))
        return refuse(PackImportError::libraryNotWritable);
    // Checked before copying too, so a duplicate is refused without reading the whole pack.
    if (auto free = identifierFree(destinationRoot, manifest.id); !free)
        return std::unexpected(free.error());

    auto staging = StagingFolder::create(destinationRoot);
    if (!staging)
        return std::unexpected(staging.error());

    qint64 totalBytes = manifestFile->bytes.size();

    // Held across the files, so that the decoder's library is opened once for them all.
    const auto sndfile = SndFileLibrary::acquire();
    for (const QString &path : listedPaths(manifest)) {
        if (isCancelled(cancellation))
            return refuse(PackImportError::cancelled);
        auto bytes = PackFileReader::read(source, path, PackImportLimits::maxSampleBytes, ownership);
        if (!bytes)
            return fileRefusal(bytes.error(), path);
        totalBytes += bytes->size();
        if (totalBytes > PackImportLimits::maxPackBytes)
            return refuse(PackImportError::packTooLarge);
        if (!SampleDecoder::decode(*bytes, PackImportLimits::sampleLimits()))
            return refuse(PackImportError::undecodableSample, path);
        if (!writeNewFile(QDir(staging->path()).filePath(path), *bytes))
            return refuse(PackImportError::libraryNotWritable);
    }
    if (!writeNewFile(QDir(staging->path()).filePath(QStringLiteral("manifest.json")), manifestFile->bytes))
        return refuse(PackImportError::libraryNotWritable);

    if (isCancelled(cancellation))
        return refuse(PackImportError::cancelled);
    const auto lock = LibraryLock::acquire(destinationRoot);
    if (!lock)
        return refuse(PackImportError::libraryNotWritable);
    if (auto free = identifierFree(destinationRoot, manifest.id); !free)
        return std::unexpected(free.error());
    auto destination = moveIntoPlace(staging->path(), destinationRoot, manifest.id);
    if (!destination)
        return std::unexpected(destination.error());
    return LoadedSoundPack{std::move(manifest), *destination};
}

}

Result<SoundPackManifest> SoundPackInstaller::checkManifest(const QByteArray &bytes, PackKind kind)
{
    auto manifest = SoundPackManifest::fromJson(bytes);
    if (!manifest)
        return manifest;
    if (auto valid = SoundPackValidation::validate(*manifest); !valid)
        return std::unexpected(valid.error());
    if (manifest->kind != kind)
        return refuse(kind == PackKind::keyboard ? PackImportError::expectedKeyboardPack
                                                 : PackImportError::expectedReactionPack);
    return manifest;
}

QString SoundPackInstaller::folderName(const QString &packId)
{
    QString name;
    for (QChar c : packId) {
        const bool safe = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')
                          || c == u'-' || c == u'_' || c == u'.';
        name.append(safe ? c : u'-');
    }
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    name.truncate(100);
    return name.isEmpty() ? QStringLiteral("pack") : name;
}

Result<LoadedSoundPack> SoundPackInstaller::installFolder(const QString &source, const QString &destinationRoot,
                                                          PackKind kind, const ImportProgress *cancellation)
{
    return install(source, destinationRoot, kind, cancellation, Ownership::currentUser);
}

Result<LoadedSoundPack> SoundPackInstaller::installBundled(const QString &source, const QString &destinationRoot,
                                                           PackKind kind)
{
    return install(source, destinationRoot, kind, nullptr, Ownership::anyone);
}
