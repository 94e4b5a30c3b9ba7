#include "Views/Studio/ClipStudioModel.h"

#include "Foundation/WhenFinished.h"

#include "Platform/AppShell.h"
#include "Services/Packs/SoundPackInstaller.h"
#include "Services/Packs/SoundPackManager.h"
#include "Services/Studio/ClipFile.h"
#include "Services/Studio/ClipSelection.h"

#include <QDir>
#include <QFile>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>

struct ClipStudioModel::Loaded {
    DecodedClip clip;
    AudioClipDraft draft;
    std::vector<WaveformBin> bins;
};

struct ClipStudioModel::SaveOutcome {
    bool install = false;
    QString destination;
    std::optional<Error> error;
};

namespace {
// Runs `finish` with the work's result from `context`'s event loop, never inside the call that
// started the work, even when the work was done before this was attached; nothing runs once
// `context` is gone.
template <typename T, typename Finish>
void finishFromEventLoop(QFuture<T> work, QObject *context, Finish finish)
{
    whenFinished(work, context, [finish = std::move(finish)](T result) mutable { finish(std::move(result)); });
}

QString upperUuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}
}

ClipStudioModel::ClipStudioModel(SoundPackManager *packManager, std::unique_ptr<StudioPreviewPlayer> player,
                                 AppShell *shell, QObject *parent)
    : QObject(parent)
    , m_packManager(packManager)
    , m_player(std::move(player))
    , m_shell(shell)
{
}

ClipStudioModel::~ClipStudioModel()
{
    close();
}

template <typename T>
void ClipStudioModel::setControl(T &field, T value)
{
    if (field == value)
        return;
    field = std::move(value);
    emit changed();
}

void ClipStudioModel::setStart(double value) { setControl(m_start, value); }
void ClipStudioModel::setEnd(double value) { setControl(m_end, value); }
void ClipStudioModel::setGain(double value) { setControl(m_gain, value); }
void ClipStudioModel::setFadeIn(double value) { setControl(m_fadeIn, value); }
void ClipStudioModel::setFadeOut(double value) { setControl(m_fadeOut, value); }
void ClipStudioModel::setGroup(KeyGroup group) { setControl(m_group, group); }
void ClipStudioModel::setPhase(KeyPhase phase) { setControl(m_phase, phase); }
void ClipStudioModel::setReactionPack(bool reaction) { setControl(m_reactionPack, reaction); }
void ClipStudioModel::setPackName(const QString &name) { setControl(m_packName, name); }
void ClipStudioModel::setCreator(const QString &creator) { setControl(m_creator, creator); }
void ClipStudioModel::setRights(const QString &rights) { setControl(m_rights, rights); }

void ClipStudioModel::setBusy(bool busy) { setControl(m_busy, busy); }
void ClipStudioModel::setError(std::optional<QString> error) { setControl(m_error, std::move(error)); }
void ClipStudioModel::setNotice(std::optional<QString> notice) { setControl(m_notice, std::move(notice)); }

QString ClipStudioModel::clipInfo() const
{
    if (!m_clip)
        return {};
    return QString::asprintf("%.2f seconds · %.0f Hz", double(m_clip->frameCount()) / m_clip->sampleRate,
                             m_clip->sampleRate);
}

QString ClipStudioModel::counterText() const
{
    return QStringLiteral("%1 / 256 samples").arg(m_assignments.size());
}

QString ClipStudioModel::assignmentText(qsizetype index) const
{
    const StudioSample &sample = m_assignments.at(std::size_t(index));
    return QStringLiteral("%1. %2 · %3").arg(index + 1).arg(rawValue(sample.group), rawValue(sample.phase));
}

AudioClipEdit ClipStudioModel::proposedEdit() const
{
    const double frames = double(totalFrames());
    const double rate = m_clip ? m_clip->sampleRate : 0;
    return AudioClipEdit{ClipSelection::frameAt(m_start, frames), ClipSelection::frameAt(m_end, frames), float(m_gain),
                         ClipSelection::frameAt(m_fadeIn, rate), ClipSelection::frameAt(m_fadeOut, rate)};
}

void ClipStudioModel::syncControls()
{
    if (!m_clip || !m_draft)
        return;
    const double frames = double(m_clip->frameCount());
    const double rate = m_clip->sampleRate;
    const AudioClipEdit &edit = m_draft->edit();
    setStart(double(edit.startFrame) / frames);
    setEnd(double(edit.endFrame) / frames);
    setGain(double(edit.gain));
    setFadeIn(double(edit.fadeInFrames) / rate);
    setFadeOut(double(edit.fadeOutFrames) / rate);
}

