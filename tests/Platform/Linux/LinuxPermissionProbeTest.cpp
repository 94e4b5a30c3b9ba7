#include "Effects/EventWait.h"
#include "PrivateBus.h"
#include "Platform/Linux/LinuxPermissionProbe.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// The session's accessibility launcher, answering with the accessibility bus's address.
class FakeAccessibilityLauncher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Bus")

public:
    QString address;

public slots:
    QString GetAddress() const { return address; }
};

}

TEST(LinuxPermissionProbe, AsksTheAccessibilityBusWithoutWaitingForIt)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    QDBusConnection service = bus.connect(QStringLiteral("launcher"));
    FakeAccessibilityLauncher launcher;
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/a11y/bus"), &launcher, QDBusConnection::ExportAllSlots));
    LinuxPermissionProbe probe(bus.connect(QStringLiteral("probe")));

    struct Case {
        const char *name;
        bool registered;
        QString address;
        bool trusted;
    };
    const Case cases[] = {
        {"no launcher on the bus", false, {}, false},
        {"a launcher without a bus", true, {}, false},
        // Served by this very thread: a blocking call would time out and read as untrusted.
        {"a launcher with a bus", true, QStringLiteral("unix:path=/run/user/1000/at-spi/bus"), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.registered)
            ASSERT_TRUE(service.registerService(QStringLiteral("org.a11y.Bus")));
        launcher.address = c.address;
        std::optional<bool> answer;
        probe.checkAccessibility([&](bool trusted) { answer = trusted; });
        EXPECT_FALSE(answer) << "the caller never waits for the bus";
        ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }));
        EXPECT_EQ(*answer, c.trusted);
    }
}

#include "LinuxPermissionProbeTest.moc"
