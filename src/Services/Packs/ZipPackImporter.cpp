#include "Services/Packs/ZipPackImporter.h"

#include "Foundation/UniqueFd.h"
#include "Services/Packs/PackImportErrors.h"
#include "Services/Packs/PackImportLimits.h"
#include "Services/Packs/SoundPackInstaller.h"
#include "Services/Packs/SoundPackValidation.h"
#include "Services/Packs/StagingFolder.h"
#include "Services/Packs/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

std::unexpected<Error> refuse(ZipImportError::Code code)
{
    return std::unexpected(ZipImportError::make(code));
}

bool isMacJunk(const QString &path)
{
    return path == u"__MACOSX" || path.startsWith(u"__MACOSX/") || path.section(u'/', -1) == u".DS_Store";
}

// The entries that matter, by path without a trailing "/", after every entry passed the checks.
struct Listing {
    QHash<QString, ZipArchive::Entry> files;
    QSet<QString> topLevelNames;
};

Result<Listing> list(const ZipArchive &archive)
{
    const qint64 count = archive.entryCount();
    if (count < 0)
        return refuse(ZipImportError::unreadableArchive);
    if (count > PackImportLimits::maxArchiveEntries)
        return refuse(ZipImportError::tooManyEntries);

    Listing listing;
    QSet<QString> seen;
    for (qint64 i = 0; i < count; ++i) {
        auto entry = archive.entry(i);
        if (!entry)
            return std::unexpected(entry.error());
        QString path = entry->path;
        if (entry->type == ZipArchive::EntryType::directory && path.endsWith(u'/'))
            path.chop(1);
        if (!SoundPackValidation::isSafeRelativePath(path))
            return refuse(ZipImportError::unsafePath);
        if (entry->type == ZipArchive::EntryType::symbolicLink || entry->type == ZipArchive::EntryType::special)
            return refuse(ZipImportError::linkOrSpecialFile);
        if (entry->encrypted)
            return refuse(ZipImportError::encrypted);
        if (seen.contains(path))
            return refuse(ZipImportError::duplicateEntry);
        seen.insert(path);
        if (isMacJunk(path))
            continue;
        listing.topLevelNames.insert(path.section(u'/', 0, 0));
        if (entry->type == ZipArchive::EntryType::file)
            listing.files.insert(path, *entry);
    }
    return listing;
}

Result<QString> packPrefix(const Listing &listing)
{
    if (listing.files.contains(QStringLiteral("manifest.json")))
        return QString();
    if (listing.topLevelNames.size() == 1) {
        const QString prefix = *listing.topLevelNames.begin() + u'/';
        if (listing.files.contains(prefix + QStringLiteral("manifest.json")))
            return prefix;
    }
    return refuse(ZipImportError::noPack);
}

// Counts what extraction really produces, whatever the archive declares.
class ExtractionBudget {
public:
    Result<void> take(qint64 bytes)
    {
        m_total += bytes;
        if (m_total > PackImportLimits::maxPackBytes)
            return refuse(ZipImportError::expandsTooMuch);
        return {};
    }

private:
    qint64 m_total = 0;
};

Result<QByteArray> extractToMemory(const ZipArchive &archive, const ZipArchive::Entry &entry, qint64 maxBytes,
                                   ExtractionBudget &budget, const ImportProgress *cancellation)
{
    QByteArray bytes;
    auto extracted = archive.extract(entry, maxBytes,
                                     [&](QByteArrayView chunk) -> Result<void> {
                                         bytes.append(chunk);
                                         return budget.take(chunk.size());
                                     },
                                     cancellation);
    if (!extracted)
        return std::unexpected(extracted.error());
    return bytes;
}

