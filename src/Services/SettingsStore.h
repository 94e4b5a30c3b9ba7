#pragma once

#include "Platform/UserDefaults.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>

// Every preference, one published property per user-defaults key of the same name.
// A change is written at once, except while the store reads the saved values.
class SettingsStore final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool effectsPaused READ effectsPaused WRITE setEffectsPaused NOTIFY effectsPausedChanged)
    Q_PROPERTY(bool typingEnabled READ typingEnabled WRITE setTypingEnabled NOTIFY typingEnabledChanged)
    Q_PROPERTY(bool mouseEnabled READ mouseEnabled WRITE setMouseEnabled NOTIFY mouseEnabledChanged)
    Q_PROPERTY(bool slapEnabled READ slapEnabled WRITE setSlapEnabled NOTIFY slapEnabledChanged)
    Q_PROPERTY(double keyboardVolume READ keyboardVolume WRITE setKeyboardVolume NOTIFY keyboardVolumeChanged)
    Q_PROPERTY(double mouseVolume READ mouseVolume WRITE setMouseVolume NOTIFY mouseVolumeChanged)
    Q_PROPERTY(double reactionVolume READ reactionVolume WRITE setReactionVolume NOTIFY reactionVolumeChanged)
    Q_PROPERTY(bool normalizePackVolume READ normalizePackVolume WRITE setNormalizePackVolume NOTIFY normalizePackVolumeChanged)
    Q_PROPERTY(bool stereoEnabled READ stereoEnabled WRITE setStereoEnabled NOTIFY stereoEnabledChanged)
    Q_PROPERTY(double pitchVariation READ pitchVariation WRITE setPitchVariation NOTIFY pitchVariationChanged)
    Q_PROPERTY(double volumeVariation READ volumeVariation WRITE setVolumeVariation NOTIFY volumeVariationChanged)
    Q_PROPERTY(double sensitivity READ sensitivity WRITE setSensitivity NOTIFY sensitivityChanged)
    Q_PROPERTY(double cooldown READ cooldown WRITE setCooldown NOTIFY cooldownChanged)
    Q_PROPERTY(QString selectedKeyboardPack READ selectedKeyboardPack WRITE setSelectedKeyboardPack NOTIFY selectedKeyboardPackChanged)
    Q_PROPERTY(QString selectedMousePack READ selectedMousePack WRITE setSelectedMousePack NOTIFY selectedMousePackChanged)
    Q_PROPERTY(QString selectedReactionPack READ selectedReactionPack WRITE setSelectedReactionPack NOTIFY selectedReactionPackChanged)
    Q_PROPERTY(bool interactionStatsEnabled READ interactionStatsEnabled WRITE setInteractionStatsEnabled NOTIFY interactionStatsEnabledChanged)
    Q_PROPERTY(bool statsOverlayEnabled READ statsOverlayEnabled WRITE setStatsOverlayEnabled NOTIFY statsOverlayEnabledChanged)
    Q_PROPERTY(double statsOverlayX READ statsOverlayX WRITE setStatsOverlayX NOTIFY statsOverlayXChanged)
    Q_PROPERTY(double statsOverlayY READ statsOverlayY WRITE setStatsOverlayY NOTIFY statsOverlayYChanged)
    Q_PROPERTY(bool petEnabled READ petEnabled WRITE setPetEnabled NOTIFY petEnabledChanged)
    Q_PROPERTY(bool petStayPut READ petStayPut WRITE setPetStayPut NOTIFY petStayPutChanged)
    Q_PROPERTY(QString petName READ petName WRITE setPetName NOTIFY petNameChanged)
    Q_PROPERTY(QString petColorID READ petColorID WRITE setPetColorID NOTIFY petColorIDChanged)
    Q_PROPERTY(QString petAccessoryID READ petAccessoryID WRITE setPetAccessoryID NOTIFY petAccessoryIDChanged)
    Q_PROPERTY(QString petFaceID READ petFaceID WRITE setPetFaceID NOTIFY petFaceIDChanged)
    Q_PROPERTY(double petPositionX READ petPositionX WRITE setPetPositionX NOTIFY petPositionXChanged)
    Q_PROPERTY(double petPositionY READ petPositionY WRITE setPetPositionY NOTIFY petPositionYChanged)
    Q_PROPERTY(QString interfaceThemeID READ interfaceThemeID WRITE setInterfaceThemeID NOTIFY interfaceThemeIDChanged)
    Q_PROPERTY(bool systemReactionsEnabled READ systemReactionsEnabled WRITE setSystemReactionsEnabled NOTIFY systemReactionsEnabledChanged)
    Q_PROPERTY(bool batteryReactionsEnabled READ batteryReactionsEnabled WRITE setBatteryReactionsEnabled NOTIFY batteryReactionsEnabledChanged)
    Q_PROPERTY(bool wakeReactionsEnabled READ wakeReactionsEnabled WRITE setWakeReactionsEnabled NOTIFY wakeReactionsEnabledChanged)
    Q_PROPERTY(QString chargingVisualStyleID READ chargingVisualStyleID WRITE setChargingVisualStyleID NOTIFY chargingVisualStyleIDChanged)
    Q_PROPERTY(bool lidDanceEnabled READ lidDanceEnabled WRITE setLidDanceEnabled NOTIFY lidDanceEnabledChanged)
    Q_PROPERTY(QString lidDanceStyleID READ lidDanceStyleID WRITE setLidDanceStyleID NOTIFY lidDanceStyleIDChanged)
    Q_PROPERTY(bool arrivalReactionsEnabled READ arrivalReactionsEnabled WRITE setArrivalReactionsEnabled NOTIFY arrivalReactionsEnabledChanged)
    Q_PROPERTY(bool downloadReactionsEnabled READ downloadReactionsEnabled WRITE setDownloadReactionsEnabled NOTIFY downloadReactionsEnabledChanged)
    Q_PROPERTY(bool deviceReactionsEnabled READ deviceReactionsEnabled WRITE setDeviceReactionsEnabled NOTIFY deviceReactionsEnabledChanged)
    Q_PROPERTY(bool screenshotReactionsEnabled READ screenshotReactionsEnabled WRITE setScreenshotReactionsEnabled NOTIFY screenshotReactionsEnabledChanged)
    Q_PROPERTY(bool cursorEffectsEnabled READ cursorEffectsEnabled WRITE setCursorEffectsEnabled NOTIFY cursorEffectsEnabledChanged)
    Q_PROPERTY(QString cursorEffectStyleID READ cursorEffectStyleID WRITE setCursorEffectStyleID NOTIFY cursorEffectStyleIDChanged)
    Q_PROPERTY(bool physicsEffectsEnabled READ physicsEffectsEnabled WRITE setPhysicsEffectsEnabled NOTIFY physicsEffectsEnabledChanged)
    Q_PROPERTY(QString toyHandToneID READ toyHandToneID WRITE setToyHandToneID NOTIFY toyHandToneIDChanged)
    Q_PROPERTY(double toyVolume READ toyVolume WRITE setToyVolume NOTIFY toyVolumeChanged)
    Q_PROPERTY(QString focusGoal READ focusGoal WRITE setFocusGoal NOTIFY focusGoalChanged)
    Q_PROPERTY(int focusMinutes READ focusMinutes WRITE setFocusMinutes NOTIFY focusMinutesChanged)
    Q_PROPERTY(bool focusNudgesEnabled READ focusNudgesEnabled WRITE setFocusNudgesEnabled NOTIFY focusNudgesEnabledChanged)
    Q_PROPERTY(QStringList focusAllowedBundleIDs READ focusAllowedBundleIDs WRITE setFocusAllowedBundleIDs NOTIFY focusAllowedBundleIDsChanged)
    Q_PROPERTY(bool hasCompletedOnboarding READ hasCompletedOnboarding WRITE setHasCompletedOnboarding NOTIFY hasCompletedOnboardingChanged)

