#include "App/InstallLocationNotice.h"

#include "Platform/AppShell.h"
#include "Services/InstallLocationPolicy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace {
QString canonical(const QString &path)
{
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? path : resolved;
}
}

bool InstallLocationNotice::allowsLaunch(AppShell &shell)
{
    const QString executable = canonical(QCoreApplication::applicationFilePath());
    const QString downloads = canonical(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
    const QStringList temporary{canonical(QDir::tempPath())};
    if (!InstallLocationPolicy::shouldSuggestMove(executable, downloads, temporary))
        return true;

    const QString heading = QStringLiteral("Install Plinkly in Applications");
    QMessageBox box(QMessageBox::Information, heading, heading);
    box.setInformativeText(QStringLiteral("Plinkly is running from a download or temporary folder, which may be cleaned "
                                          "up. Install it into ~/.local (the program in ~/.local/bin, its sounds in "
                                          "~/.local/share/plinkly) so it keeps working and can start at login."));
    QPushButton *show = box.addButton(QStringLiteral("Show Applications"), QMessageBox::AcceptRole);
    QPushButton *here = box.addButton(QStringLiteral("Continue Here"), QMessageBox::ActionRole);
    box.addButton(QStringLiteral("Quit"), QMessageBox::RejectRole);
    box.setDefaultButton(show);
    box.exec();

    if (box.clickedButton() == here)
        return true;
    if (box.clickedButton() == show) {
        const QString applications = InstallLocationPolicy::applicationsFolder(QDir::homePath());
        QDir().mkpath(applications);
        shell.openFolder(applications);
    }
    return false;
}
