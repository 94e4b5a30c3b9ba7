#include "Effects/EventWait.h"
#include "PrivateBus.h"
#include "Platform/Linux/PortalColorSchemeSource.h"

#include <QDBusMessage>
#include <QDBusVariant>

#include <gtest/gtest.h>

namespace {

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// The settings portal of version 2 and later, holding one appearance value.
class FakeSettingsPortal final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    uint scheme = 1;
    int reads = 0;

public slots:
    QDBusVariant ReadOne(const QString &group, const QString &key)
    {
        ++reads;
        return QDBusVariant(group == QLatin1String("org.freedesktop.appearance") && key == QLatin1String("color-scheme")
                                ? QVariant(scheme)
                                : QVariant(QString()));
    }
};

// A portal before version 2: only Read, whose value comes wrapped in one variant more.
class FakeOldSettingsPortal final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public slots:
    QDBusVariant Read(const QString &, const QString &) { return QDBusVariant(QVariant::fromValue(QDBusVariant(2u))); }
};

void announce(QDBusConnection &portal, const QString &group, const QString &key, uint value)
{
    QDBusMessage signal = QDBusMessage::createSignal(portalPath, QStringLiteral("org.freedesktop.portal.Settings"),
                                                     QStringLiteral("SettingChanged"));
    signal << group << key << QVariant::fromValue(QDBusVariant(value));
    portal.send(signal);
}

// Puts `portal` on the bus under the portal's name, on a connection of its own.
QDBusConnection serve(PrivateBus &bus, QObject *portal)
{
    QDBusConnection connection = bus.connect(QStringLiteral("portal"));
    connection.registerObject(portalPath, portal, QDBusConnection::ExportAllSlots);
    connection.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    return connection;
}

struct Heard {
    std::vector<ColorSchemePreference> all;
    ColorSchemeSource::Handler handler()
    {
        return [this](ColorSchemePreference preference) { all.push_back(preference); };
    }
};

}

TEST(PortalColorSchemeSource, ReadsTheAppearanceSettingAndFollowsItsChanges)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    FakeSettingsPortal portal;
    QDBusConnection portalBus = serve(bus, &portal);
    PortalColorSchemeSource source(bus.connect(QStringLiteral("client")));
    Heard heard;
    source.start(heard.handler());

    ASSERT_TRUE(waitUntil([&] { return heard.all.size() == 1; }));
    EXPECT_EQ(heard.all.back(), ColorSchemePreference::dark);

    announce(portalBus, QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"), 2);
    ASSERT_TRUE(waitUntil([&] { return heard.all.size() == 2; }));
    EXPECT_EQ(heard.all.back(), ColorSchemePreference::light);

    // Other settings are not the scheme; "no preference" is passed on as such.
    announce(portalBus, QStringLiteral("org.freedesktop.appearance"), QStringLiteral("accent-color"), 1);
    announce(portalBus, QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme"), 1);
    announce(portalBus, QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"), 0);
    ASSERT_TRUE(waitUntil([&] { return heard.all.size() >= 3; }));
    EXPECT_EQ(heard.all, (std::vector{ColorSchemePreference::dark, ColorSchemePreference::light,
                                      ColorSchemePreference::noPreference}));
    EXPECT_EQ(portal.reads, 1);
}

TEST(PortalColorSchemeSource, FallsBackToReadOnOlderPortalsAndAnswersNoPreferenceWithoutOne)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    FakeOldSettingsPortal portal;
    serve(bus, &portal);
    PortalColorSchemeSource source(bus.connect(QStringLiteral("client")));
    Heard heard;
    source.start(heard.handler());
    ASSERT_TRUE(waitUntil([&] { return heard.all.size() == 1; }));
    EXPECT_EQ(heard.all.back(), ColorSchemePreference::light);

    PrivateBus empty;
    ASSERT_TRUE(empty.isRunning());
    PortalColorSchemeSource absent(empty.connect(QStringLiteral("client")));
    Heard none;
    absent.start(none.handler());
    // Once, so a first window waiting for the answer shows at once.
    ASSERT_TRUE(waitUntil([&] { return !none.all.empty(); }));
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(none.all, std::vector{ColorSchemePreference::noPreference});
}

TEST(PortalColorSchemeSource, ReadsTheValueHoweverDeeplyItIsWrapped)
{
    using P = ColorSchemePreference;
    const QVariant wrapped = QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(1u))));
    EXPECT_EQ(PortalColorSchemeSource::preference(wrapped), P::dark);
    EXPECT_EQ(PortalColorSchemeSource::preference(QVariant(2u)), P::light);
    EXPECT_EQ(PortalColorSchemeSource::preference(QVariant(0u)), P::noPreference);
    EXPECT_EQ(PortalColorSchemeSource::preference(QVariant(7u)), P::noPreference);
    EXPECT_EQ(PortalColorSchemeSource::preference(QVariant(QStringLiteral("dark"))), P::noPreference);
}

#include "PortalColorSchemeSourceTest.moc"
