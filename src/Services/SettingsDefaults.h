#pragma once

#include <QString>
#include <QStringList>

// Default of every preference. The first block holds values a first-time user sees as given;
// the second block holds our own choices where no value was given, made for what a
// newcomer would want: sounds and reactions on, everything that draws over the desktop
// or counts the user's input off until asked for.
namespace SettingsDefaults {
inline constexpr bool effectsPaused = false;
inline constexpr double keyboardVolume = 0.72;
inline constexpr double reactionVolume = 0.8;
inline constexpr bool petEnabled = true;
inline constexpr bool petStayPut = false;
inline const QString petName = QStringLiteral("Bloopy");
inline const QString petColorID = QStringLiteral("cream");
inline const QString petAccessoryID = QStringLiteral("none");
inline const QString petFaceID = QStringLiteral("happy");
inline constexpr double petPositionX = 1.0;
inline constexpr double petPositionY = 0.0;
inline const QString interfaceThemeID = QStringLiteral("violet");
inline const QString toyHandToneID = QStringLiteral("original");
inline constexpr double toyVolume = 0.55;
inline const QString focusGoal = QStringLiteral("Finish the next important thing");
inline constexpr int focusMinutes = 25;
inline constexpr bool focusNudgesEnabled = true;
inline const QStringList focusAllowedBundleIDs = QStringList();
inline constexpr bool hasCompletedOnboarding = false;

// Our own choices.
inline constexpr bool typingEnabled = true;
inline constexpr bool mouseEnabled = false;
inline constexpr bool slapEnabled = true;
inline constexpr double mouseVolume = 0.7;
inline constexpr bool normalizePackVolume = true;
inline constexpr bool stereoEnabled = true;
inline constexpr double pitchVariation = 0.012;
inline constexpr double volumeVariation = 0.045;
inline constexpr double sensitivity = 0.6;
inline constexpr double cooldown = 0.5;
inline const QString selectedKeyboardPack = QStringLiteral("recorded-cherry");
inline const QString selectedMousePack = QStringLiteral("recorded-cherry");
inline const QString selectedReactionPack = QStringLiteral("silly-ouchies");
inline constexpr bool interactionStatsEnabled = false;
inline constexpr bool statsOverlayEnabled = false;
inline constexpr double statsOverlayX = 1.0;
inline constexpr double statsOverlayY = 1.0;
inline constexpr bool systemReactionsEnabled = true;
inline constexpr bool batteryReactionsEnabled = true;
inline constexpr bool wakeReactionsEnabled = true;
inline const QString chargingVisualStyleID = QStringLiteral("burst");
inline constexpr bool lidDanceEnabled = false;
inline const QString lidDanceStyleID = QStringLiteral("tide");
inline constexpr bool arrivalReactionsEnabled = true;
inline constexpr bool downloadReactionsEnabled = true;
inline constexpr bool deviceReactionsEnabled = true;
inline constexpr bool screenshotReactionsEnabled = true;
inline constexpr bool cursorEffectsEnabled = false;
inline const QString cursorEffectStyleID = QStringLiteral("bubbles");
inline constexpr bool physicsEffectsEnabled = false;
}
