#include "Services/Packs/SoundPackLibrary.h"

#include "Foundation/LogCategories.h"
#include "Services/Packs/PackFileReader.h"
#include "Services/Packs/PackImportLimits.h"
#include "Services/Packs/SoundPackValidation.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

std::optional<LoadedSoundPack> readPack(const QString &directory)
{
    auto bytes = PackFileReader::read(directory, QStringLiteral("manifest.json"), PackImportLimits::maxManifestBytes,
                                      PackFileReader::Ownership::currentUser);
    if (!bytes) {
        qCInfo(logPacks) << "pack" << directory << "skipped, its manifest is unreadable:" << bytes.error().message;
        return std::nullopt;
    }
    auto manifest = SoundPackManifest::fromJson(*bytes);
    if (!manifest) {
        qCInfo(logPacks) << "pack" << directory << "skipped, its manifest is malformed:" << manifest.error().message;
        return std::nullopt;
    }
    if (auto valid = SoundPackValidation::validate(*manifest); !valid) {
        qCInfo(logPacks) << "pack" << directory << "skipped, its manifest is invalid:" << valid.error().message;
        return std::nullopt;
    }
    return LoadedSoundPack{std::move(*manifest), directory};
}

}

Result<QList<LoadedSoundPack>> SoundPackLibrary::loadAll(const QString &folder)
{
    const QFileInfo info(folder);
    const QString name = info.fileName();
    if (!info.exists())
        return failure(CocoaError::domain, CocoaError::fileReadNoSuchFile,
                       QStringLiteral("The folder “%1” couldn’t be opened because there is no such file.").arg(name));
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        return failure(CocoaError::domain, CocoaError::fileReadNoPermission,
                       QStringLiteral("The folder “%1” couldn’t be opened because you don’t have permission to view it.")
                           .arg(name));

    // Hidden folders are installs in progress; links could lead anywhere.
    const QStringList names =
        QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    QList<LoadedSoundPack> packs;
    QSet<QString> identifiers;
    for (const QString &entry : names) {
        auto pack = readPack(QDir(folder).filePath(entry));
        if (!pack)
            continue;
        if (identifiers.contains(pack->id())) {
            qCInfo(logPacks) << "pack" << pack->directory << "skipped, another pack has its id" << pack->id();
            continue;
        }
        identifiers.insert(pack->id());
        packs.append(std::move(*pack));
    }
    return packs;
}

Result<QList<LoadedSoundPack>> SoundPackLibrary::load(const QString &folder, SoundPackManifest::PackKind kind)
{
    auto all = loadAll(folder);
    if (!all)
        return all;
    all->removeIf([kind](const LoadedSoundPack &pack) { return pack.manifest.kind != kind; });
    sortByName(*all);
    return all;
}

void SoundPackLibrary::sortByName(QList<LoadedSoundPack> &packs)
{
    std::stable_sort(packs.begin(), packs.end(), [](const LoadedSoundPack &a, const LoadedSoundPack &b) {
        const int byName = QString::compare(a.manifest.name, b.manifest.name, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.manifest.id < b.manifest.id;
    });
}
