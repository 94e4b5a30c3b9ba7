#pragma once

#include "Effects/EffectsController.h"
#include "Effects/ScreenToys/ScreenToyController.h"
#include "Focus/FocusController.h"
#include "Focus/FocusJournalStore.h"
#include "Models/SettingsPage.h"
#include "Platform/Platform.h"
#include "Services/Audio/SoundController.h"
#include "Services/Input/InputController.h"
#include "Services/LaunchAtLoginManager.h"
#include "Services/RunLock.h"
#include "Services/SettingsStore.h"
#include "Views/AppModel.h"

#include <QObject>

#include <memory>
#include <optional>

// The root object: owns the settings and one controller per subsystem, starts the
// application once, asks for windows, and re-announces the change of everything it owns
// as its own so views that observe only this object redraw when anything under them changes.
class AppController final : public AppModel {
    Q_OBJECT
    Q_PROPERTY(PendingSoundPackIDs pendingSoundPackIDs READ pendingSoundPackIDs NOTIFY pendingSoundPackIDsChanged)
    Q_PROPERTY(std::optional<QString> keyboardAudioError READ keyboardAudioError NOTIFY keyboardAudioErrorChanged)
    Q_PROPERTY(std::optional<QString> mouseAudioError READ mouseAudioError NOTIFY mouseAudioErrorChanged)
    Q_PROPERTY(std::optional<QString> reactionAudioError READ reactionAudioError NOTIFY reactionAudioErrorChanged)
    Q_PROPERTY(SettingsPage requestedSettingsPage READ requestedSettingsPage WRITE setRequestedSettingsPage NOTIFY
                   requestedSettingsPageChanged)
    Q_PROPERTY(bool monitorActive READ monitorActive NOTIFY monitorActiveChanged)
    Q_PROPERTY(QString inputCaptureMode READ inputCaptureMode NOTIFY inputCaptureModeChanged)
    Q_PROPERTY(InteractionSnapshot interactionSnapshot READ interactionSnapshot NOTIFY interactionSnapshotChanged)

public:
    using SoundChannel = ::SoundChannel;
    using PendingSoundPackIDs = SoundController::PendingSoundPackIDs;

    // Creates the controllers in their fixed order; makes a settings store over the
    // platform's defaults when none is passed.
    explicit AppController(Platform platform, SettingsStore *settings = nullptr, QObject *parent = nullptr);
    ~AppController() override;

    SettingsStore &settings() override { return *m_settings; }
    UserDefaults &defaults() { return *m_platform.defaults; }
    FocusJournalStore &journal() override { return *m_journal; }
    LaunchAtLoginManager &login() override { return *m_login; }
    SoundController &sound() override { return *m_sound; }
    InputController &input() override { return *m_input; }
    EffectsController &effectsController() override { return *m_effects; }
    FocusController &focusController() override { return *m_focus; }
    AppShell &shell() override { return *m_platform.shell; }
    FocusSessionController &focus() { return m_focus->session(); }

    PermissionManager &permissions() { return m_input->permissions(); }
    ImpactController &impacts() { return m_input->impacts(); }
    InteractionStats &stats() { return m_input->stats(); }
    KeyboardMonitor &keyboardMonitor() { return m_input->keyboardMonitor(); }
    MouseMonitor &mouseMonitor() { return m_input->mouseMonitor(); }
    SoundPackManager &packs() { return m_sound->packs(); }
    AudioEngine &typingEngine() { return m_sound->typingEngine(); }
    AudioEngine &mouseEngine() { return m_sound->mouseEngine(); }
    AudioEngine &reactionEngine() { return m_sound->reactionEngine(); }
    SoundRouter &soundRouter() { return m_sound->soundRouter(); }

    // The three sound roads. Keys arrive on the keyboard reader's thread, clicks on the mouse
    // reader's, taps on the accelerometer's; none of them waits for the sound.
    void handleKeyEvent(const KeySoundEvent &event) { m_input->handleKeyEvent(event); }
    void handleMouseClick(KeyGroup group) { m_sound->handleMouseClick(group); }
    void handleImpact(double strength) { m_sound->handleImpact(strength); }
    void setClickSoundsSuppressed(bool suppressed) { m_sound->setClickSoundsSuppressed(suppressed); }

    QFuture<bool> selectSoundPack(const QString &id, SoundChannel channel) { return m_sound->selectSoundPack(id, channel); }
    PendingSoundPackIDs pendingSoundPackIDs() const { return m_sound->pendingSoundPackIDs(); }
    std::optional<QString> keyboardAudioError() const { return m_sound->audioError(SoundChannel::keyboard); }
    std::optional<QString> mouseAudioError() const { return m_sound->audioError(SoundChannel::mouse); }
    std::optional<QString> reactionAudioError() const { return m_sound->audioError(SoundChannel::reaction); }
    void previewKeyboard() { m_sound->previewKeyboard(); }
    void previewMouse() { m_sound->previewMouse(); }
    void previewReaction() { m_sound->previewReaction(); }