public:
    explicit SettingsStore(UserDefaults &defaults, QObject *parent = nullptr);

    bool loading() const { return m_loading; }

    bool effectsPaused() const { return m_effectsPaused; }
    void setEffectsPaused(bool value);
    bool typingEnabled() const { return m_typingEnabled; }
    void setTypingEnabled(bool value);
    bool mouseEnabled() const { return m_mouseEnabled; }
    void setMouseEnabled(bool value);
    bool slapEnabled() const { return m_slapEnabled; }
    void setSlapEnabled(bool value);
    double keyboardVolume() const { return m_keyboardVolume; }
    void setKeyboardVolume(double value);
    double mouseVolume() const { return m_mouseVolume; }
    void setMouseVolume(double value);
    double reactionVolume() const { return m_reactionVolume; }
    void setReactionVolume(double value);
    bool normalizePackVolume() const { return m_normalizePackVolume; }
    void setNormalizePackVolume(bool value);
    bool stereoEnabled() const { return m_stereoEnabled; }
    void setStereoEnabled(bool value);
    double pitchVariation() const { return m_pitchVariation; }
    void setPitchVariation(double value);
    double volumeVariation() const { return m_volumeVariation; }
    void setVolumeVariation(double value);
    double sensitivity() const { return m_sensitivity; }
    void setSensitivity(double value);
    double cooldown() const { return m_cooldown; }
    void setCooldown(double value);
    QString selectedKeyboardPack() const { return m_selectedKeyboardPack; }
    void setSelectedKeyboardPack(const QString &value);
    QString selectedMousePack() const { return m_selectedMousePack; }
    void setSelectedMousePack(const QString &value);
    QString selectedReactionPack() const { return m_selectedReactionPack; }
    void setSelectedReactionPack(const QString &value);
    bool interactionStatsEnabled() const { return m_interactionStatsEnabled; }
    void setInteractionStatsEnabled(bool value);
    bool statsOverlayEnabled() const { return m_statsOverlayEnabled; }
    void setStatsOverlayEnabled(bool value);
    double statsOverlayX() const { return m_statsOverlayX; }
    void setStatsOverlayX(double value);
    double statsOverlayY() const { return m_statsOverlayY; }
    void setStatsOverlayY(double value);
    bool petEnabled() const { return m_petEnabled; }
    void setPetEnabled(bool value);
    bool petStayPut() const { return m_petStayPut; }
    void setPetStayPut(bool value);
    QString petName() const { return m_petName; }
    void setPetName(const QString &value);
    QString petColorID() const { return m_petColorID; }
    void setPetColorID(const QString &value);
    QString petAccessoryID() const { return m_petAccessoryID; }
    void setPetAccessoryID(const QString &value);
    QString petFaceID() const { return m_petFaceID; }
    void setPetFaceID(const QString &value);
    double petPositionX() const { return m_petPositionX; }
    void setPetPositionX(double value);
    double petPositionY() const { return m_petPositionY; }
    void setPetPositionY(double value);
    QString interfaceThemeID() const { return m_interfaceThemeID; }
    void setInterfaceThemeID(const QString &value);
    bool systemReactionsEnabled() const { return m_systemReactionsEnabled; }
    void setSystemReactionsEnabled(bool value);
    bool batteryReactionsEnabled() const { return m_batteryReactionsEnabled; }
    void setBatteryReactionsEnabled(bool value);
    bool wakeReactionsEnabled() const { return m_wakeReactionsEnabled; }
    void setWakeReactionsEnabled(bool value);
    QString chargingVisualStyleID() const { return m_chargingVisualStyleID; }
    void setChargingVisualStyleID(const QString &value);
    bool lidDanceEnabled() const { return m_lidDanceEnabled; }
    void setLidDanceEnabled(bool value);
    QString lidDanceStyleID() const { return m_lidDanceStyleID; }
    void setLidDanceStyleID(const QString &value);
    bool arrivalReactionsEnabled() const { return m_arrivalReactionsEnabled; }
    void setArrivalReactionsEnabled(bool value);
    bool downloadReactionsEnabled() const { return m_downloadReactionsEnabled; }
    void setDownloadReactionsEnabled(bool value);
    bool deviceReactionsEnabled() const { return m_deviceReactionsEnabled; }
    void setDeviceReactionsEnabled(bool value);
    bool screenshotReactionsEnabled() const { return m_screenshotReactionsEnabled; }
    void setScreenshotReactionsEnabled(bool value);
    bool cursorEffectsEnabled() const { return m_cursorEffectsEnabled; }
    void setCursorEffectsEnabled(bool value);
    QString cursorEffectStyleID() const { return m_cursorEffectStyleID; }
    void setCursorEffectStyleID(const QString &value);
    bool physicsEffectsEnabled() const { return m_physicsEffectsEnabled; }
    void setPhysicsEffectsEnabled(bool value);
    QString toyHandToneID() const { return m_toyHandToneID; }
    void setToyHandToneID(const QString &value);
    double toyVolume() const { return m_toyVolume; }
    void setToyVolume(double value);
    QString focusGoal() const { return m_focusGoal; }
    void setFocusGoal(const QString &value);
    int focusMinutes() const { return m_focusMinutes; }
    void setFocusMinutes(int value);
    bool focusNudgesEnabled() const { return m_focusNudgesEnabled; }
    void setFocusNudgesEnabled(bool value);
    QStringList focusAllowedBundleIDs() const { return m_focusAllowedBundleIDs; }
    void setFocusAllowedBundleIDs(const QStringList &value);
    bool hasCompletedOnboarding() const { return m_hasCompletedOnboarding; }
    void setHasCompletedOnboarding(bool value);

    // Statistics totals and one-time steps: stored beside the preferences, not published.
    std::uint64_t interactionStatsKeys() const;
    std::uint64_t interactionStatsClicks() const;
    void storeInteractionStats(std::uint64_t keys, std::uint64_t clicks);
    bool installedCC0AudioUpgrade1() const;
    void setInstalledCC0AudioUpgrade1(bool value);
    bool didRequestInputMonitoringV2() const;
    void setDidRequestInputMonitoringV2(bool value);

    UserDefaults &defaults() { return m_defaults; }

