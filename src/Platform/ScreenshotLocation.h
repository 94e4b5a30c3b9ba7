#pragma once

#include <QString>

#include <optional>

// Where the desktop saves screenshots: its own setting when we know how to read it
// (GNOME: Pictures/Screenshots; KDE: Spectacle's save location), else Pictures, else Desktop.
namespace ScreenshotLocation {

struct Environment {
    QString currentDesktop;     // $XDG_CURRENT_DESKTOP
    QString picturesFolder;     // the user's Pictures folder
    QString desktopFolder;      // the user's Desktop folder
    QString spectacleConfig;    // Spectacle's configuration file
};

struct Folder {
    QString path;
    // A folder that holds screenshots only, so every new image in it is one.
    bool screenshotsOnly = false;

    friend bool operator==(const Folder &, const Folder &) = default;
};

// GNOME's own folder whether or not it exists yet; else the first candidate that exists as a
// folder; else Pictures, which may appear later; nothing without a Pictures location.
std::optional<Folder> resolve(const Environment &environment);

// This session's environment: the standard locations and the desktop's name.
Environment current();

}
