#pragma once

#include <QString>

// What the application asks of the desktop it runs on: alerts that end the launch,
// quitting, and opening or revealing items in the file manager.
class AppShell {
public:
    virtual ~AppShell() = default;
    // Shows a modal alert and returns when the user dismissed it.
    virtual void showCriticalAlert(const QString &title, const QString &text) = 0;
    virtual void quit() = 0;
    virtual void openFolder(const QString &path) = 0;
    // Shows the item selected in its folder; where that cannot be done, opens it if it is a
    // folder, else the folder holding it.
    virtual void revealItem(const QString &path) = 0;
};
