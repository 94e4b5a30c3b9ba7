#pragma once

#include <QString>

// What the application asks of the desktop it runs on: alerts that end the launch,
// quitting, and opening folders in the file manager.
class AppShell {
public:
    virtual ~AppShell() = default;
    // Shows a modal alert and returns when the user dismissed it.
    virtual void showCriticalAlert(const QString &title, const QString &text) = 0;
    virtual void quit() = 0;
    virtual void openFolder(const QString &path) = 0;
};
