#include "Views/HeaderPills.h"

#include "Views/Kit/SettingsText.h"

HeaderPills::Pill HeaderPills::effects(bool effectsPaused)
{
    if (effectsPaused)
        return {QStringLiteral("Paused"), QStringLiteral("pause.fill"), ColorRole::orange};
    return {QStringLiteral("Effects live"), QStringLiteral("sparkles"), ColorRole::green};
}

HeaderPills::Pill HeaderPills::input(std::optional<double> focusRemainingSeconds, bool monitorActive)
{
    if (focusRemainingSeconds) {
        const std::optional<qint64> seconds = SettingsText::wholeNumber(*focusRemainingSeconds);
        const QString text = seconds ? QString::asprintf("%02lld:%02lld", *seconds / 60, *seconds % 60)
                                     : SettingsText::missingValue();
        return {text, QStringLiteral("timer"), ColorRole::green};
    }
    if (monitorActive)
        return {QStringLiteral("Global keys"), QStringLiteral("globe"), ColorRole::green};
    return {QStringLiteral("App only"), QStringLiteral("lock.fill"), ColorRole::orange};
}
