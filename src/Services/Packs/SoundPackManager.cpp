#include "Services/Packs/SoundPackManager.h"

#include "Foundation/PublishedProperty.h"
#include "Foundation/SafeFiles.h"
#include "Foundation/WhenFinished.h"
#include "Services/Packs/AudioFilesImporter.h"
#include "Services/Packs/ImportProgress.h"
#include "Services/Packs/PackImportErrors.h"
#include "Services/Packs/PackOpenPanel.h"
#include "Services/Packs/SoundPackInstaller.h"
#include "Services/Packs/SoundPackLibrary.h"
#include "Services/Packs/StagingFolder.h"
#include "Services/Packs/ZipPackImporter.h"
#include "Services/ResourceBundle.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFuture>
#include <QFutureWatcher>
#include <QStandardPaths>
#include <QtConcurrent/QtConcurrentRun>

using PackKind = SoundPackManifest::PackKind;

namespace {

struct ImportOutcome {
    QList<LoadedSoundPack> installed;
    std::optional<Error> error;
};

enum class ItemType { folder, archive, audio };

ItemType itemType(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return ItemType::folder;
    return info.suffix().compare(u"zip", Qt::CaseInsensitive) == 0 ? ItemType::archive : ItemType::audio;
}

QString bundledFolder(PackKind kind)
{
    return kind == PackKind::keyboard ? QStringLiteral("KeyboardPacks") : QStringLiteral("ReactionPacks");
}

void removeInstalled(const QList<LoadedSoundPack> &packs)
{
    for (const LoadedSoundPack &pack : packs)
        SafeFiles::removeAll(pack.directory);
}

// The worker side of an import: plain file work, no access to the manager.
ImportOutcome runImport(const QStringList &paths, PackKind kind, const QString &root,
                                          const std::shared_ptr<ImportProgress> &progress)
{
    ImportOutcome outcome;
    QStringList audioFiles;
    auto take = [&](Result<LoadedSoundPack> result) {
        if (result)
            outcome.installed.append(std::move(*result));
        else
            outcome.error = result.error();
        return bool(result);
    };
    for (const QString &path : paths) {
        switch (itemType(path)) {
        case ItemType::folder:
            if (!take(SoundPackInstaller::installFolder(path, root, kind, progress.get())))
                break;
            continue;
        case ItemType::archive:
            if (!take(ZipPackImporter::importArchive(path, root, kind, progress.get())))
                break;
            continue;
        case ItemType::audio:
            audioFiles.append(path);
            continue;
        }
        break;
    }
    if (!outcome.error && !audioFiles.isEmpty())
        take(AudioFilesImporter::importFiles(audioFiles, root, progress.get()));
    if (outcome.error) {
        removeInstalled(outcome.installed);
        outcome.installed.clear();
    }
    return outcome;
}

}

namespace {

struct BundledCopy {
    QString source;
    QString root;
    PackKind kind;
};

QFuture<void> installInBackground(const QList<BundledCopy> &copies)
{
    return QtConcurrent::run([copies] {
        for (const BundledCopy &copy : copies) {
            // Refused when a pack of that identifier arrived meanwhile (an import).
            (void)SoundPackInstaller::installBundled(copy.source, copy.root, copy.kind);
        }
    });
}

}

SoundPackManager::SoundPackManager(ContentEdition edition, QObject *parent)
    : SoundPackManager(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                           .filePath(ContentEditions::libraryRootName(edition)),
                       ResourceBundle::path(), parent)
{
}

SoundPackManager::SoundPackManager(const QString &libraryRoot, const QString &resourceBundle, QObject *parent)
    : QObject(parent), m_libraryRoot(libraryRoot), m_resourceBundle(resourceBundle)
{
}

SoundPackManager::~SoundPackManager()
{
    // A running import stops at its next check; no worker outlives the library it writes to.
    if (m_importProgress)
        m_importProgress->cancel();
    m_import.waitForFinished();
    m_bundledCopies.waitForFinished();
}

QString SoundPackManager::keyboardRoot() const
{
    return QDir(m_libraryRoot).filePath(QStringLiteral("Keyboard Packs"));
}

QString SoundPackManager::reactionRoot() const
{
    return QDir(m_libraryRoot).filePath(QStringLiteral("Reaction Packs"));
}

Result<void> SoundPackManager::makeLibraryFolders()
{
    for (PackKind kind : allCases<PackKind>()) {
        const QString root = kind == PackKind::keyboard ? keyboardRoot() : reactionRoot();
        if (!QDir().mkpath(root)) {
            const Error error = PackImportError::make(PackImportError::libraryNotWritable);
            setLastError(error.message);
            return std::unexpected(error);
        }
        if (!m_isImporting) {
            const QStringList leftovers =
                QDir(root).entryList({StagingFolder::prefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks);
            for (const QString &leftover : leftovers)
                SafeFiles::removeAll(QDir(root).filePath(leftover));
        }
    }
    return {};
}

Result<void> SoundPackManager::prepareLibrary()
{
    if (auto made = makeLibraryFolders(); !made)
        return made;
    if (auto reloaded = reload(); !reloaded)
        return reloaded;

    QList<BundledCopy> copies;
    for (PackKind kind : allCases<PackKind>()) {
        const auto bundled = load(QDir(m_resourceBundle).filePath(bundledFolder(kind)), kind);
        if (!bundled)
            continue;
        QList<LoadedSoundPack> listed = kind == PackKind::keyboard ? m_keyboardPacks : m_reactionPacks;
        const qsizetype installed = listed.size();
        for (const LoadedSoundPack &candidate : *bundled) {
            if (pack(candidate.id(), kind))
                continue;
            listed.append(candidate);
            copies.append({candidate.directory, kind == PackKind::keyboard ? keyboardRoot() : reactionRoot(), kind});
        }
        if (listed.size() == installed)
            continue;
        SoundPackLibrary::sortByName(listed);
        kind == PackKind::keyboard ? setKeyboardPacks(listed) : setReactionPacks(listed);
    }
    if (copies.isEmpty()) {
        emit libraryPrepared();
        return {};
    }

    // Copying validates every sample, which takes a while on a first start; the packs are
    // listed from the bundle meanwhile, so they can be chosen and loaded at once.
    const QFuture<void> work = installInBackground(copies);
    m_bundledCopies = work;
    auto *watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        if (auto reloaded = reload(); !reloaded)
            setLastError(reloaded.error().message);
        emit libraryPrepared();
    });
    watcher->setFuture(work);
    return {};
}

