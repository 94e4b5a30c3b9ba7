#pragma once

#include "Platform/InputCapture.h"

#include <QString>

#include <optional>

// The published input-capture state: whether keys typed in every application are heard, and
// the status text that says how.
namespace InputCapturePolicy {
struct State {
    bool monitorActive = false;
    QString mode;

    bool operator==(const State &) const = default;
};

QString eventTapText();
QString globalFallbackText();
QString appOnlyText();
QString permissionNeededText();
QString monitorFailedText();
QString effectsPausedText();
QString typingSoundsOffText();

// level: the keyboard source that runs, none when the monitor is stopped or failed to start.
State state(bool effectsPaused, bool keyboardWanted, std::optional<InputCaptureLevel> level, bool permissionGranted);
}
