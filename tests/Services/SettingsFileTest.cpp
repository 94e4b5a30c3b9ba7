#include "support/TestFolders.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {
// Every setting changed at least once, some twice, some back to their default, some to the
// value they already hold; the stored totals and one-time steps beside them.
void changeEverything(SettingsStore &store)
{
    store.setEffectsPaused(true);
    store.setTypingEnabled(false);
    store.setMouseEnabled(true);
    store.setSlapEnabled(false);
    store.setKeyboardVolume(0.35);
    store.setMouseVolume(1.25);
    store.setReactionVolume(0.8);
    store.setNormalizePackVolume(false);
    store.setStereoEnabled(false);
    store.setPitchVariation(0.1);
    store.setVolumeVariation(1.0 / 3.0);
    store.setSensitivity(0.9);
    store.setCooldown(2.0);
    store.setSelectedKeyboardPack(QStringLiteral("cream, thock"));
    store.setSelectedMousePack(QStringLiteral("user/Ünïcode pack"));
    store.setSelectedReactionPack(QString());
    store.setInteractionStatsEnabled(true);
    store.setStatsOverlayEnabled(true);
    store.setStatsOverlayX(0.25);
    store.setStatsOverlayY(0.0);
    store.setPetEnabled(false);
    store.setPetStayPut(true);
    store.setPetName(QStringLiteral("Señor Fin 🐬"));
    store.setPetColorID(QStringLiteral("mint"));
    store.setPetAccessoryID(QStringLiteral("crown"));
    store.setPetFaceID(QStringLiteral("sleepy"));
    store.setPetPositionX(0.5);
    store.setPetPositionY(0.125);
    store.setInterfaceThemeID(QStringLiteral("ocean"));
    store.setSystemReactionsEnabled(false);
    store.setBatteryReactionsEnabled(false);
    store.setWakeReactionsEnabled(false);
    store.setChargingVisualStyleID(QStringLiteral("ripple"));
    store.setLidDanceEnabled(true);
    store.setLidDanceStyleID(QStringLiteral("disco"));
    store.setArrivalReactionsEnabled(false);
    store.setDownloadReactionsEnabled(false);
    store.setDeviceReactionsEnabled(false);
    store.setScreenshotReactionsEnabled(false);
    store.setCursorEffectsEnabled(true);
    store.setCursorEffectStyleID(QStringLiteral("sparkles"));
    store.setPhysicsEffectsEnabled(true);
    store.setToyHandToneID(QStringLiteral("deep"));
    store.setToyVolume(0.0);
    store.setFocusGoal(QStringLiteral("Write \"the\" report; then = rest\n"));
    store.setFocusMinutes(90);
    store.setFocusNudgesEnabled(false);
    store.setFocusAllowedBundleIDs({QStringLiteral("org.gnome.TextEditor"), QStringLiteral("b,c")});
    store.setHasCompletedOnboarding(true);

    store.setKeyboardVolume(0.72);
    store.setPetName(QStringLiteral("Bloopy"));
    store.setFocusMinutes(45);
    store.setEffectsPaused(false);
    store.setTypingEnabled(false);
    store.storeInteractionStats(123456789012ULL, 42);
    store.setInstalledCC0AudioUpgrade1(true);
    store.setDidRequestInputMonitoringV2(false);
}
}

// The file an earlier store wrote for changeEverything(), byte for byte.
const char expectedFile[] = R"([General]
arrivalReactionsEnabled=false
batteryReactionsEnabled=false
chargingVisualStyleID=ripple
cooldown=2
cursorEffectStyleID=sparkles
cursorEffectsEnabled=true
deviceReactionsEnabled=false
didRequestInputMonitoringV2=false
downloadReactionsEnabled=false
effectsPaused=false
focusAllowedBundleIDs=org.gnome.TextEditor, "b,c"
focusGoal="Write \"the\" report; then = rest\n"
focusMinutes=45
focusNudgesEnabled=false
hasCompletedOnboarding=true
installedCC0AudioUpgrade1=true
interactionStatsClicks=42
interactionStatsEnabled=true
interactionStatsKeys=123456789012
interfaceThemeID=ocean
keyboardVolume=0.72
lidDanceEnabled=true
lidDanceStyleID=disco
mouseEnabled=true
mouseVolume=1.25
normalizePackVolume=false
petAccessoryID=crown
petColorID=mint
petEnabled=false
petFaceID=sleepy
petName=Bloopy
petPositionX=0.5
petPositionY=0.125
petStayPut=true
physicsEffectsEnabled=true
pitchVariation=0.1
screenshotReactionsEnabled=false
selectedKeyboardPack="cream, thock"
selectedMousePack=user/Ünïcode pack
selectedReactionPack=
sensitivity=0.9
slapEnabled=false
statsOverlayEnabled=true
statsOverlayX=0.25
statsOverlayY=0
stereoEnabled=false
systemReactionsEnabled=false
toyHandToneID=deep
toyVolume=0
typingEnabled=false
volumeVariation=0.3333333333333333
wakeReactionsEnabled=false
)";

TEST(SettingsFile, TheWrittenFileKeepsItsFormat)
{
    TestSettings settings;
    changeEverything(*settings.store);
    settings.defaults->sync();
    QFile file(settings.folder.filePath("defaults.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(expectedFile));
}