    EffectEngine &effects() { return m_effects->engine(); }
    OverlayCoordinator &overlays() { return m_effects->overlays(); }
    StatsOverlayController &statsOverlay() { return m_effects->statsOverlay(); }
    SystemReactionController &systemReactions() { return m_effects->systemReactions(); }
    ArrivalReactionController &arrivalReactions() { return m_effects->arrivalReactions(); }
    ScreenshotReactionController &screenshotReactions() { return m_effects->screenshotReactions(); }
    CursorEffectController &cursorEffects() { return m_effects->cursorEffects(); }
    LidAngleController &lidAngle() { return m_effects->lidAngle(); }
    ChaosEffectController &chaosEffects() { return m_effects->chaosEffects(); }
    void previewLidDance() { m_effects->previewLidDance(); }
    // Made on first use and kept; it follows the toy volume and hand tone settings, and while
    // a toy is out the click sounds keep quiet.
    ScreenToyController &screenToys() override;
    DesktopPetController &pet() { return m_effects->pet(); }

    // Carries out a command of the pet's menu; focus sessions answer their own.
    void handlePetAction(PetAction action);
    // The pet's answer to a desktop physics run, while the pet is on.
    void handleChaosEffect(ChaosMode mode);

    // Focus sessions: started from the settings; the allowed applications kept there guard them.
    void startFocusSession() override { m_focus->startFocusSession(); }
    void setFocusApp(const QString &bundleIdentifier, bool allowed) override
    {
        m_focus->setFocusApp(bundleIdentifier, allowed);
    }

    // The one-time start; every later call returns at once.
    void start() override;
    // The part of the start the first key needs: the run lock, the sounds and the input.
    // start() runs it first when it has not run; returns whether the program started.
    bool startListening();
    bool isStarted() const { return m_started; }
    // Writes the counts and settings held in memory to disk: on quit and when the session ends.
    void saveState();

    // Ask for the windows; AppWindows opens them.
    void showControlPanel(SettingsPage page) override;
    void showOnboarding();
    void finishOnboarding() override;
    void resetVisuals() override;

    bool openFolder(const QString &path) override { return m_platform.shell->openFolder(path); }

    SettingsPage requestedSettingsPage() const override { return m_requestedSettingsPage; }
    void setRequestedSettingsPage(SettingsPage page) override;

    bool monitorActive() const { return m_input->monitorActive(); }
    QString inputCaptureMode() const { return m_input->inputCaptureMode(); }
    void retryInputMonitoring() { m_input->retryInputMonitoring(); }
    InteractionSnapshot interactionSnapshot() const { return m_input->interactionSnapshot(); }

signals:
    void controlPanelRequested(SettingsPage page);
    void onboardingRequested();
    void onboardingFinished();
    void requestedSettingsPageChanged(SettingsPage page);
    void monitorActiveChanged(bool value);
    void inputCaptureModeChanged(const QString &value);
    void interactionSnapshotChanged(const InteractionSnapshot &value);
    void pendingSoundPackIDsChanged();
    void keyboardAudioErrorChanged();
    void mouseAudioErrorChanged();
    void reactionAudioErrorChanged();

private:
    template <typename Source>
    void relayChanges(Source *source)
    {
        connect(source, &Source::changed, this, &AppController::changed);
    }

    void forwardSignals();
    void wirePetToFocus();
    bool takeRunLock();
    void handleTermination();
    void stopScreenToys();

    Platform m_platform;
    std::unique_ptr<SettingsStore> m_ownedSettings;
    SettingsStore *m_settings = nullptr;
    std::unique_ptr<LaunchAtLoginManager> m_login;
    std::unique_ptr<FocusJournalStore> m_journal;
    // Declared in dependency order: input plays through sound, effects observe both.
    std::unique_ptr<SoundController> m_sound;
    std::unique_ptr<InputController> m_input;
    std::unique_ptr<EffectsController> m_effects;
    std::unique_ptr<FocusController> m_focus;
    // After the controllers it uses, so it goes first.
    std::unique_ptr<ScreenToyController> m_screenToys;

    bool m_started = false;
    bool m_listening = false;
    bool m_shown = false;
    std::optional<RunLock> m_runLock;
    SettingsPage m_requestedSettingsPage = SettingsPage::home;
};
