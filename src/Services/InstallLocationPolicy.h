#pragma once

#include <QString>
#include <QStringList>

// Whether to suggest moving Plinkly before it starts: only when it runs from where a
// download was just unpacked (the Downloads folder or a temporary folder), since it would
// not survive a clean-up there and an autostart entry would point at a vanishing file.
namespace InstallLocationPolicy {
bool shouldSuggestMove(const QString &executablePath, const QString &downloadsFolder,
                       const QStringList &temporaryFolders);
// Where the install command with the prefix ~/.local puts the program.
QString applicationsFolder(const QString &homeFolder);
}
