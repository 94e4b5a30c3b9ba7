#pragma once

#include "Platform/Workspace.h"

#include <QHash>

// A desktop the test arranges by hand; activate() switches applications as a user would.
class FakeWorkspace final : public Workspace {
public:
    QString ownIdentifier() const override { return own; }
    std::optional<WorkspaceApplication> frontmostApplication() override { return frontmost; }
    QList<WorkspaceApplication> runningApplications() override { return running; }
    std::optional<QString> installedApplicationName(const QString &identifier) override
    {
        ++installedLookups;
        if (const auto found = installed.constFind(identifier); found != installed.cend())
            return *found;
        return std::nullopt;
    }

    bool watchActivations(ActivationHandler handler) override
    {
        if (!reportsActivations)
            return false;
        m_handler = std::move(handler);
        return true;
    }
    void stopWatching() override { m_handler = nullptr; }

    bool watching() const { return bool(m_handler); }
    void activate(const WorkspaceApplication &application)
    {
        frontmost = application;
        if (m_handler)
            m_handler(application);
    }

    QString own = QStringLiteral("plinkly");
    std::optional<WorkspaceApplication> frontmost;
    QList<WorkspaceApplication> running;
    QHash<QString, QString> installed;
    bool reportsActivations = true;
    int installedLookups = 0;

private:
    ActivationHandler m_handler;
};
