#pragma once

#include "Effects/Pet/PetAction.h"
#include "Effects/Pet/PetMood.h"
#include "Focus/FocusSessionController.h"

#include <QObject>

#include <functional>
#include <memory>

class Clock;
class FocusJournalStore;
class Scheduler;
class SettingsStore;
class Workspace;

// Focus sessions as the rest of the application asks for them: started from the settings,
// guarded by the allowed applications kept there, recorded in the journal when they end,
// and commanded from the pet's menu.
class FocusController final : public QObject {
    Q_OBJECT

public:
    FocusController(SettingsStore &settings, FocusJournalStore &journal, Workspace &workspace, const Clock &clock,
                    Scheduler &scheduler, QObject *parent = nullptr);

    FocusSessionController &session() { return *m_session; }

    // Each mood and line for the pet.
    std::function<void(PetMood mood, const QString &line)> onPetUpdate;
    // Called as a session is started from the settings, before it runs (screen toys go away).
    std::function<void()> onSessionStarting;

    void startFocusSession();
    void setFocusApp(const QString &bundleIdentifier, bool allowed);
    // Before our own window comes forward: remembers the application the user came from,
    // and for the focus page lists the running applications afresh.
    void prepareControlPanel(bool focusPage);
    // The pet menu's session commands; false for every other command.
    bool handlePetAction(PetAction action);

signals:
    void changed();

private:
    void petUpdate(PetMood mood, const QString &line);

    SettingsStore &m_settings;
    Workspace &m_workspace;
    std::unique_ptr<FocusSessionController> m_session;
};