signals:
    // Any property changed.
    void changed();
    void effectsPausedChanged(bool value);
    void typingEnabledChanged(bool value);
    void mouseEnabledChanged(bool value);
    void slapEnabledChanged(bool value);
    void keyboardVolumeChanged(double value);
    void mouseVolumeChanged(double value);
    void reactionVolumeChanged(double value);
    void normalizePackVolumeChanged(bool value);
    void stereoEnabledChanged(bool value);
    void pitchVariationChanged(double value);
    void volumeVariationChanged(double value);
    void sensitivityChanged(double value);
    void cooldownChanged(double value);
    void selectedKeyboardPackChanged(const QString &value);
    void selectedMousePackChanged(const QString &value);
    void selectedReactionPackChanged(const QString &value);
    void interactionStatsEnabledChanged(bool value);
    void statsOverlayEnabledChanged(bool value);
    void statsOverlayXChanged(double value);
    void statsOverlayYChanged(double value);
    void petEnabledChanged(bool value);
    void petStayPutChanged(bool value);
    void petNameChanged(const QString &value);
    void petColorIDChanged(const QString &value);
    void petAccessoryIDChanged(const QString &value);
    void petFaceIDChanged(const QString &value);
    void petPositionXChanged(double value);
    void petPositionYChanged(double value);
    void interfaceThemeIDChanged(const QString &value);
    void systemReactionsEnabledChanged(bool value);
    void batteryReactionsEnabledChanged(bool value);
    void wakeReactionsEnabledChanged(bool value);
    void chargingVisualStyleIDChanged(const QString &value);
    void lidDanceEnabledChanged(bool value);
    void lidDanceStyleIDChanged(const QString &value);
    void arrivalReactionsEnabledChanged(bool value);
    void downloadReactionsEnabledChanged(bool value);
    void deviceReactionsEnabledChanged(bool value);
    void screenshotReactionsEnabledChanged(bool value);
    void cursorEffectsEnabledChanged(bool value);
    void cursorEffectStyleIDChanged(const QString &value);
    void physicsEffectsEnabledChanged(bool value);
    void toyHandToneIDChanged(const QString &value);
    void toyVolumeChanged(double value);
    void focusGoalChanged(const QString &value);
    void focusMinutesChanged(int value);
    void focusNudgesEnabledChanged(bool value);
    void focusAllowedBundleIDsChanged(const QStringList &value);
    void hasCompletedOnboardingChanged(bool value);

