#pragma once

#include "Effects/ArrivalReactionController.h"
#include "Effects/Chaos/ChaosEffectController.h"
#include "Effects/CursorEffectController.h"
#include "Effects/EffectEngine.h"
#include "Effects/EscapeKeyMonitor.h"
#include "Effects/LidAngleController.h"
#include "Effects/OverlayCoordinator.h"
#include "Effects/Pet/DesktopPetController.h"
#include "Effects/Pet/PetDesktop.h"
#include "Effects/Pet/View/OwnWindowWatcher.h"
#include "Effects/ScreenshotReactionController.h"
#include "Effects/StatsOverlayController.h"
#include "Effects/SystemReactionController.h"
#include "Platform/Platform.h"
#include "Services/Audio/SoundController.h"
#include "Services/Input/InputController.h"
#include "Services/SettingsStore.h"

#include <QObject>

#include <memory>

// Reactions and what they draw: the effect engine and its modules, the system, arrival and
// screenshot reactions, cursor ripples, the typing HUD, the lid motion band, desktop physics
// and the desktop pet.
class EffectsController final : public QObject {
    Q_OBJECT

public:
    EffectsController(Platform &platform, SettingsStore &settings, InputController &input, SoundController &sound,
                      QObject *parent = nullptr);

    EffectEngine &engine() { return *m_engine; }
    OverlayCoordinator &overlays() { return *m_overlays; }
    StatsOverlayController &statsOverlay() { return *m_statsOverlay; }
    SystemReactionController &systemReactions() { return *m_systemReactions; }
    ArrivalReactionController &arrivalReactions() { return *m_arrivalReactions; }
    ScreenshotReactionController &screenshotReactions() { return *m_screenshotReactions; }
    CursorEffectController &cursorEffects() { return *m_cursorEffects; }
    LidAngleController &lidAngle() { return *m_lidAngle; }
    // The desktop pet, made on first use and kept; it follows the pet settings both ways.
    DesktopPetController &pet();

    // Receives the commands of the pet's menu.
    std::function<void(PetAction)> onPetAction;
    ChaosEffectController &chaosEffects() { return *m_chaos; }

    // Registers the modules, which start as far as settings and capabilities allow.
    void start();
    // Shows the lid motion band for a moment, with or without a sensor or the setting.
    void previewLidDance();
    // The screenshot reaction, as for a file named "Screenshot Preview.png".
    void previewScreenshotReaction();
    // The charger reaction, when battery reactions are on.
    void previewChargerReaction();

signals:
    void changed();

private:
    void wireModules();
    void wireReactions();
    void wireCursorAndHud();
    void wireLidBand();
    void wireChaosEscape();
    void refreshEffectCapabilities();
    void registerEffectModules();
    void refreshClickCounting();
    void refreshStatsOverlay();
    void refreshLidMotion();
    void showKeyLabel(const QString &label);
    void showSystemReaction(const SystemReactionEvent &event);
    void showScreenshotReaction();
    void wirePet(DesktopPetController &pet);

    SettingsStore &m_settings;
    const Clock &m_clock;
    Scheduler &m_scheduler;
    const OverlayWindowSupport &m_overlaySupport;
    InputController &m_input;
    std::unique_ptr<EffectEngine> m_engine;
    std::unique_ptr<OverlayCoordinator> m_overlays;
    std::unique_ptr<StatsOverlayController> m_statsOverlay;
    std::unique_ptr<SystemReactionController> m_systemReactions;
    std::unique_ptr<ArrivalReactionController> m_arrivalReactions;
    std::unique_ptr<ScreenshotReactionController> m_screenshotReactions;
    std::unique_ptr<CursorEffectController> m_cursorEffects;
    std::unique_ptr<LidAngleReading> m_lidReader;
    std::unique_ptr<LidAngleController> m_lidAngle;
    std::unique_ptr<PetDesktop> m_petDesktop;
    std::unique_ptr<DesktopPetController> m_pet;
    std::unique_ptr<OwnWindowWatcher> m_ownWindows;
    // Set while the pet's own report is written to the two position settings, so the halves
    // of that write do not move the pet back.
    bool m_writingPetPlacement = false;
    // Hears Esc in any application while a desktop-physics run is on screen.
    std::unique_ptr<EscapeKeyMonitor> m_chaosEscape;
    std::unique_ptr<ChaosEffectController> m_chaos;
    quint64 m_lidPreviewGeneration = 0;
    bool m_lidPreviewShowing = false;
    quint64 m_lidMoveGeneration = 0;
    bool m_lidMoving = false;
    bool m_started = false;
};
