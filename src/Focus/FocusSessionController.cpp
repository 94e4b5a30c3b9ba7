#include "Focus/FocusSessionController.h"

#include "Foundation/Clock.h"
#include "Foundation/Scheduler.h"
#include "Platform/Workspace.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <array>

namespace {

const QString timerOnlyStatus = QStringLiteral("Timer only · choose on-task apps to enable nudges");
// On a desktop that does not say which application is in front (pure Wayland).
const QString unguardedStatus = QStringLiteral("Timer only · this desktop doesn’t report the active app");

const std::array<QString, 6> nudgeLines{
    QStringLiteral("That looks off-task 👀"),
    QStringLiteral("Ayo—back to the mission"),
    QStringLiteral("Caught you drifting 🤨"),
    QStringLiteral("The assignment is watching"),
    QStringLiteral("One tab at a time, captain"),
    QStringLiteral("Tiny detour detected"),
};

}

FocusSessionController::FocusSessionController(Workspace &workspace, const Clock &clock, Scheduler &scheduler,
                                               PetUpdate onPetUpdate, QObject *parent)
    : QObject(parent)
    , m_workspace(workspace)
    , m_clock(clock)
    , m_scheduler(scheduler)
    , m_onPetUpdate(std::move(onPetUpdate))
    , m_currentAppName(QStringLiteral("Not started"))
    , m_statusText(QStringLiteral("Choose a goal and the apps you need."))
    , m_startedAt(clock.now())
{
    if (const QString own = workspace.ownIdentifier(); !own.isEmpty())
        m_ownBundleIdentifier = own;
}

FocusSessionController::~FocusSessionController()
{
    tearDownResources();
}

template <typename T>
void FocusSessionController::publish(T &field, T value, void (FocusSessionController::*notify)())
{
    if (field == value)
        return;
    field = std::move(value);
    (this->*notify)();
    emit changed();
}

void FocusSessionController::start(const QString &goal, int durationMinutes,
                                   const QSet<QString> &allowedBundleIdentifiers, bool nudgesEnabled)
{
    // Replacing a running session must not lose the minutes already focused.
    if (m_isActive)
        stop(false);
    tearDownResources();

    m_allowedBundleIdentifiers = withoutOwn(allowedBundleIdentifiers);
    m_nudgesEnabled = nudgesEnabled && !m_allowedBundleIdentifiers.isEmpty();
    m_activeGoal = goal.trimmed();
    m_plannedMinutes = std::clamp(durationMinutes, minimumMinutes, maximumMinutes);
    m_startedAt = m_clock.now();
    m_pausedAt.reset();
    m_totalPausedMs = 0;
    m_lastNudgeAt.reset();
    publish(m_isPaused, false, &FocusSessionController::isPausedChanged);
    publish(m_remainingSeconds, m_plannedMinutes * 60, &FocusSessionController::remainingSecondsChanged);

    const std::optional<WorkspaceApplication> front = m_workspace.frontmostApplication();
    publish(m_currentAppName, front && !front->name.isEmpty() ? front->name : QStringLiteral("Waiting for an app"),
            &FocusSessionController::currentAppNameChanged);

    m_watching = m_workspace.watchActivations([this](const WorkspaceApplication &application) {
        evaluate(application.identifier.isEmpty() ? std::nullopt : std::optional(application.identifier),
                 application.name.isEmpty() ? QStringLiteral("Unknown app") : application.name);
    });
    QString status;
    if (!m_watching)
        status = unguardedStatus;
    else if (m_allowedBundleIdentifiers.isEmpty())
        status = timerOnlyStatus;
    else
        status = QStringLiteral("Focused on ") + (goal.isEmpty() ? QStringLiteral("your session") : goal);
    publish(m_statusText, status, &FocusSessionController::statusTextChanged);
    publish(m_isActive, true, &FocusSessionController::isActiveChanged);

    scheduleTick(++m_tickGeneration);
    m_onPetUpdate(PetMood::focused, QStringLiteral("I’ll keep it quiet. You’ve got this."));
}

