#pragma once

#include "Foundation/Error.h"
#include "Models/LoadedSoundPack.h"
#include "Services/ContentEdition.h"
#include "Services/DialogFolders.h"

#include <QFuture>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class ImportProgress;

// The pack library of one content edition: its "Keyboard Packs" and "Reaction Packs" folders,
// the packs listed in them, and imports into them. Used on the GUI thread; imports do their
// file work on a worker thread and publish the outcome back here.
class SoundPackManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<LoadedSoundPack> keyboardPacks READ keyboardPacks WRITE setKeyboardPacks NOTIFY keyboardPacksChanged)
    Q_PROPERTY(QList<LoadedSoundPack> reactionPacks READ reactionPacks WRITE setReactionPacks NOTIFY reactionPacksChanged)
    Q_PROPERTY(bool isImporting READ isImporting NOTIFY isImportingChanged)
    Q_PROPERTY(std::optional<QString> importNotice READ importNotice NOTIFY importNoticeChanged)
    Q_PROPERTY(std::optional<QString> lastError READ lastError WRITE setLastError NOTIFY lastErrorChanged)

public:
    using PackKind = SoundPackManifest::PackKind;

    // The edition's library in the user's data folder, filled from the application's bundle.
    explicit SoundPackManager(ContentEdition edition, QObject *parent = nullptr);
    // A library at `libraryRoot`, filled from the packs under `resourceBundle`.
    SoundPackManager(const QString &libraryRoot, const QString &resourceBundle, QObject *parent = nullptr);
    ~SoundPackManager() override;

    QString libraryRoot() const { return m_libraryRoot; }
    QString keyboardRoot() const;
    QString reactionRoot() const;

    // Creates both library folders, clears staging folders an interrupted import left and
    // refreshes both lists; then copies every bundled pack whose identifier is not installed
    // yet (never replacing a user's pack) on a worker thread. Until its copy is in place such a
    // pack is listed from the bundle. libraryPrepared follows once the copies are done.
    Result<void> prepareLibrary();

    static Result<QList<LoadedSoundPack>> load(const QString &folder, PackKind kind);

    // keyboardPacks from keyboardRoot, then reactionPacks from reactionRoot; a failed keyboard
    // reload leaves both lists as they were.
    Result<void> reload();

    std::optional<LoadedSoundPack> pack(const QString &id, PackKind kind) const;

    QList<LoadedSoundPack> keyboardPacks() const { return m_keyboardPacks; }
    void setKeyboardPacks(const QList<LoadedSoundPack> &packs);
    QList<LoadedSoundPack> reactionPacks() const { return m_reactionPacks; }
    void setReactionPacks(const QList<LoadedSoundPack> &packs);

    // Shows the open panel and imports what the user chooses; nothing while an import runs.
    void importPack(PackKind kind);
    // Where the import panel and the studio's file dialogs open.
    DialogFolders &dialogFolders() { return m_dialogFolders; }

    // Imports already chosen items without a panel: for keyboard one folder or ZIP archive; for
    // reaction any folders and ZIP archives plus loose audio files, which together become one new
    // pack. Either everything chosen is installed or nothing is. Returns at once; importFinished
    // follows. Nothing happens while an import runs.
    void importPaths(const QStringList &paths, PackKind kind);

    bool isImporting() const { return m_isImporting; }
    // The running import's cancellation, or null when none runs.
    std::shared_ptr<ImportProgress> importProgress() const { return m_importProgress; }
    std::optional<QString> importNotice() const { return m_importNotice; }
    std::optional<QString> lastError() const { return m_lastError; }
    void setLastError(const std::optional<QString> &message);

signals:
    void keyboardPacksChanged();
    void reactionPacksChanged();
    void isImportingChanged(bool importing);
    void importNoticeChanged();
    void lastErrorChanged();
    void changed();
    void importFinished();
    void libraryPrepared();

private:
    // Makes the two kind folders and clears staging leftovers of an interrupted import.
    Result<void> makeLibraryFolders();
    void setImporting(bool importing);
    void setImportNotice(const std::optional<QString> &notice);
    void finishImport(QList<LoadedSoundPack> installed, std::optional<Error> error);

    QString m_libraryRoot;
    QString m_resourceBundle;
    DialogFolders m_dialogFolders;
    QList<LoadedSoundPack> m_keyboardPacks;
    QList<LoadedSoundPack> m_reactionPacks;
    bool m_isImporting = false;
    std::shared_ptr<ImportProgress> m_importProgress;
    QFuture<void> m_import;
    QFuture<void> m_bundledCopies;
    std::optional<QString> m_importNotice;
    std::optional<QString> m_lastError;
};