void ClipStudioModel::load(const QString &path)
{
    if (m_busy)
        return;
    ++m_previewGeneration;
    m_player->stop();
    setError(std::nullopt);
    setBusy(true);
    auto work = QtConcurrent::run([path]() -> Result<Loaded> {
        auto clip = ClipFile::load(path);
        if (!clip)
            return std::unexpected(clip.error());
        auto draft = AudioClipDraft::wholeClip(clip->samples);
        if (!draft)
            return std::unexpected(draft.error());
        auto bins = WaveformEnvelope::make(clip->view(), envelopeBins);
        if (!bins)
            return std::unexpected(bins.error());
        return Loaded{std::move(*clip), std::move(*draft), std::move(*bins)};
    });
    finishFromEventLoop(work, this, [this](Result<Loaded> loaded) { finishLoad(std::move(loaded)); });
}

void ClipStudioModel::finishLoad(Result<Loaded> loaded)
{
    if (!loaded) {
        setError(loaded.error().message);
    } else {
        m_clip = std::move(loaded->clip);
        m_draft = std::move(loaded->draft);
        m_bins = std::move(loaded->bins);
        syncControls();
        emit clipLoaded();
        emit changed();
    }
    setBusy(false);
}

bool ClipStudioModel::drop(const QList<QUrl> &urls)
{
    if (m_busy || urls.size() != 1)
        return false;
    if (urls.first().isLocalFile())
        load(urls.first().toLocalFile());
    else
        setError(QStringLiteral("Drop one local audio file."));
    return true;
}

bool ClipStudioModel::recordProposal()
{
    if (!m_draft->apply(proposedEdit())) {
        setError(selectionRefused);
        return false;
    }
    emit changed();
    return true;
}

void ClipStudioModel::applyEdit()
{
    if (!m_clip || !recordProposal())
        return;
    setError(std::nullopt);
}

void ClipStudioModel::undo()
{
    if (m_clip && m_draft->undo()) {
        syncControls();
        emit changed();
    }
}

void ClipStudioModel::redo()
{
    if (m_clip && m_draft->redo()) {
        syncControls();
        emit changed();
    }
}

void ClipStudioModel::normalize()
{
    if (!m_clip)
        return;
    if (auto normalized = m_draft->normalize(proposedEdit()); !normalized) {
        setError(normalized.error().message);
        return;
    }
    syncControls();
    setError(std::nullopt);
    emit changed();
}

void ClipStudioModel::trimQuietEdges()
{
    if (!m_clip)
        return;
    const auto padding = qint64(m_clip->sampleRate * quietPaddingSeconds);
    const auto trimmed = m_draft->trimSilence(proposedEdit(), quietThreshold, padding);
    if (!trimmed) {
        setError(QStringLiteral("Choose a valid selection before trimming quiet edges."));
        return;
    }
    if (*trimmed) {
        syncControls();
        setNotice(QStringLiteral("Quiet edges trimmed. Undo restores the previous edit."));
    } else {
        setNotice(QStringLiteral("No quiet edges to trim in this selection."));
    }
    setError(std::nullopt);
    emit changed();
}

void ClipStudioModel::resetToOriginal()
{
    if (!m_clip)
        return;
    if (auto reset = m_draft->apply(AudioClipEdit::wholeClip(qint64(m_draft->samples().size()))); !reset) {
        setError(reset.error().message);
        return;
    }
    syncControls();
    setError(std::nullopt);
    setNotice(QStringLiteral("Original selection and levels restored. You can undo this."));
    emit changed();
}

void ClipStudioModel::preview()
{
    if (!m_clip || !recordProposal())
        return;
    setError(std::nullopt);
    m_player->stop();
    if (m_previewPath)
        QFile::remove(*m_previewPath);
    if (!m_previewFolder) {
        auto folder = PrivateTempDir::create(QStringLiteral("knockwell-studio-"));
        if (!folder) {
            setError(folder.error().message);
            return;
        }
        m_previewFolder = std::make_shared<PrivateTempDir>(std::move(*folder));
    }
    const QString path = m_previewFolder->filePath(QStringLiteral("knockwell-preview-%1.wav").arg(upperUuid()));
    m_previewPath = path;
    const quint64 generation = ++m_previewGeneration;
    // Writing and reading back 30 s at 192 kHz takes far longer than a frame, and the output's
    // rate may wait on the sound server.
    // The worker shares the folder, so a studio closed meanwhile leaves it to the worker to remove.
    // It lets go before its result is delivered: the pool destroys a finished task's captures
    // only later, and a close after the result must remove the folder at once.
    auto work = QtConcurrent::run([clip = *m_clip, edit = m_draft->edit(), path, folder = m_previewFolder,
                                   rate = m_player->sampleRateQuery()]() mutable -> Result<StudioPreviewPlayer::Sound> {
        auto sound = [&]() -> Result<StudioPreviewPlayer::Sound> {
            if (auto written = ClipFile::exportClip(clip.view(), clip.sampleRate, edit, path); !written)
                return std::unexpected(written.error());
            return StudioPreviewPlayer::prepare(path, rate());
        }();
        folder.reset();
        return sound;
    });
    finishFromEventLoop(work, this, [this, generation, path](Result<StudioPreviewPlayer::Sound> sound) {
        finishPreview(generation, path, std::move(sound));
    });
}

