#include "Services/Input/InputCapturePolicy.h"

QString InputCapturePolicy::eventTapText()
{
    return QStringLiteral("Global (input devices)");
}

QString InputCapturePolicy::globalFallbackText()
{
    return QStringLiteral("Global (X11)");
}

QString InputCapturePolicy::appOnlyText()
{
    return QStringLiteral("App-only (permission needed)");
}

QString InputCapturePolicy::permissionNeededText()
{
    return QStringLiteral("Permission needed");
}

QString InputCapturePolicy::monitorFailedText()
{
    return QStringLiteral("Monitor failed");
}

QString InputCapturePolicy::effectsPausedText()
{
    return QStringLiteral("Effects paused");
}

QString InputCapturePolicy::typingSoundsOffText()
{
    return QStringLiteral("Typing sounds off");
}

InputCapturePolicy::State InputCapturePolicy::state(bool effectsPaused, bool keyboardWanted,
                                                    std::optional<InputCaptureLevel> level, bool permissionGranted)
{
    if (effectsPaused)
        return {false, effectsPausedText()};
    if (!keyboardWanted)
        return {false, typingSoundsOffText()};
    if (!level)
        return {false, permissionGranted ? monitorFailedText() : permissionNeededText()};
    switch (*level) {
    case InputCaptureLevel::eventTap:
        return {true, eventTapText()};
    case InputCaptureLevel::globalFallback:
        return {true, globalFallbackText()};
    case InputCaptureLevel::appOnly:
        break;
    }
    return {false, appOnlyText()};
}
