#include "Focus/FocusController.h"

#include "Focus/FocusJournalStore.h"
#include "Platform/Workspace.h"
#include "Services/SettingsStore.h"

#include <algorithm>

FocusController::FocusController(SettingsStore &settings, FocusJournalStore &journal, Workspace &workspace,
                                 const Clock &clock, Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_workspace(workspace)
    , m_session(std::make_unique<FocusSessionController>(
          workspace, clock, scheduler, [this](PetMood mood, const QString &line) { petUpdate(mood, line); }))
{
    m_session->onSessionEnded = [&journal](const FocusSessionResult &result) { journal.recordSession(result); };
    connect(m_session.get(), &FocusSessionController::changed, this, &FocusController::changed);
}

void FocusController::petUpdate(PetMood mood, const QString &line)
{
    if (onPetUpdate)
        onPetUpdate(mood, line);
}

void FocusController::startFocusSession()
{
    if (onSessionStarting)
        onSessionStarting();
    m_settings.setEffectsPaused(false);
    m_settings.setPetEnabled(true);
    // Our own application is on task anyway; kept in the list it would show in the app guard
    // as an allowed application that is not open.
    QStringList allowed = m_settings.focusAllowedBundleIDs();
    if (allowed.removeAll(m_workspace.ownIdentifier()) > 0)
        m_settings.setFocusAllowedBundleIDs(allowed);
    m_session->start(m_settings.focusGoal(), m_settings.focusMinutes(), QSet<QString>(allowed.begin(), allowed.end()),
                     m_settings.focusNudgesEnabled());
}

void FocusController::setFocusApp(const QString &bundleIdentifier, bool allowed)
{
    const QStringList stored = m_settings.focusAllowedBundleIDs();
    QSet<QString> identifiers(stored.begin(), stored.end());
    if (allowed)
        identifiers.insert(bundleIdentifier);
    else
        identifiers.remove(bundleIdentifier);
    QStringList sorted(identifiers.begin(), identifiers.end());
    std::sort(sorted.begin(), sorted.end());
    m_settings.setFocusAllowedBundleIDs(sorted);
    m_session->updateGuard(identifiers, m_settings.focusNudgesEnabled());
}

void FocusController::prepareControlPanel(bool focusPage)
{
    const std::optional<WorkspaceApplication> front = m_workspace.frontmostApplication();
    const auto present = [](const QString &text) { return text.isEmpty() ? std::nullopt : std::optional(text); };
    m_session->rememberRecentlyActiveApplication(front ? present(front->identifier) : std::nullopt,
                                                 front ? present(front->name) : std::nullopt);
    if (focusPage)
        m_session->refreshAvailableApplications();
}

bool FocusController::handlePetAction(PetAction action)
{
    switch (action) {
    case PetAction::focus25:
    case PetAction::focus50:
        m_settings.setFocusMinutes(action == PetAction::focus25 ? 25 : 50);
        startFocusSession();
        return true;
    case PetAction::break5: {
        m_session->refreshAvailableApplications();
        QSet<QString> everything;
        for (const FocusAppOption &option : m_session->availableApplications())
            everything.insert(option.bundleIdentifier);
        m_session->start(QStringLiteral("Take a real break"), 5, everything, false);
        petUpdate(PetMood::idle, QStringLiteral("Five-minute reset. Breathe."));
        return true;
    }
    case PetAction::stopFocus:
        m_session->stop(false);
        return true;
    default:
        return false;
    }
}
