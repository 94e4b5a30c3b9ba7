#include "Platform/Linux/LinuxPermissionProbe.h"

#include "Platform/Linux/EvdevDevices.h"
#include "Platform/Linux/XInputEventSource.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMessageBox>

namespace {

constexpr int busTimeoutMs = 1000;

}

LinuxPermissionProbe::LinuxPermissionProbe(QDBusConnection sessionBus) : m_sessionBus(std::move(sessionBus)) {}

LinuxPermissionProbe::~LinuxPermissionProbe()
{
    delete m_inputHelp;
    delete m_accessibilityHelp;
}

bool LinuxPermissionProbe::inputMonitoringGranted()
{
    return EvdevDevices::anyReadable(EvdevDevices::Kind::keyboard) || XInputEventSource::available();
}

void LinuxPermissionProbe::checkAccessibility(std::function<void(bool)> answer)
{
    if (!m_sessionBus.isConnected()) {
        answer(false);
        return;
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"), QStringLiteral("org.a11y.Bus"),
        QStringLiteral("GetAddress"));
    auto *watcher = new QDBusPendingCallWatcher(m_sessionBus.asyncCall(call, busTimeoutMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [answer = std::move(answer)](QDBusPendingCallWatcher *finished) {
                         const QDBusPendingReply<QString> reply = *finished;
                         answer(reply.isValid() && !reply.value().isEmpty());
                         finished->deleteLater();
                     });
}

void LinuxPermissionProbe::showInputMonitoringHelp()
{
    show(m_inputHelp, QStringLiteral("Allow Plinkly to read input devices"),
         QStringLiteral("Plinkly hears keys and clicks in every application by reading this computer’s input "
                        "devices, which your user may not read yet. Until then, typing sounds play only inside "
                        "Plinkly’s own windows."),
         QStringLiteral("Either add your user to the input group and log in again:\n"
                        "    sudo usermod -aG input $USER\n\n"
                        "or let the user at the screen read input devices with a udev rule, saved as "
                        "/etc/udev/rules.d/70-plinkly-input.rules:\n"
                        "    SUBSYSTEM==\"input\", KERNEL==\"event*\", TAG+=\"uaccess\"\n"
                        "then run: sudo udevadm control --reload && sudo udevadm trigger\n\n"
                        "Either way, every program you run can then read the keyboard. On an X11 session "
                        "Plinkly can also hear keys through the display server without this; press "
                        "“Retry Monitor” afterwards."));
}

void LinuxPermissionProbe::showAccessibilityHelp()
{
    show(m_accessibilityHelp, QStringLiteral("Turn on the accessibility bus"),
         QStringLiteral("Plinkly reads the names and positions of desktop icons through the desktop’s "
                        "accessibility bus (AT-SPI), which does not answer in this session."),
         QStringLiteral("Turn on assistive technologies in your desktop’s accessibility settings (on GNOME: "
                        "gsettings set org.gnome.desktop.interface toolkit-accessibility true), make sure the "
                        "at-spi2-core package is installed, then log in again."));
}

void LinuxPermissionProbe::show(QPointer<QMessageBox> &box, const QString &title, const QString &text,
                                const QString &details)
{
    if (!box) {
        box = new QMessageBox(QMessageBox::Information, title, title, QMessageBox::Ok);
        box->setInformativeText(text + QStringLiteral("\n\n") + details);
        box->setTextInteractionFlags(Qt::TextSelectableByMouse);
        box->setAttribute(Qt::WA_DeleteOnClose);
    }
    box->open();
    box->raise();
    box->activateWindow();
}
