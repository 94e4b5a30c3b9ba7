#include "Effects/EventWait.h"
#include "PrivateBus.h"
#include "Platform/Linux/AtspiSecureInputSource.h"

#include <QDBusVariant>

#include <gtest/gtest.h>

namespace {

class FakeLauncher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Bus")

public:
    QString address;

public slots:
    QString GetAddress() const { return address; }
};

class FakeRegistry final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.atspi.Registry")

public:
    QStringList events;

public slots:
    void RegisterEvent(const QString &event, const QStringList &, const QString &application)
    {
        if (application.isEmpty())
            events.append(event);
    }
};

class FakeAccessible final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.atspi.Accessible")

public:
    explicit FakeAccessible(uint role) : m_role(role) {}

public slots:
    uint GetRole() const { return m_role; }
    // As some toolkits answer, whatever the kind of text.
    QString GetRoleName() const { return QStringLiteral("text"); }

private:
    uint m_role;
};

// One application on the accessibility bus with a password field and a plain text field.
struct FakeApplication {
    QDBusConnection connection;
    FakeAccessible password{40};
    FakeAccessible text{61};

    explicit FakeApplication(QDBusConnection bus) : connection(std::move(bus))
    {
        connection.registerObject(QStringLiteral("/a11y/1"), &password, QDBusConnection::ExportAllSlots);
        connection.registerObject(QStringLiteral("/a11y/2"), &text, QDBusConnection::ExportAllSlots);
    }
    void focus(const QString &path, bool gained) const
    {
        QDBusMessage signal = QDBusMessage::createSignal(path, QStringLiteral("org.a11y.atspi.Event.Object"),
                                                         QStringLiteral("StateChanged"));
        signal << QStringLiteral("focused") << int(gained) << 0 << QVariant::fromValue(QDBusVariant(0))
               << QVariantMap();
        connection.send(signal);
    }
};

}

TEST(AtspiSecureInputSource, FollowsFocusIntoAndOutOfPasswordFields)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    // The session bus doubles as the accessibility bus.
    QDBusConnection services = bus.connect(QStringLiteral("services"));
    FakeLauncher launcher;
    launcher.address = bus.address();
    FakeRegistry registry;
    services.registerObject(QStringLiteral("/org/a11y/bus"), &launcher, QDBusConnection::ExportAllSlots);
    services.registerObject(QStringLiteral("/org/a11y/atspi/registry"), &registry, QDBusConnection::ExportAllSlots);
    ASSERT_TRUE(services.registerService(QStringLiteral("org.a11y.Bus")));
    ASSERT_TRUE(services.registerService(QStringLiteral("org.a11y.atspi.Registry")));
    FakeApplication app(bus.connect(QStringLiteral("app")));

    AtspiSecureInputSource source(bus.connect(QStringLiteral("session")));
    source.start();
    EXPECT_FALSE(source.isActive());
    ASSERT_TRUE(waitUntil([&] { return !registry.events.isEmpty(); }));
    EXPECT_EQ(registry.events, QStringList{QStringLiteral("object:state-changed:focused")});

    app.focus(QStringLiteral("/a11y/1"), true);
    ASSERT_TRUE(waitUntil([&] { return source.isActive(); }));
    // Another object losing focus says nothing about the password field.
    app.focus(QStringLiteral("/a11y/2"), false);
    waitUntil([] { return false; }, 100);
    EXPECT_TRUE(source.isActive());
    app.focus(QStringLiteral("/a11y/2"), true);
    ASSERT_TRUE(waitUntil([&] { return !source.isActive(); }));
    waitUntil([] { return false; }, 100);
    EXPECT_FALSE(source.isActive()) << "a plain text field is no secure input";

    app.focus(QStringLiteral("/a11y/1"), true);
    ASSERT_TRUE(waitUntil([&] { return source.isActive(); }));
    app.focus(QStringLiteral("/a11y/1"), false);
    ASSERT_TRUE(waitUntil([&] { return !source.isActive(); }));
}

TEST(AtspiSecureInputSource, WithoutAnAccessibilityBusItStaysOff)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    FakeApplication app(bus.connect(QStringLiteral("app")));
    AtspiSecureInputSource source(bus.connect(QStringLiteral("session")));
    source.start();
    app.focus(QStringLiteral("/a11y/1"), true);
    waitUntil([] { return false; }, 200);
    EXPECT_FALSE(source.isActive());
}

#include "AtspiSecureInputSourceTest.moc"
