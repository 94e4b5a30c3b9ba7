#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// One application as the desktop knows it: its desktop-entry id (empty when it has none) and
// the name shown to the user (empty when it has none).
struct WorkspaceApplication {
    QString identifier;
    QString name;

    friend bool operator==(const WorkspaceApplication &, const WorkspaceApplication &) = default;
};

// The applications of the desktop session: which one is in front, which ones run, which
// ones are installed. Activations reach the handler on the GUI thread, once per switch from
// one application to another (switching between two windows of one application is no switch).
class Workspace {
public:
    using ActivationHandler = std::function<void(const WorkspaceApplication &)>;

    virtual ~Workspace() = default;

    // This application's own desktop-entry id.
    virtual QString ownIdentifier() const = 0;
    virtual std::optional<WorkspaceApplication> frontmostApplication() = 0;
    // Applications with a window meant for the task bar, in the desktop's order.
    virtual QList<WorkspaceApplication> runningApplications() = 0;
    // The name of the installed application with that id, or nothing when none is installed.
    virtual std::optional<QString> installedApplicationName(const QString &identifier) = 0;

    // False when this desktop does not say which application is in front.
    virtual bool watchActivations(ActivationHandler handler) = 0;
    virtual void stopWatching() = 0;
};
