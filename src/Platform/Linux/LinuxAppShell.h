#pragma once

#include "Platform/AppShell.h"

class LinuxAppShell final : public AppShell {
public:
    void showCriticalAlert(const QString &title, const QString &text) override;
    void quit() override;
    bool openFolder(const QString &path) override;
    void revealItem(const QString &path, std::function<void()> notShown) override;
};