void ClipStudioModel::finishPreview(quint64 generation, const QString &path, Result<StudioPreviewPlayer::Sound> sound)
{
    // A newer preview, or the studio's closing, has replaced this one.
    if (generation != m_previewGeneration) {
        QFile::remove(path);
        return;
    }
    if (!sound) {
        setError(sound.error().message);
        return;
    }
    m_player->play(std::move(*sound), [this, generation](std::optional<Error> failure) {
        QMetaObject::invokeMethod(
            this,
            [this, generation, failure] {
                if (generation == m_previewGeneration)
                    setError(failure ? std::optional<QString>(failure->message) : std::nullopt);
            },
            Qt::QueuedConnection);
    });
}

bool ClipStudioModel::prepareExport()
{
    if (!m_clip || !recordProposal())
        return false;
    setError(std::nullopt);
    return true;
}

void ClipStudioModel::exportWav(const QString &path)
{
    if (!m_clip)
        return;
    auto written = ClipFile::exportClip(m_clip->view(), m_clip->sampleRate, m_draft->edit(), path);
    setError(written ? std::nullopt : std::optional<QString>(written.error().message));
}

void ClipStudioModel::addToPack()
{
    if (!canAddToPack() || !recordProposal())
        return;
    setError(std::nullopt);
    m_assignments.push_back(StudioSample{*m_clip, m_draft->edit(), m_group, m_phase});
    setNotice(QStringLiteral("Added the applied edit to your pack."));
    emit changed();
}

void ClipStudioModel::removeAssignment(qsizetype index)
{
    if (index < 0 || index >= qsizetype(m_assignments.size()))
        return;
    m_assignments.erase(m_assignments.begin() + index);
    emit changed();
}

void ClipStudioModel::exportPack(const QString &parentFolder)
{
    startSave(false, parentFolder);
}

void ClipStudioModel::installPack()
{
    if (!hasPackManager())
        return;
    startSave(true, {});
}

void ClipStudioModel::startSave(bool install, const QString &parentFolder)
{
    if (m_busy || m_assignments.empty())
        return;
    const QString folderName = QStringLiteral("Sound Pack ") + upperUuid().left(8);
    const QString name = m_packName;
    const QString author = m_creator;
    const QString license = m_rights;
    const auto kind = m_reactionPack ? SoundPackManifest::PackKind::reaction : SoundPackManifest::PackKind::keyboard;
    const std::vector<StudioSample> samples = m_assignments;
    setBusy(true);
    setError(std::nullopt);
    setNotice(std::nullopt);

    if (!install) {
        const QString destination = QDir(parentFolder).filePath(folderName);
        auto work = QtConcurrent::run([=]() -> SaveOutcome {
            auto written = StudioPackExporter::exportPack(name, author, license, kind, samples, destination);
            return SaveOutcome{false, destination, written ? std::nullopt : std::optional(written.error())};
        });
        finishFromEventLoop(work, this, [this](const SaveOutcome &outcome) { finishSave(outcome); });
        return;
    }

    const QString root = kind == SoundPackManifest::PackKind::reaction ? m_packManager->reactionRoot()
                                                                       : m_packManager->keyboardRoot();
    // The staging folder lives and dies on the worker, so it is gone whatever becomes of the
    // studio meanwhile.
    auto work = QtConcurrent::run([=]() -> SaveOutcome {
        auto staging = PrivateTempDir::create(QStringLiteral("knockwell-studio-"));
        if (!staging)
            return SaveOutcome{true, {}, staging.error()};
        const QString destination = staging->filePath(folderName);
        if (auto written = StudioPackExporter::exportPack(name, author, license, kind, samples, destination); !written)
            return SaveOutcome{true, destination, written.error()};
        if (auto installed = SoundPackInstaller::installFolder(destination, root, kind, nullptr); !installed)
            return SaveOutcome{true, destination, installed.error()};
        return SaveOutcome{true, destination, std::nullopt};
    });
    // The library is refreshed even when the studio has closed meanwhile.
    SoundPackManager *manager = m_packManager.data();
    finishFromEventLoop(work, manager, [manager, model = QPointer(this)](SaveOutcome outcome) {
        if (!outcome.error) {
            if (auto reloaded = manager->reload(); !reloaded)
                outcome.error = reloaded.error();
        }
        if (model)
            model->finishSave(outcome);
    });
}

void ClipStudioModel::finishSave(const SaveOutcome &outcome)
{
    if (outcome.error) {
        setError(outcome.error->message);
    } else if (outcome.install) {
        setNotice(QStringLiteral("Installed. Select your pack from the sound library."));
    } else {
        setNotice(QStringLiteral("Exported to ") + outcome.destination);
        if (m_shell)
            m_shell->revealItem(outcome.destination, [model = QPointer(this), folder = outcome.destination] {
                if (model)
                    model->setNotice(QStringLiteral("Exported. ") + AppShell::folderNotOpenedText(folder));
            });
    }
    setBusy(false);
}

void ClipStudioModel::close()
{
    ++m_previewGeneration;
    m_player->stop();
    m_previewPath.reset();
    m_previewFolder.reset();
}
