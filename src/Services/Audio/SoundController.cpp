#include "Services/Audio/SoundController.h"

#include "Foundation/LogCategories.h"
#include "Foundation/WhenFinished.h"
#include "Services/Audio/MouseSoundPolicy.h"
#include "Services/Audio/SoundBankLoader.h"
#include "Services/ContentEdition.h"
#include "Services/ResourceBundle.h"

#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>

namespace {
const QString loadFailurePrefix = QStringLiteral("Couldn’t load that library. Your previous sound is unchanged. ");
const QString defaultKeyboardPack = QStringLiteral("recorded-cherry");
const QString defaultReactionPack = QStringLiteral("silly-ouchies");
constexpr std::chrono::milliseconds previewReleaseDelay{80};

SoundPackManifest::PackKind packKind(SoundChannel channel)
{
    return channel == SoundChannel::reaction ? SoundPackManifest::PackKind::reaction
                                             : SoundPackManifest::PackKind::keyboard;
}
}

SoundController::SoundController(Platform &platform, SettingsStore &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_scheduler(*platform.scheduler)
    , m_makeAudioOutput(platform.makeAudioOutput)
    , m_clock(*platform.clock)
{
    m_packs = platform.packLibraryRoot.isEmpty()
        ? std::make_unique<SoundPackManager>(ContentEditions::current())
        : std::make_unique<SoundPackManager>(platform.packLibraryRoot, platform.packResourceBundle);
    // File dialogs reopen where the user left them, also after a restart.
    m_packs->dialogFolders().keepIn(*platform.defaults);
    const auto makeEngine = [&platform](int voices) {
        return std::make_unique<AudioEngine>(voices, std::chrono::milliseconds(2000),
                                             platform.makeAudioOutput ? platform.makeAudioOutput() : nullptr,
                                             *platform.clock);
    };
    m_typingEngine = makeEngine(12);
    m_mouseEngine = makeEngine(8);
    m_reactionEngine = makeEngine(1);
    // Sounds decoded at the rate the output left are decoded again at its new one.
    for (const SoundChannel channel : {SoundChannel::keyboard, SoundChannel::mouse, SoundChannel::reaction}) {
        engine(channel).onSampleRateChange([this, channel](int) {
            QMetaObject::invokeMethod(
                this,
                [this, channel] {
                    if (const auto &pack = m_packLoads[std::size_t(channel)].pack)
                        loadSoundPack(pack->id(), channel, SelectionCommit::keep);
                },
                Qt::QueuedConnection);
        });
    }
    m_soundRouter = std::make_unique<SoundRouter>(*m_typingEngine, *m_mouseEngine, *m_reactionEngine);
    m_systemSounds = std::make_unique<BuiltInSystemSoundPlayer>(
        platform.packResourceBundle.isEmpty() ? ResourceBundle::path() : platform.packResourceBundle, makeEngine(2));
    wireSettings();
    connect(m_packs.get(), &SoundPackManager::changed, this, &SoundController::changed);
}

SoundController::~SoundController()
{
    for (PackLoad &load : m_packLoads) {
        if (load.cancelled)
            load.cancelled->store(true);
    }
    // Cancelled, they stop at their next sample.
    for (QFuture<LoadedSounds> &load : m_runningLoads)
        load.waitForFinished();
}

void SoundController::wireSettings()
{
    updateTypingTuning();
    updateMouseTuning();
    updateReactionTuning();
    connect(&m_settings, &SettingsStore::typingEnabledChanged, this, &SoundController::updateTypingTuning);
    connect(&m_settings, &SettingsStore::stereoEnabledChanged, this, &SoundController::updateTypingTuning);
    connect(&m_settings, &SettingsStore::keyboardVolumeChanged, this, &SoundController::updateTypingTuning);
    connect(&m_settings, &SettingsStore::pitchVariationChanged, this, &SoundController::updateTypingTuning);
    connect(&m_settings, &SettingsStore::volumeVariationChanged, this, &SoundController::updateTypingTuning);
    connect(&m_settings, &SettingsStore::mouseEnabledChanged, this, &SoundController::updateMouseTuning);
    connect(&m_settings, &SettingsStore::mouseVolumeChanged, this, &SoundController::updateMouseTuning);
    connect(&m_settings, &SettingsStore::slapEnabledChanged, this, &SoundController::updateReactionTuning);
    connect(&m_settings, &SettingsStore::reactionVolumeChanged, this, &SoundController::updateReactionTuning);

    const auto matchLoudness = [this](bool enabled) {
        for (AudioEngine *engine : {m_typingEngine.get(), m_mouseEngine.get(), m_reactionEngine.get()})
            engine->setLoudnessMatching(enabled);
    };
    matchLoudness(m_settings.normalizePackVolume());
    connect(&m_settings, &SettingsStore::normalizePackVolumeChanged, this, matchLoudness);

    connect(&m_settings, &SettingsStore::selectedKeyboardPackChanged, this, [this](const QString &id) {
        if (m_started && !m_committingSelection)
            loadSoundPack(id, SoundChannel::keyboard, SelectionCommit::keep);
    });
    connect(&m_settings, &SettingsStore::selectedReactionPackChanged, this, [this](const QString &id) {
        if (m_started && !m_committingSelection)
            loadSoundPack(id, SoundChannel::reaction, SelectionCommit::keep);
    });
}

void SoundController::start()
{
    m_packs->prepareLibrary();
    settleSelections();
    // The keyboard pack decodes first, so the first key is heard soonest; the mouse pack, most
    // often the same one, follows it and then shares its decoded sounds.
    const QFuture<bool> keyboard =
        loadSoundPack(m_settings.selectedKeyboardPack(), SoundChannel::keyboard, SelectionCommit::keep);
    loadSoundPack(m_settings.selectedReactionPack(), SoundChannel::reaction, SelectionCommit::keep);
    m_pendingSoundPackIDs.insert(SoundChannel::mouse, m_settings.selectedMousePack());
    emit pendingSoundPackIDsChanged();
    whenFinished(keyboard, this, [this](bool) {
        // A choice made meanwhile has loaded its own pack.
        if (m_packLoads[std::size_t(SoundChannel::mouse)].generation == 0)
            loadSoundPack(m_settings.selectedMousePack(), SoundChannel::mouse, SelectionCommit::keep);
    });
    m_started = true;
}

// The first start after the bundled packs changed picks the new defaults; a selection whose
// pack is gone falls back to one that exists.
void SoundController::settleSelections()
{
    if (!m_settings.installedCC0AudioUpgrade1()) {
        m_settings.setSelectedKeyboardPack(defaultKeyboardPack);
        m_settings.setSelectedReactionPack(defaultReactionPack);
        m_settings.setPitchVariation(0.012);
        m_settings.setVolumeVariation(0.045);
        m_settings.setInstalledCC0AudioUpgrade1(true);
    }
    using Kind = SoundPackManifest::PackKind;
    if (!m_packs->pack(m_settings.selectedKeyboardPack(), Kind::keyboard))
        m_settings.setSelectedKeyboardPack(defaultKeyboardPack);
    if (!m_packs->pack(m_settings.selectedMousePack(), Kind::keyboard))
        m_settings.setSelectedMousePack(m_settings.selectedKeyboardPack());
    if (!m_packs->pack(m_settings.selectedReactionPack(), Kind::reaction))
        m_settings.setSelectedReactionPack(defaultReactionPack);
}

AudioEngine &SoundController::engine(SoundChannel channel)
{
    switch (channel) {
    case SoundChannel::keyboard:
        return *m_typingEngine;
    case SoundChannel::mouse:
        return *m_mouseEngine;
    case SoundChannel::reaction:
        break;
    }
    return *m_reactionEngine;
}

void SoundController::handleMouseClick(KeyGroup group)
{
    m_soundRouter->playClick(group);
}

void SoundController::handleImpact(double strength)
{
    m_soundRouter->playImpact(strength);
}

void SoundController::setClickSoundsSuppressed(bool suppressed)
{
    MouseTuning tuning = m_soundRouter->mouseTuning();
    tuning.suppressed = suppressed;
    m_soundRouter->setMouseTuning(tuning);
}

void SoundController::updateTypingTuning()
{
    m_soundRouter->setTypingTuning({m_settings.typingEnabled(), m_settings.keyboardVolume(), m_settings.stereoEnabled(),
                                    m_settings.pitchVariation(), m_settings.volumeVariation()});
}

void SoundController::updateMouseTuning()
{
    MouseTuning tuning = m_soundRouter->mouseTuning();
    tuning.enabled = m_settings.mouseEnabled();
    tuning.volume = m_settings.mouseVolume();
    m_soundRouter->setMouseTuning(tuning);
}

void SoundController::updateReactionTuning()
{
    m_soundRouter->setReactionTuning({m_settings.slapEnabled(), m_settings.reactionVolume()});
}

QFuture<bool> SoundController::selectSoundPack(const QString &id, SoundChannel channel)
{
    return loadSoundPack(id, channel, SelectionCommit::write);
}

QFuture<bool> SoundController::loadSoundPack(const QString &id, SoundChannel channel, SelectionCommit commit)
{
    PackLoad &load = m_packLoads[std::size_t(channel)];
    if (load.cancelled)
        load.cancelled->store(true);
    const quint64 generation = ++load.generation;
    load.latest->store(generation);
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    load.cancelled = cancelled;

    m_pendingSoundPackIDs.insert(channel, id);
    emit pendingSoundPackIDsChanged();
    emit changed();

    const std::optional<LoadedSoundPack> pack = m_packs->pack(id, packKind(channel));
    AudioEngine *target = &engine(channel);
    // Another channel playing the very same pack at the engine's rate lends its decoded sounds.
    std::vector<std::shared_ptr<const SoundBank>> lenders;
    for (const PackLoad &other : m_packLoads) {
        if (pack && other.bank && other.pack == *pack)
            lenders.push_back(other.bank);
    }
    // The engine takes the sounds straight from the worker, so the first keys after launch
    // are heard without waiting for the GUI thread, which may still be building windows. The
    // sounds are decoded at the rate the engine knows now, a default until its output told it.
    QFuture<LoadedSounds> work =
        QtConcurrent::run([pack, lenders, cancelled, target, latest = load.latest, generation]() -> LoadedSounds {
            if (!pack)
                return failure(SoundPackError::domain, SoundPackError::invalid,
                               QStringLiteral("Choose an available sound library."));
            const int sampleRate = target->sampleRate();
            const auto lender = std::ranges::find_if(
                lenders, [sampleRate](const auto &bank) { return bank->sampleRate() == sampleRate; });
            LoadedSounds loaded = lender != lenders.end() ? LoadedSounds(*lender)
                                                          : SoundBankLoader::load(*pack, sampleRate, cancelled.get());
            if (loaded)
                target->setSounds(*loaded, [latest, generation] { return latest->load() == generation; });
            return loaded;
        });
    m_runningLoads.removeIf([](const QFuture<LoadedSounds> &running) { return running.isFinished(); });
    m_runningLoads.append(work);
    auto outcome = std::make_shared<QPromise<bool>>();
    outcome->start();
    // Delivered from the event loop even when the load finished at once, so the caller
    // always sees the pending state first.
    whenFinished(work, this, [this, outcome, id, channel, commit, generation, pack](const LoadedSounds &loaded) {
        const bool committed = finishSoundPackLoad(id, channel, commit, generation, loaded);
        if (committed) {
            PackLoad &current = m_packLoads[std::size_t(channel)];
            current.pack = *pack;
            current.bank = *loaded;
            // The output's rate came while the pack was decoded at the default: before this
            // commit, so no announcement of it found a pack to decode again.
            if (current.bank->sampleRate() != engine(channel).sampleRate())
                loadSoundPack(id, channel, SelectionCommit::keep);
        }
        outcome->addResult(committed);
        outcome->finish();
    });
    return outcome->future();
}

bool SoundController::finishSoundPackLoad(const QString &id, SoundChannel channel, SelectionCommit commit,
                                          quint64 generation, const LoadedSounds &loaded)
{
    PackLoad &current = m_packLoads[std::size_t(channel)];
    if (current.generation != generation)
        return false;
    current.cancelled.reset();
    m_pendingSoundPackIDs.remove(channel);
    emit pendingSoundPackIDsChanged();
    emit changed();
    if (!loaded) {
        qCInfo(logPacks) << "pack" << id << "failed to load:" << loaded.error().domain << loaded.error().code
                         << loaded.error().message;
        setAudioError(channel, loadFailurePrefix + loaded.error().message);
        return false;
    }
    if (channel == SoundChannel::mouse) {
        MouseTuning tuning = m_soundRouter->mouseTuning();
        tuning.groupTable = MouseSoundPolicy::groupTable(**loaded);
        m_soundRouter->setMouseTuning(tuning);
    }
    // The worker's hand-over is dropped when a newer choice began before the engine's queue
    // reached it; a pack committed here must reach the engine all the same.
    engine(channel).setSounds(*loaded);
    setAudioError(channel, std::nullopt);
    if (commit == SelectionCommit::write)
        writeSelection(id, channel);
    return true;
}

void SoundController::writeSelection(const QString &id, SoundChannel channel)
{
    m_committingSelection = true;
    switch (channel) {
    case SoundChannel::keyboard:
        m_settings.setSelectedKeyboardPack(id);
        break;
    case SoundChannel::mouse:
        m_settings.setSelectedMousePack(id);
        break;
    case SoundChannel::reaction:
        m_settings.setSelectedReactionPack(id);
        break;
    }
    m_committingSelection = false;
}

void SoundController::setAudioError(SoundChannel channel, const std::optional<QString> &message)
{
    std::optional<QString> &error = m_audioErrors[std::size_t(channel)];
    if (error == message)
        return;
    error = message;
    switch (channel) {
    case SoundChannel::keyboard:
        emit keyboardAudioErrorChanged();
        break;
    case SoundChannel::mouse:
        emit mouseAudioErrorChanged();
        break;
    case SoundChannel::reaction:
        emit reactionAudioErrorChanged();
        break;
    }
    emit changed();
}

void SoundController::previewKeyboard()
{
    const double volume = m_settings.keyboardVolume();
    if (!std::isfinite(volume))
        return;
    SoundRequest press;
    press.volume = std::clamp(volume, 0.0, SoundRouter::maxVolume);
    m_typingEngine->play(press);
    SoundRequest release = press;
    release.phase = KeyPhase::up;
    m_scheduler.schedule(previewReleaseDelay, this, [this, release] { m_typingEngine->play(release); });
}

void SoundController::previewMouse()
{
    const MouseTuning tuning = m_soundRouter->mouseTuning();
    const double volume = m_settings.mouseVolume();
    if (!std::isfinite(volume))
        return;
    SoundRequest click;
    click.group = tuning.groupTable[std::size_t(KeyGroup::mouseLeft)];
    click.volume = std::clamp(volume, 0.0, SoundRouter::maxVolume);
    click.volumeVariation = SoundRouter::clickVolumeVariation;
    click.pitchVariation = SoundRouter::clickPitchVariation;
    m_mouseEngine->play(click);
}

void SoundController::previewReaction()
{
    const double volume = m_settings.reactionVolume();
    if (!std::isfinite(volume))
        return;
    SoundRequest reaction;
    reaction.group = KeyGroup::reaction;
    reaction.volume = std::clamp(volume, 0.0, SoundRouter::maxVolume);
    m_reactionEngine->play(reaction);
}

std::unique_ptr<StudioPreviewPlayer> SoundController::makeStudioPreviewPlayer()
{
    return std::make_unique<StudioPreviewPlayer>(m_makeAudioOutput ? m_makeAudioOutput() : nullptr, m_clock);
}
