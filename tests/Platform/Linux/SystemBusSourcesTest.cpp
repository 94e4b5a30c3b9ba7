#include "Effects/EventWait.h"
#include "PrivateBus.h"
#include "Platform/Linux/LogindSleepMonitor.h"
#include "Platform/Linux/SessionEndWatcher.h"
#include "Platform/Linux/UPowerPowerSource.h"
#include "fakes/FakeReactionSources.h"

#include <QDBusMessage>
#include <QDBusObjectPath>

#include <gtest/gtest.h>

namespace {

const QString devicePropertiesInterface = QStringLiteral("org.freedesktop.UPower.Device");

// A UPower device as the daemon exports it.
class FakeUPowerDevice final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.UPower.Device")
    Q_PROPERTY(uint Type READ type)
    Q_PROPERTY(bool PowerSupply READ powerSupply)
    Q_PROPERTY(double Percentage READ percentage)
    Q_PROPERTY(uint State READ state)

public:
    FakeUPowerDevice(uint type, bool powerSupply, double percentage, uint state)
        : m_type(type), m_powerSupply(powerSupply), m_percentage(percentage), m_state(state)
    {
    }
    uint type() const { return m_type; }
    bool powerSupply() const { return m_powerSupply; }
    double percentage() const { return m_percentage; }
    uint state() const { return m_state; }
    void set(double percentage, uint state)
    {
        m_percentage = percentage;
        m_state = state;
    }

private:
    uint m_type;
    bool m_powerSupply;
    double m_percentage;
    uint m_state;
};

// The daemon object: its device list and whether the computer runs on battery.
class FakeUPowerDaemon final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.UPower")
    Q_PROPERTY(bool OnBattery READ onBattery)

public:
    bool onBattery() const { return m_onBattery; }
    void setOnBattery(bool value) { m_onBattery = value; }
    QList<QDBusObjectPath> devices;

public slots:
    QList<QDBusObjectPath> EnumerateDevices() const { return devices; }

private:
    bool m_onBattery = true;
};

struct FakeUPower {
    QDBusConnection connection;
    FakeUPowerDaemon daemon;
    FakeUPowerDevice mouse{5, false, 30, 2};
    FakeUPowerDevice battery{2, true, 64.4, 2};

    explicit FakeUPower(QDBusConnection bus) : connection(std::move(bus))
    {
        const auto exportAll = QDBusConnection::ExportAllProperties | QDBusConnection::ExportAllSlots;
        connection.registerObject(QStringLiteral("/org/freedesktop/UPower/devices/mouse_0"), &mouse, exportAll);
        connection.registerObject(QStringLiteral("/org/freedesktop/UPower/devices/battery_BAT0"), &battery, exportAll);
        connection.registerObject(QStringLiteral("/org/freedesktop/UPower"), &daemon, exportAll);
        daemon.devices = {QDBusObjectPath(QStringLiteral("/org/freedesktop/UPower/devices/mouse_0")),
                          QDBusObjectPath(QStringLiteral("/org/freedesktop/UPower/devices/battery_BAT0"))};
        connection.registerService(QStringLiteral("org.freedesktop.UPower"));
    }

    void announce(const QString &path, const QString &interface, const QVariantMap &changed)
    {
        QDBusMessage signal = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                         QStringLiteral("PropertiesChanged"));
        signal << interface << changed << QStringList();
        connection.send(signal);
    }
    void setBattery(double percentage, uint state)
    {
        battery.set(percentage, state);
        announce(QStringLiteral("/org/freedesktop/UPower/devices/battery_BAT0"), devicePropertiesInterface,
                 {{QStringLiteral("Percentage"), percentage}, {QStringLiteral("State"), state}});
    }
    void setOnBattery(bool onBattery)
    {
        daemon.setOnBattery(onBattery);
        announce(QStringLiteral("/org/freedesktop/UPower"), QStringLiteral("org.freedesktop.UPower"),
                 {{QStringLiteral("OnBattery"), onBattery}});
    }
};

struct Readings {
    std::vector<std::optional<PowerSnapshot>> all;
    PowerSource::Handler handler()
    {
        return [this](std::optional<PowerSnapshot> snapshot) { all.push_back(snapshot); };
    }
};

} // namespace

