#pragma once

#include "Platform/AppShell.h"

#include <QStringList>

class FakeAppShell final : public AppShell {
public:
    void showCriticalAlert(const QString &title, const QString &text) override { alerts.append(title + " | " + text); }
    void quit() override { ++quitCount; }
    bool openFolder(const QString &path) override
    {
        openedFolders.append(path);
        return launcherInstalled;
    }
    void revealItem(const QString &path, std::function<void()> notShown) override
    {
        revealedItems.append(path);
        if (!launcherInstalled)
            notShown();
    }

    // Without one, folders and items cannot be shown.
    bool launcherInstalled = true;
    QStringList alerts;
    int quitCount = 0;
    QStringList openedFolders;
    QStringList revealedItems;
};