private:
    template <typename T>
    void assign(T &field, const T &value, const QString &key, void (SettingsStore::*signal)(std::conditional_t<std::is_arithmetic_v<T>, T, const T &>));
    bool readFlag(const QString &key) const;
    std::uint64_t readCount(const QString &key) const;

    UserDefaults &m_defaults;
    bool m_loading = true;
    bool m_effectsPaused;
    bool m_typingEnabled;
    bool m_mouseEnabled;
    bool m_slapEnabled;
    double m_keyboardVolume;
    double m_mouseVolume;
    double m_reactionVolume;
    bool m_normalizePackVolume;
    bool m_stereoEnabled;
    double m_pitchVariation;
    double m_volumeVariation;
    double m_sensitivity;
    double m_cooldown;
    QString m_selectedKeyboardPack;
    QString m_selectedMousePack;
    QString m_selectedReactionPack;
    bool m_interactionStatsEnabled;
    bool m_statsOverlayEnabled;
    double m_statsOverlayX;
    double m_statsOverlayY;
    bool m_petEnabled;
    bool m_petStayPut;
    QString m_petName;
    QString m_petColorID;
    QString m_petAccessoryID;
    QString m_petFaceID;
    double m_petPositionX;
    double m_petPositionY;
    QString m_interfaceThemeID;
    bool m_systemReactionsEnabled;
    bool m_batteryReactionsEnabled;
    bool m_wakeReactionsEnabled;
    QString m_chargingVisualStyleID;
    bool m_lidDanceEnabled;
    QString m_lidDanceStyleID;
    bool m_arrivalReactionsEnabled;
    bool m_downloadReactionsEnabled;
    bool m_deviceReactionsEnabled;
    bool m_screenshotReactionsEnabled;
    bool m_cursorEffectsEnabled;
    QString m_cursorEffectStyleID;
    bool m_physicsEffectsEnabled;
    QString m_toyHandToneID;
    double m_toyVolume;
    QString m_focusGoal;
    int m_focusMinutes;
    bool m_focusNudgesEnabled;
    QStringList m_focusAllowedBundleIDs;
    bool m_hasCompletedOnboarding;
};
