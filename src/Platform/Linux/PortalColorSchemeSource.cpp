#include "Platform/Linux/PortalColorSchemeSource.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString interface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearance = QStringLiteral("org.freedesktop.appearance");
const QString colorScheme = QStringLiteral("color-scheme");

}

PortalColorSchemeSource::PortalColorSchemeSource(const QDBusConnection &bus)
    : m_bus(bus)
{
}

void PortalColorSchemeSource::start(Handler handler)
{
    m_handler = std::move(handler);
    m_bus.connect(service, path, interface, QStringLiteral("SettingChanged"), this,
                  SLOT(settingChanged(QDBusMessage)));
    read(QStringLiteral("ReadOne"));
}

ColorSchemePreference PortalColorSchemeSource::preference(const QVariant &value)
{
    QVariant unwrapped = value;
    while (unwrapped.metaType() == QMetaType::fromType<QDBusVariant>())
        unwrapped = unwrapped.value<QDBusVariant>().variant();
    bool number = false;
    const uint scheme = unwrapped.toUInt(&number);
    if (!number)
        return ColorSchemePreference::noPreference;
    switch (scheme) {
    case 1: return ColorSchemePreference::dark;
    case 2: return ColorSchemePreference::light;
    default: return ColorSchemePreference::noPreference;
    }
}

void PortalColorSchemeSource::read(const QString &method)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message << appearance << colorScheme;
    auto *call = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, method](QDBusPendingCallWatcher *finished) { readFinished(finished, method); });
}

void PortalColorSchemeSource::readFinished(QDBusPendingCallWatcher *call, const QString &method)
{
    call->deleteLater();
    const QDBusPendingReply<QDBusVariant> reply = *call;
    if (reply.isError()) {
        // Portals before version 2 know only Read, which wraps the value once more.
        if (method == QLatin1String("ReadOne") && reply.error().type() == QDBusError::UnknownMethod) {
            read(QStringLiteral("Read"));
            return;
        }
        // No portal, or one without the setting: the desktop states no wish, and says so at
        // once rather than leaving the first window waiting.
        if (!m_heardChange)
            report(ColorSchemePreference::noPreference);
        return;
    }
    if (!m_heardChange)
        report(preference(QVariant::fromValue(reply.value())));
}

void PortalColorSchemeSource::settingChanged(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.size() != 3 || arguments[0].toString() != appearance || arguments[1].toString() != colorScheme)
        return;
    m_heardChange = true;
    report(preference(arguments[2]));
}

void PortalColorSchemeSource::report(ColorSchemePreference preference)
{
    if (m_handler)
        m_handler(preference);
}
