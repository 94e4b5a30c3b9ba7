#include "Views/Home/HomeCardText.h"

#include "Views/Kit/SettingsText.h"

QString HomeCardText::desktopPet(bool petEnabled)
{
    return petEnabled ? QStringLiteral("On your desktop") : QStringLiteral("Currently hidden");
}

QString HomeCardText::focusBuddy(bool sessionActive, int remainingSeconds, const QString &statusText)
{
    if (!sessionActive)
        return QStringLiteral("Set a timer and stay on task");
    return SettingsText::countdown(remainingSeconds) + QStringLiteral(" \u00B7 ") + statusText;
}

QString HomeCardText::typingSounds(bool typingEnabled, const std::optional<QString> &packName)
{
    if (!typingEnabled)
        return QStringLiteral("Quiet mode");
    return packName.value_or(QStringLiteral("Selected pack")) + QStringLiteral(" is live");
}

QString HomeCardText::systemReactions(const std::optional<PowerSnapshot> &power)
{
    if (!power)
        return QStringLiteral("Charging, battery, sleep, and wake");
    return QStringLiteral("Battery %1% \u00B7 %2")
        .arg(power->percent)
        .arg(power->isOnACPower ? QStringLiteral("plugged in") : QStringLiteral("on battery"));
}

QString HomeCardText::themeName(InterfaceTheme theme)
{
    const QString raw = rawValue(theme);
    return raw.left(1).toUpper() + raw.mid(1);
}