void FocusSessionController::scheduleTick(quint64 generation)
{
    m_scheduler.schedule(tickInterval, this, [this, generation] {
        if (generation != m_tickGeneration)
            return;
        scheduleTick(generation);
        refreshRemainingTime();
    });
}

void FocusSessionController::evaluate(const std::optional<QString> &bundleIdentifier, const QString &applicationName)
{
    if (!m_isActive || m_isPaused)
        return;
    publish(m_currentAppName, applicationName, &FocusSessionController::currentAppNameChanged);

    if (bundleIdentifier
        && (bundleIdentifier == m_ownBundleIdentifier || m_allowedBundleIdentifiers.contains(*bundleIdentifier))) {
        publish(m_statusText, QStringLiteral("On task in ") + applicationName,
                &FocusSessionController::statusTextChanged);
        m_onPetUpdate(PetMood::focused, QStringLiteral("Nice. Stay locked in."));
        return;
    }
    if (!m_nudgesEnabled) {
        publish(m_statusText,
                m_allowedBundleIdentifiers.isEmpty() ? timerOnlyStatus
                                                     : QStringLiteral("In ") + applicationName
                                                           + QStringLiteral(" · nudges muted"),
                &FocusSessionController::statusTextChanged);
        return;
    }
    publish(m_statusText, QStringLiteral("Potential distraction: ") + applicationName,
            &FocusSessionController::statusTextChanged);
    const QDateTime now = m_clock.now();
    if (m_lastNudgeAt && m_lastNudgeAt->msecsTo(now) < nudgeInterval.count())
        return;
    m_lastNudgeAt = now;
    const auto index = std::uint64_t(qHash(applicationName)) % nudgeLines.size();
    m_onPetUpdate(PetMood::suspicious, nudgeLines[index]);
}

qint64 FocusSessionController::focusedSeconds(const QDateTime &reference) const
{
    // Whole seconds, cut toward zero.
    return (m_startedAt.msecsTo(reference) - m_totalPausedMs) / 1000;
}

void FocusSessionController::refreshRemainingTime()
{
    if (!m_isActive)
        return;
    const qint64 focused = focusedSeconds(m_pausedAt.value_or(m_clock.now()));
    const auto remaining = int(std::max<qint64>(qint64(m_plannedMinutes) * 60 - focused, 0));
    publish(m_remainingSeconds, remaining, &FocusSessionController::remainingSecondsChanged);
    if (remaining == 0 && !m_isPaused)
        stop(true);
}

void FocusSessionController::pause()
{
    if (!m_isActive || m_isPaused)
        return;
    refreshRemainingTime();
    if (!m_isActive)
        return;
    m_pausedAt = m_clock.now();
    publish(m_isPaused, true, &FocusSessionController::isPausedChanged);
    publish(m_statusText, QStringLiteral("Paused · take a real break"), &FocusSessionController::statusTextChanged);
    m_onPetUpdate(PetMood::sleeping, QStringLiteral("Break time. I’ll keep your place."));
}

void FocusSessionController::resume()
{
    if (!m_isActive || !m_isPaused || !m_pausedAt)
        return;
    m_totalPausedMs += m_pausedAt->msecsTo(m_clock.now());
    m_pausedAt.reset();
    publish(m_isPaused, false, &FocusSessionController::isPausedChanged);
    publish(m_statusText, QStringLiteral("Back on task"), &FocusSessionController::statusTextChanged);
    m_onPetUpdate(PetMood::focused, QStringLiteral("Back at it. One step at a time."));
}

void FocusSessionController::stop(bool completed)
{
    if (!m_isActive)
        return;
    const QDateTime end = m_clock.now();
    if (m_pausedAt)
        m_totalPausedMs += m_pausedAt->msecsTo(end);
    FocusSessionResult result{m_activeGoal, m_startedAt, end, m_plannedMinutes, completed,
                              std::max<qint64>(focusedSeconds(end), 0)};
    tearDownResources();

    m_pausedAt.reset();
    publish(m_isActive, false, &FocusSessionController::isActiveChanged);
    publish(m_isPaused, false, &FocusSessionController::isPausedChanged);
    publish(m_remainingSeconds, 0, &FocusSessionController::remainingSecondsChanged);
    publish(m_currentAppName, QStringLiteral("Not running"), &FocusSessionController::currentAppNameChanged);
    publish(m_statusText, completed ? QStringLiteral("Session complete") : QStringLiteral("Session ended"),
            &FocusSessionController::statusTextChanged);
    if (completed)
        m_onPetUpdate(PetMood::celebrating, QStringLiteral("You cooked. Session complete ✨"));
    else
        m_onPetUpdate(PetMood::idle, QStringLiteral("Break time. I’ll be here."));
    if (onSessionEnded)
        onSessionEnded(result);
}

