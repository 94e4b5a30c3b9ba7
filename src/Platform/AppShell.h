#pragma once

#include <QString>

#include <functional>

// What the application asks of the desktop it runs on: alerts that end the launch,
// quitting, and opening or revealing items in the file manager.
class AppShell {
public:
    virtual ~AppShell() = default;
    // Shows a modal alert and returns when the user dismissed it.
    virtual void showCriticalAlert(const QString &title, const QString &text) = 0;
    virtual void quit() = 0;
    // False when nothing on this computer could open it (no file manager, no launcher).
    virtual bool openFolder(const QString &path) = 0;
    // Shows the item selected in its folder; where that cannot be done, opens it if it is a
    // folder, else the folder holding it; `notShown` runs when nothing could.
    virtual void revealItem(const QString &path, std::function<void()> notShown) = 0;

    // What a window says when a folder could not be opened, so the user can go there.
    static QString folderNotOpenedText(const QString &path)
    {
        return QStringLiteral("No file manager could be started to open the folder. Open it yourself: ") + path;
    }
};
