#pragma once

#include <QString>

// An application the user can pick as on task.
struct FocusAppOption {
    QString bundleIdentifier;
    QString name;

    friend bool operator==(const FocusAppOption &, const FocusAppOption &) = default;
};