Result<QList<LoadedSoundPack>> SoundPackManager::load(const QString &folder, PackKind kind)
{
    return SoundPackLibrary::load(folder, kind);
}

Result<void> SoundPackManager::reload()
{
    auto keyboard = load(keyboardRoot(), PackKind::keyboard);
    if (!keyboard)
        return std::unexpected(keyboard.error());
    setKeyboardPacks(*keyboard);
    auto reaction = load(reactionRoot(), PackKind::reaction);
    if (!reaction)
        return std::unexpected(reaction.error());
    setReactionPacks(*reaction);
    return {};
}

std::optional<LoadedSoundPack> SoundPackManager::pack(const QString &id, PackKind kind) const
{
    for (const LoadedSoundPack &candidate : kind == PackKind::keyboard ? m_keyboardPacks : m_reactionPacks) {
        if (candidate.id() == id)
            return candidate;
    }
    return std::nullopt;
}

void SoundPackManager::setKeyboardPacks(const QList<LoadedSoundPack> &packs)
{
    m_keyboardPacks = packs;
    emit keyboardPacksChanged();
    emit changed();
}

void SoundPackManager::setReactionPacks(const QList<LoadedSoundPack> &packs)
{
    m_reactionPacks = packs;
    emit reactionPacksChanged();
    emit changed();
}

void SoundPackManager::importPack(PackKind kind)
{
    if (m_isImporting)
        return;
    PackOpenPanel panel(kind, QApplication::activeWindow());
    panel.setDirectory(m_dialogFolders.start(DialogFolders::Kind::packs));
    if (panel.exec() != QDialog::Accepted)
        return;
    // A chosen pack folder is reopened from the folder that holds it.
    if (!panel.selectedFiles().isEmpty())
        m_dialogFolders.remember(DialogFolders::Kind::packs, QFileInfo(panel.selectedFiles().first()).absolutePath());
    importPaths(panel.selectedFiles(), kind);
}

void SoundPackManager::importPaths(const QStringList &paths, PackKind kind)
{
    if (m_isImporting)
        return;
    if (paths.isEmpty())
        return;
    if (kind == PackKind::keyboard && (paths.size() != 1 || itemType(paths.first()) == ItemType::audio)) {
        setLastError(PackImportError::message(PackImportError::unsupportedItems));
        return;
    }

    auto progress = std::make_shared<ImportProgress>();
    m_importProgress = progress;
    setImportNotice(std::nullopt);
    setImporting(true);
    const QString root = kind == PackKind::keyboard ? keyboardRoot() : reactionRoot();
    const QFuture<ImportOutcome> work =
        QtConcurrent::run([paths, kind, root, progress] { return runImport(paths, kind, root, progress); });
    m_import = QFuture<void>(work);
    // Always from the event loop, never inside importPaths when the work was quick.
    whenFinished(work, this, [this](const ImportOutcome &outcome) { finishImport(outcome.installed, outcome.error); });
}

void SoundPackManager::finishImport(QList<LoadedSoundPack> installed, std::optional<Error> error)
{
    // A cancel that came after the worker's last check still undoes the import.
    if (!error && m_importProgress && m_importProgress->isCancelled()) {
        removeInstalled(installed);
        installed.clear();
        error = PackImportError::make(PackImportError::cancelled);
    }
    if (auto reloaded = reload(); !reloaded)
        setLastError(reloaded.error().message);

    if (!error) {
        setImportNotice(installed.size() == 1 ? QStringLiteral("Installed “%1”.").arg(installed.first().manifest.name)
                                              : QStringLiteral("Installed %1 packs.").arg(installed.size()));
    } else if (error->domain == PackImportError::domain && error->code == PackImportError::cancelled) {
        setImportNotice(QStringLiteral("Import cancelled. Nothing was installed."));
    } else {
        setLastError(error->message);
    }
    m_importProgress.reset();
    setImporting(false);
    emit importFinished();
}

void SoundPackManager::setImporting(bool importing)
{
    publish(this, m_isImporting, importing, &SoundPackManager::isImportingChanged);
}

void SoundPackManager::setImportNotice(const std::optional<QString> &notice)
{
    publish(this, m_importNotice, notice, &SoundPackManager::importNoticeChanged);
}

void SoundPackManager::setLastError(const std::optional<QString> &message)
{
    publish(this, m_lastError, message, &SoundPackManager::lastErrorChanged);
}
