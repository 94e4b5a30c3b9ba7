#include "Effects/EventWait.h"
#include "PrivateBus.h"
#include "Platform/Linux/LinuxPermissionProbe.h"

#include <QApplication>
#include <QMessageBox>

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
        if (c.registered) {
            ASSERT_TRUE(service.registerService(QStringLiteral("org.a11y.Bus")));
        }
        launcher.address = c.address;
        std::optional<bool> answer;
        probe.checkAccessibility([&](bool trusted) { answer = trusted; });
        EXPECT_FALSE(answer) << "the caller never waits for the bus";
        ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }));
        EXPECT_EQ(*answer, c.trusted);
    }
}

TEST(LinuxPermissionProbe, HelpOpensOneBoxPerKindWithItsHeadingAndTheStepsWithoutWaiting)
{
    struct Case {
        void (LinuxPermissionProbe::*show)();
        QString heading;
        QString step;
    };
    const Case cases[] = {
        {&LinuxPermissionProbe::showInputMonitoringHelp, QStringLiteral("Allow Plinkly to read input devices"),
         QStringLiteral("sudo usermod -aG input $USER")},
        {&LinuxPermissionProbe::showAccessibilityHelp, QStringLiteral("Turn on the accessibility bus"),
         QStringLiteral("toolkit-accessibility true")},
    };
    const auto boxes = [] {
        QList<QMessageBox *> shown;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<QMessageBox *>(window); box && box->isVisible())
                shown.append(box);
        }
        return shown;
    };
    LinuxPermissionProbe probe(QDBusConnection(QStringLiteral("none")));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.heading.toStdString());
        // Asked twice, as a second press of the button does: the same box comes to the front.
        (probe.*c.show)();
        (probe.*c.show)();
        QMessageBox *found = nullptr;
        for (QMessageBox *box : boxes()) {
            if (box->text() == c.heading) {
                EXPECT_EQ(found, nullptr) << "one box per kind";
                found = box;
            }
        }
        ASSERT_NE(found, nullptr);
        EXPECT_TRUE(found->informativeText().contains(c.step));
    }
    EXPECT_EQ(boxes().size(), 2);
}

#include "LinuxPermissionProbeTest.moc"
