#include "Platform/Linux/LinuxAppShell.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

void LinuxAppShell::showCriticalAlert(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, title, QMessageBox::Ok);
    box.setInformativeText(text);
    box.exec();
}

void LinuxAppShell::quit()
{
    // Queued, so a caller still on the stack finishes before the loop ends.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool LinuxAppShell::openFolder(const QString &path)
{
    // False without xdg-open or another launcher Qt knows.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void LinuxAppShell::revealItem(const QString &path, std::function<void()> notShown)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), qApp);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, qApp,
                     [path, notShown = std::move(notShown)](QDBusPendingCallWatcher *done) {
                         done->deleteLater();
                         // No file manager answers on the bus: open the item if it is a folder,
                         // else its folder.
                         if (!done->isError())
                             return;
                         const QFileInfo item(path);
                         if (!QDesktopServices::openUrl(QUrl::fromLocalFile(item.isDir() ? path : item.absolutePath()))
                             && notShown)
                             notShown();
                     });
}
