#pragma once

#include "Platform/AppShell.h"

#include <QStringList>

class FakeAppShell final : public AppShell {
public:
    void showCriticalAlert(const QString &title, const QString &text) override { alerts.append(title + " | " + text); }
    void quit() override { ++quitCount; }
    void openFolder(const QString &path) override { openedFolders.append(path); }
    void revealItem(const QString &path) override { revealedItems.append(path); }

    QStringList alerts;
    int quitCount = 0;
    QStringList openedFolders;
    QStringList revealedItems;
};