void FocusSessionController::updateGuard(const QSet<QString> &allowedBundleIdentifiers, bool nudgesEnabled)
{
    if (!m_isActive)
        return;
    const bool nudgedBefore = m_nudgesEnabled;
    m_allowedBundleIdentifiers = withoutOwn(allowedBundleIdentifiers);
    m_nudgesEnabled = nudgesEnabled && !m_allowedBundleIdentifiers.isEmpty();
    m_lastNudgeAt.reset();
    if (m_isPaused)
        return;
    publish(m_statusText, guardStatus(), &FocusSessionController::statusTextChanged);
    if (nudgedBefore && !m_nudgesEnabled)
        m_onPetUpdate(PetMood::focused, QStringLiteral("I’ll keep the timer running quietly."));
}

QString FocusSessionController::guardStatus() const
{
    if (!m_watching)
        return unguardedStatus;
    if (m_allowedBundleIdentifiers.isEmpty())
        return timerOnlyStatus;
    return m_nudgesEnabled ? QStringLiteral("App Guard ready") : QStringLiteral("App Guard ready · nudges muted");
}

void FocusSessionController::tearDownResources()
{
    ++m_tickGeneration;
    if (m_watching) {
        m_workspace.stopWatching();
        m_watching = false;
    }
}

QSet<QString> FocusSessionController::withoutOwn(const QSet<QString> &identifiers) const
{
    QSet<QString> result = identifiers;
    if (m_ownBundleIdentifier)
        result.remove(*m_ownBundleIdentifier);
    return result;
}

void FocusSessionController::refreshAvailableApplications()
{
    QList<FocusAppOption> options;
    QSet<QString> seen;
    for (const WorkspaceApplication &application : m_workspace.runningApplications()) {
        if (application.identifier.isEmpty() || application.identifier == m_ownBundleIdentifier
            || seen.contains(application.identifier))
            continue;
        seen.insert(application.identifier);
        options.append({application.identifier, application.name.isEmpty() ? application.identifier : application.name});
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(options.begin(), options.end(), [&](const FocusAppOption &a, const FocusAppOption &b) {
        return collator.compare(a.name, b.name) < 0;
    });
    publish(m_availableApplications, options, &FocusSessionController::availableApplicationsChanged);
}

void FocusSessionController::rememberRecentlyActiveApplication(const std::optional<QString> &bundleIdentifier,
                                                               const std::optional<QString> &name)
{
    if (!bundleIdentifier || bundleIdentifier->isEmpty() || bundleIdentifier == m_ownBundleIdentifier)
        return;
    publish(m_recentExternalApplication, std::optional(FocusAppOption{*bundleIdentifier, name.value_or(*bundleIdentifier)}),
            &FocusSessionController::recentExternalApplicationChanged);
}

QList<FocusAppOption> FocusSessionController::unavailableAllowedApplications(const QStringList &bundleIdentifiers)
{
    QSet<QString> missing(bundleIdentifiers.begin(), bundleIdentifiers.end());
    for (const FocusAppOption &option : m_availableApplications)
        missing.remove(option.bundleIdentifier);
    QStringList sorted(missing.begin(), missing.end());
    std::sort(sorted.begin(), sorted.end());

    QList<FocusAppOption> options;
    for (const QString &identifier : sorted) {
        QString name = identifier;
        if (m_recentExternalApplication && m_recentExternalApplication->bundleIdentifier == identifier)
            name = m_recentExternalApplication->name;
        else if (const std::optional<QString> installed = m_workspace.installedApplicationName(identifier))
            name = *installed;
        options.append({identifier, name});
    }
    return options;
}
