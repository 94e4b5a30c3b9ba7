#pragma once

#include "Foundation/Error.h"
#include "Foundation/PrivateTempDir.h"
#include "Models/KeyGroup.h"
#include "Models/KeyPhase.h"
#include "Services/Studio/AudioClipDraft.h"
#include "Services/Studio/DecodedClip.h"
#include "Services/Studio/StudioPackExporter.h"
#include "Services/Studio/StudioPreviewPlayer.h"
#include "Services/Studio/StudioSample.h"
#include "Services/Studio/WaveformEnvelope.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>
#include <vector>

class AppShell;
class SoundPackManager;

// The sound studio without its widgets: one clip with its draft and the controls that propose
// the next edit, the edit actions, the preview, and the list of edited clips that becomes a
// new pack. Decoding and pack writing run on worker threads and report back here only while
// the model exists; the work cleans up after itself either way.
class ClipStudioModel final : public QObject {
    Q_OBJECT

public:
    static constexpr int envelopeBins = 512;
    static constexpr qsizetype maximumAssignments = StudioPackExporter::maximumSamples;
    // About −50 dB of full scale, with 10 ms of quiet kept on each side.
    static constexpr float quietThreshold = 0.0032f;
    static constexpr double quietPaddingSeconds = 0.01;

    static inline const QString selectionRefused =
        QStringLiteral("Selection must contain audio, and fades must fit inside it.");

    // `packManager` absent: nothing can be installed. `shell` absent: exports are not revealed.
    ClipStudioModel(SoundPackManager *packManager, std::unique_ptr<StudioPreviewPlayer> player, AppShell *shell,
                    QObject *parent = nullptr);
    ~ClipStudioModel() override;

    const std::optional<DecodedClip> &clip() const { return m_clip; }
    const std::optional<AudioClipDraft> &draft() const { return m_draft; }
    const std::vector<WaveformBin> &bins() const { return m_bins; }
    qint64 totalFrames() const { return m_clip ? m_clip->frameCount() : 0; }

    double start() const { return m_start; }
    double end() const { return m_end; }
    double gain() const { return m_gain; }
    double fadeIn() const { return m_fadeIn; }
    double fadeOut() const { return m_fadeOut; }
    void setStart(double value);
    void setEnd(double value);
    void setGain(double value);
    void setFadeIn(double value);
    void setFadeOut(double value);

    const std::optional<QString> &error() const { return m_error; }
    const std::optional<QString> &notice() const { return m_notice; }
    bool busy() const { return m_busy; }
    const std::optional<QString> &previewPath() const { return m_previewPath; }

    const std::vector<StudioSample> &assignments() const { return m_assignments; }
    KeyGroup group() const { return m_group; }
    KeyPhase phase() const { return m_phase; }
    bool reactionPack() const { return m_reactionPack; }
    const QString &packName() const { return m_packName; }
    const QString &creator() const { return m_creator; }
    const QString &rights() const { return m_rights; }
    void setGroup(KeyGroup group);
    void setPhase(KeyPhase phase);
    void setReactionPack(bool reaction);
    void setPackName(const QString &name);
    void setCreator(const QString &creator);
    void setRights(const QString &rights);

    bool hasPackManager() const { return !m_packManager.isNull(); }
    bool canAddToPack() const { return m_clip && qsizetype(m_assignments.size()) < maximumAssignments; }
    bool canExportPack() const { return !m_assignments.empty() && !m_busy; }
    bool canInstallPack() const { return canExportPack() && hasPackManager(); }

    // "1.50 seconds · 48000 Hz"; empty without a clip.
    QString clipInfo() const;
    // "2 / 256 samples".
    QString counterText() const;
    // "1. regular · down" for the entry at `index`.
    QString assignmentText(qsizetype index) const;

    // The controls as an edit of the loaded clip.
    AudioClipEdit proposedEdit() const;
    // The controls from the draft's current edit.
    void syncControls();

    // Decodes the file on a worker; nothing while busy.
    void load(const QString &path);
    // Takes exactly one local file while not busy; false refuses the drop.
    bool drop(const QList<QUrl> &urls);

    void applyEdit();
    void undo();
    void redo();
    void normalize();
    void trimQuietEdges();
    void resetToOriginal();
    // Records the controls' edit, then writes and starts the preview on a worker.
    void preview();
    // Records the controls' edit before the save panel opens; false when it was refused.
    bool prepareExport();
    // Writes the current edit at `path`, which the save panel gave.
    void exportWav(const QString &path);

    void addToPack();
    void removeAssignment(qsizetype index);
    // Writes the pack as a new folder inside `parentFolder` and reveals it.
    void exportPack(const QString &parentFolder);
    // Writes the pack into a private temporary folder and installs it into the library.
    void installPack();

    // The studio went away: the preview stops and its file is deleted.
    void close();

signals:
    void changed();
    // A new clip replaced the previous one (and its envelope).
    void clipLoaded();

private:
    struct Loaded;
    struct SaveOutcome;

    bool recordProposal();
    void setBusy(bool busy);
    void setError(std::optional<QString> error);
    void setNotice(std::optional<QString> notice);
    void finishLoad(Result<Loaded> loaded);
    void finishPreview(quint64 generation, const QString &path, Result<StudioPreviewPlayer::Sound> sound);
    void startSave(bool install, const QString &parentFolder);
    void finishSave(const SaveOutcome &outcome);
    template <typename T>
    void setControl(T &field, T value);

    QPointer<SoundPackManager> m_packManager;
    std::unique_ptr<StudioPreviewPlayer> m_player;
    AppShell *m_shell = nullptr;

    std::optional<DecodedClip> m_clip;
    std::optional<AudioClipDraft> m_draft;
    std::vector<WaveformBin> m_bins;
    double m_start = 0;
    double m_end = 1;
    double m_gain = 1;
    double m_fadeIn = 0;
    double m_fadeOut = 0;
    std::optional<QString> m_error;
    std::optional<QString> m_notice;
    bool m_busy = false;
    std::shared_ptr<PrivateTempDir> m_previewFolder;
    std::optional<QString> m_previewPath;
    // Counts previews started (and loads and closing, which stop them), so only the latest
    // preview plays.
    quint64 m_previewGeneration = 0;

    std::vector<StudioSample> m_assignments;
    KeyGroup m_group = KeyGroup::regular;
    KeyPhase m_phase = KeyPhase::down;
    bool m_reactionPack = false;
    QString m_packName = QStringLiteral("My Sound Pack");
    QString m_creator;
    QString m_rights = QStringLiteral("Unknown");
};
