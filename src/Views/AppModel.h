#pragma once

#include "Effects/EffectsController.h"
#include "Effects/ScreenToys/ScreenToyController.h"
#include "Focus/FocusController.h"
#include "Focus/FocusJournalStore.h"
#include "Models/SettingsPage.h"
#include "Platform/AppShell.h"
#include "Services/Audio/SoundController.h"
#include "Services/Input/InputController.h"
#include "Services/LaunchAtLoginManager.h"
#include "Services/SettingsStore.h"

#include <QObject>

// What the windows see of the application: its services, the operations only the root
// may perform, and one change announcement that covers everything under it. The root
// controller implements it; views never include the application layer.
class AppModel : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual SettingsStore &settings() = 0;
    virtual FocusJournalStore &journal() = 0;
    virtual LaunchAtLoginManager &login() = 0;
    virtual SoundController &sound() = 0;
    virtual InputController &input() = 0;
    virtual EffectsController &effectsController() = 0;
    virtual ScreenToyController &screenToys() = 0;
    virtual FocusController &focusController() = 0;
    // The desktop: revealing files the windows wrote.
    virtual AppShell &shell() = 0;

    // The one-time start; the panel and onboarding call it each time they appear.
    virtual void start() = 0;
    // Every call brings the control window up on that page.
    virtual void showControlPanel(SettingsPage page) = 0;
    virtual void finishOnboarding() = 0;
    // Clears what is on screen: a screen toy put away, every effect module reset and every
    // overlay closed, in that order. Changes no setting; a paused application stays paused.
    virtual void resetVisuals() = 0;
    // A focus session from the settings, and the applications allowed during it.
    virtual void startFocusSession() = 0;
    virtual void setFocusApp(const QString &bundleIdentifier, bool allowed) = 0;
    // Shows a folder in the file manager; a missing folder is not reported. False when nothing
    // could open it.
    virtual bool openFolder(const QString &path) = 0;
    virtual SettingsPage requestedSettingsPage() const = 0;
    virtual void setRequestedSettingsPage(SettingsPage page) = 0;

signals:
    // Anything the windows show may have changed.
    void changed();
    // Settings and statistics are about to be written out, at quit or as the session ends:
    // the last moment to keep what only a window holds.
    void stateSaving();
};