// Creates the folders above `path` and then the file itself, which must be new: a descriptor, or
// -1 with errno telling why.
int createNewFile(const QString &path)
{
    const QByteArray encoded = QFile::encodeName(path);
    for (qsizetype slash = encoded.indexOf('/', 1); slash > 0; slash = encoded.indexOf('/', slash + 1)) {
        if (::mkdir(encoded.left(slash).constData(), 0700) != 0 && errno != EEXIST)
            return -1;
    }
    return ::open(encoded.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}

Result<void> extractToFile(const ZipArchive &archive, const ZipArchive::Entry &entry, const QString &destination,
                           const QString &listedPath, ExtractionBudget &budget, const ImportProgress *cancellation)
{
    UniqueFd fd(createNewFile(destination));
    if (!fd) {
        switch (errno) {
        case ENAMETOOLONG:
            return std::unexpected(PackImportError::make(PackImportError::nameTooLong, listedPath));
        case ENOTDIR:
            return std::unexpected(PackImportError::make(PackImportError::fileUsedAsFolder, listedPath));
        default:
            return std::unexpected(PackImportError::make(PackImportError::libraryNotWritable));
        }
    }
    QFile file;
    if (!file.open(fd.get(), QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
        return std::unexpected(PackImportError::make(PackImportError::libraryNotWritable));
    fd.release(); // closed by the file from now on
    return archive.extract(entry, PackImportLimits::maxSampleBytes,
                           [&](QByteArrayView chunk) -> Result<void> {
                               if (file.write(chunk.data(), chunk.size()) != chunk.size())
                                   return std::unexpected(PackImportError::make(PackImportError::libraryNotWritable));
                               return budget.take(chunk.size());
                           },
                           cancellation);
}

}

Result<LoadedSoundPack> ZipPackImporter::importArchive(const QString &archivePath, const QString &destinationRoot,
                                                       SoundPackManifest::PackKind kind,
                                                       const ImportProgress *cancellation)
{
    // The user may have chosen the archive through a link of theirs; nothing inside is followed.
    const QString canonical = QFileInfo(archivePath).canonicalFilePath();
    auto archive = ZipArchive::open(canonical.isEmpty() ? archivePath : canonical, PackImportLimits::maxArchiveBytes);
    if (!archive)
        return std::unexpected(archive.error());
    auto listing = list(*archive);
    if (!listing)
        return std::unexpected(listing.error());
    auto prefix = packPrefix(*listing);
    if (!prefix)
        return std::unexpected(prefix.error());

    ExtractionBudget budget;
    const ZipArchive::Entry &manifestEntry = listing->files.value(*prefix + QStringLiteral("manifest.json"));
    auto manifestBytes = extractToMemory(*archive, manifestEntry, PackImportLimits::maxManifestBytes, budget,
                                         cancellation);
    if (!manifestBytes) {
        if (manifestBytes.error().domain == ZipImportError::domain
            && manifestBytes.error().code == ZipImportError::entryTooLarge)
            return std::unexpected(PackImportError::make(PackImportError::manifestTooLarge));
        return std::unexpected(manifestBytes.error());
    }
    auto manifest = SoundPackInstaller::checkManifest(*manifestBytes, kind);
    if (!manifest)
        return std::unexpected(manifest.error());

    auto unpacked = StagingFolder::create(destinationRoot);
    if (!unpacked)
        return std::unexpected(unpacked.error());
    QSet<QString> extracted;
    for (const auto &[group, set] : manifest->groups) {
        for (const QStringList *paths : {&set.down, &set.up}) {
            for (const QString &path : *paths) {
                const auto entry = listing->files.constFind(*prefix + path);
                // A listed file the archive lacks is reported by the installer.
                if (entry == listing->files.constEnd() || extracted.contains(path))
                    continue;
                extracted.insert(path);
                auto written = extractToFile(*archive, *entry, unpacked->filePath(path), path, budget, cancellation);
                if (!written)
                    return std::unexpected(written.error());
            }
        }
    }
    QFile manifestFile(unpacked->filePath(QStringLiteral("manifest.json")));
    if (!manifestFile.open(QIODevice::WriteOnly | QIODevice::NewOnly)
        || manifestFile.write(*manifestBytes) != manifestBytes->size())
        return std::unexpected(PackImportError::make(PackImportError::libraryNotWritable));
    manifestFile.close();
    return SoundPackInstaller::installFolder(unpacked->path(), destinationRoot, kind, cancellation);
}
