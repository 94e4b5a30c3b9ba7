#pragma once

#include "Platform/Workspace.h"

// A desktop that tells nothing about its applications, as a pure Wayland session does.
class NoWorkspace final : public Workspace {
public:
    QString ownIdentifier() const override { return {}; }
    std::optional<WorkspaceApplication> frontmostApplication() override { return std::nullopt; }
    QList<WorkspaceApplication> runningApplications() override { return {}; }
    std::optional<QString> installedApplicationName(const QString &) override { return std::nullopt; }
    bool watchActivations(ActivationHandler) override { return false; }
    void stopWatching() override {}
};
