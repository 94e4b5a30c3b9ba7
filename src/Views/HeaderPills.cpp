#include "Views/HeaderPills.h"

#include "Views/Kit/SettingsText.h"

HeaderPills::Pill HeaderPills::effects(bool effectsPaused)
{
    if (effectsPaused)
        return {QStringLiteral("Paused"), QStringLiteral("pause.fill"), ColorRole::orange};
    return {QStringLiteral("Effects live"), QStringLiteral("sparkles"), ColorRole::green};
}

HeaderPills::Pill HeaderPills::input(std::optional<double> focusRemainingSeconds, bool monitorActive,
                                     const QString &captureMode)
{
    if (focusRemainingSeconds)
        return {SettingsText::countdown(*focusRemainingSeconds), QStringLiteral("timer"), ColorRole::green};
    if (monitorActive)
        return {captureMode, QStringLiteral("globe"), ColorRole::green};
    return {QStringLiteral("App only"), QStringLiteral("lock.fill"), ColorRole::orange};
}