TEST(UPowerPowerSource, ReadsTheInternalBatteryAndFollowsItsSignals)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    FakeUPower upower(bus.connect(QStringLiteral("upower")));
    auto fallback = std::make_unique<FakePowerSource>();
    FakePowerSource *fallbackSource = fallback.get();
    UPowerPowerSource source(bus.connect(QStringLiteral("client")), std::move(fallback));
    Readings readings;
    source.start(readings.handler());

    ASSERT_TRUE(waitUntil([&] { return readings.all.size() == 1; }));
    // The mouse's own battery is not the computer's.
    EXPECT_EQ(readings.all.back(), (PowerSnapshot{64, false, false}));
    EXPECT_FALSE(fallbackSource->running);

    upower.setOnBattery(false);
    ASSERT_TRUE(waitUntil([&] { return readings.all.size() == 2; }));
    EXPECT_EQ(readings.all.back(), (PowerSnapshot{64, true, false}));

    upower.setBattery(65.2, 1);
    ASSERT_TRUE(waitUntil([&] { return readings.all.size() == 3; }));
    EXPECT_EQ(readings.all.back(), (PowerSnapshot{65, true, true}));

    // A change that leaves the snapshot as it was is not reported again.
    upower.setBattery(64.9, 1);
    upower.setBattery(70, 1);
    ASSERT_TRUE(waitUntil([&] { return readings.all.size() == 4; }));
    EXPECT_EQ(readings.all.back(), (PowerSnapshot{70, true, true}));

    source.stop();
    upower.setBattery(80, 1);
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(readings.all.size(), 4u);
}

TEST(UPowerPowerSource, ReportsNoBatteryWhenTheDaemonListsNone)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    FakeUPower upower(bus.connect(QStringLiteral("upower")));
    upower.daemon.devices = {QDBusObjectPath(QStringLiteral("/org/freedesktop/UPower/devices/mouse_0"))};
    UPowerPowerSource source(bus.connect(QStringLiteral("client")), nullptr);
    Readings readings;
    source.start(readings.handler());
    ASSERT_TRUE(waitUntil([&] { return !readings.all.empty(); }));
    EXPECT_EQ(readings.all.front(), std::nullopt);
}

TEST(UPowerPowerSource, HandsOverToTheFallbackWhenUPowerIsAbsent)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    auto fallback = std::make_unique<FakePowerSource>();
    FakePowerSource *fallbackSource = fallback.get();
    UPowerPowerSource source(bus.connect(QStringLiteral("client")), std::move(fallback));
    Readings readings;
    source.start(readings.handler());
    ASSERT_TRUE(waitUntil([&] { return fallbackSource->running; }));
    fallbackSource->send(PowerSnapshot{12, false, false});
    ASSERT_EQ(readings.all.size(), 1u);
    EXPECT_EQ(readings.all.front(), (PowerSnapshot{12, false, false}));
    source.stop();
    EXPECT_FALSE(fallbackSource->running);
}

TEST(LogindSleepMonitor, TurnsPrepareForSleepIntoSleepAndWake)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    QDBusConnection logind = bus.connect(QStringLiteral("logind"));
    ASSERT_TRUE(logind.registerService(QStringLiteral("org.freedesktop.login1")));
    QDBusConnection impostor = bus.connect(QStringLiteral("impostor"));

    LogindSleepMonitor monitor(bus.connect(QStringLiteral("client")));
    std::vector<SleepTransition> transitions;
    ASSERT_TRUE(monitor.start([&](SleepTransition transition) { transitions.push_back(transition); }));

    const auto prepare = [](QDBusConnection &connection, bool sleeping) {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                                         QStringLiteral("org.freedesktop.login1.Manager"),
                                                         QStringLiteral("PrepareForSleep"));
        signal << sleeping;
        connection.send(signal);
    };
    // Only logind itself is believed.
    prepare(impostor, true);
    prepare(logind, true);
    prepare(logind, false);
    ASSERT_TRUE(waitUntil([&] { return transitions.size() >= 2; }));
    waitUntil([] { return false; }, 100);
    EXPECT_EQ(transitions, (std::vector{SleepTransition::willSleep, SleepTransition::didWake}));

    monitor.stop();
    prepare(logind, true);
    waitUntil([] { return false; }, 100);
    EXPECT_EQ(transitions.size(), 2u);
}

// Only logind's announcement that the shutdown starts (not its cancellation, not another
// sender) asks for the state to be saved.
TEST(SessionEndWatcher, AnnouncesOnlyAStartingShutdownFromLogind)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    QDBusConnection logind = bus.connect(QStringLiteral("logind"));
    ASSERT_TRUE(logind.registerService(QStringLiteral("org.freedesktop.login1")));
    QDBusConnection impostor = bus.connect(QStringLiteral("impostor"));

    SessionEndWatcher watcher(bus.connect(QStringLiteral("client")));
    int endings = 0;
    QObject::connect(&watcher, &SessionEndWatcher::sessionEnding, [&] { ++endings; });
    const auto prepare = [](QDBusConnection &connection, bool starting) {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                                         QStringLiteral("org.freedesktop.login1.Manager"),
                                                         QStringLiteral("PrepareForShutdown"));
        signal << starting;
        connection.send(signal);
    };
    prepare(impostor, true);
    prepare(logind, false);
    prepare(logind, true);
    ASSERT_TRUE(waitUntil([&] { return endings >= 1; }));
    waitUntil([] { return false; }, 100);
    EXPECT_EQ(endings, 1);
}

#include "SystemBusSourcesTest.moc"
