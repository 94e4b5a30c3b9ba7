#include "Services/SettingsStore.h"

#include "Services/SettingsDefaults.h"
#include "Services/SettingsValue.h"

namespace {
const QString statsKeysKey = QStringLiteral("interactionStatsKeys");
const QString statsClicksKey = QStringLiteral("interactionStatsClicks");
const QString audioUpgradeKey = QStringLiteral("installedCC0AudioUpgrade1");
const QString inputRequestKey = QStringLiteral("didRequestInputMonitoringV2");
}

SettingsStore::SettingsStore(UserDefaults &defaults, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_effectsPaused(SettingsValue::toBool(defaults.value(QStringLiteral("effectsPaused"))).value_or(SettingsDefaults::effectsPaused))
    , m_typingEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("typingEnabled"))).value_or(SettingsDefaults::typingEnabled))
    , m_mouseEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("mouseEnabled"))).value_or(SettingsDefaults::mouseEnabled))
    , m_slapEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("slapEnabled"))).value_or(SettingsDefaults::slapEnabled))
    , m_keyboardVolume(SettingsValue::toDouble(defaults.value(QStringLiteral("keyboardVolume"))).value_or(SettingsDefaults::keyboardVolume))
    , m_mouseVolume(SettingsValue::toDouble(defaults.value(QStringLiteral("mouseVolume"))).value_or(SettingsDefaults::mouseVolume))
    , m_reactionVolume(SettingsValue::toDouble(defaults.value(QStringLiteral("reactionVolume"))).value_or(SettingsDefaults::reactionVolume))
    , m_normalizePackVolume(SettingsValue::toBool(defaults.value(QStringLiteral("normalizePackVolume"))).value_or(SettingsDefaults::normalizePackVolume))
    , m_stereoEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("stereoEnabled"))).value_or(SettingsDefaults::stereoEnabled))
    , m_pitchVariation(SettingsValue::toDouble(defaults.value(QStringLiteral("pitchVariation"))).value_or(SettingsDefaults::pitchVariation))
    , m_volumeVariation(SettingsValue::toDouble(defaults.value(QStringLiteral("volumeVariation"))).value_or(SettingsDefaults::volumeVariation))
    , m_sensitivity(SettingsValue::toDouble(defaults.value(QStringLiteral("sensitivity"))).value_or(SettingsDefaults::sensitivity))
    , m_cooldown(SettingsValue::toDouble(defaults.value(QStringLiteral("cooldown"))).value_or(SettingsDefaults::cooldown))
    , m_selectedKeyboardPack(SettingsValue::toString(defaults.value(QStringLiteral("selectedKeyboardPack"))).value_or(SettingsDefaults::selectedKeyboardPack))
    , m_selectedMousePack(SettingsValue::toString(defaults.value(QStringLiteral("selectedMousePack"))).value_or(SettingsDefaults::selectedMousePack))
    , m_selectedReactionPack(SettingsValue::toString(defaults.value(QStringLiteral("selectedReactionPack"))).value_or(SettingsDefaults::selectedReactionPack))
    , m_interactionStatsEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("interactionStatsEnabled"))).value_or(SettingsDefaults::interactionStatsEnabled))
    , m_statsOverlayEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("statsOverlayEnabled"))).value_or(SettingsDefaults::statsOverlayEnabled))
    , m_statsOverlayX(SettingsValue::toDouble(defaults.value(QStringLiteral("statsOverlayX"))).value_or(SettingsDefaults::statsOverlayX))
    , m_statsOverlayY(SettingsValue::toDouble(defaults.value(QStringLiteral("statsOverlayY"))).value_or(SettingsDefaults::statsOverlayY))
    , m_petEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("petEnabled"))).value_or(SettingsDefaults::petEnabled))
    , m_petStayPut(SettingsValue::toBool(defaults.value(QStringLiteral("petStayPut"))).value_or(SettingsDefaults::petStayPut))
    , m_petName(SettingsValue::toString(defaults.value(QStringLiteral("petName"))).value_or(SettingsDefaults::petName))
    , m_petColorID(SettingsValue::toString(defaults.value(QStringLiteral("petColorID"))).value_or(SettingsDefaults::petColorID))
    , m_petAccessoryID(SettingsValue::toString(defaults.value(QStringLiteral("petAccessoryID"))).value_or(SettingsDefaults::petAccessoryID))
    , m_petFaceID(SettingsValue::toString(defaults.value(QStringLiteral("petFaceID"))).value_or(SettingsDefaults::petFaceID))
    , m_petPositionX(SettingsValue::toDouble(defaults.value(QStringLiteral("petPositionX"))).value_or(SettingsDefaults::petPositionX))
    , m_petPositionY(SettingsValue::toDouble(defaults.value(QStringLiteral("petPositionY"))).value_or(SettingsDefaults::petPositionY))
    , m_interfaceThemeID(SettingsValue::toString(defaults.value(QStringLiteral("interfaceThemeID"))).value_or(SettingsDefaults::interfaceThemeID))
    , m_systemReactionsEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("systemReactionsEnabled"))).value_or(SettingsDefaults::systemReactionsEnabled))
    , m_batteryReactionsEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("batteryReactionsEnabled"))).value_or(SettingsDefaults::batteryReactionsEnabled))
    , m_wakeReactionsEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("wakeReactionsEnabled"))).value_or(SettingsDefaults::wakeReactionsEnabled))
    , m_chargingVisualStyleID(SettingsValue::toString(defaults.value(QStringLiteral("chargingVisualStyleID"))).value_or(SettingsDefaults::chargingVisualStyleID))
    , m_lidDanceEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("lidDanceEnabled"))).value_or(SettingsDefaults::lidDanceEnabled))
    , m_lidDanceStyleID(SettingsValue::toString(defaults.value(QStringLiteral("lidDanceStyleID"))).value_or(SettingsDefaults::lidDanceStyleID))
    , m_arrivalReactionsEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("arrivalReactionsEnabled"))).value_or(SettingsDefaults::arrivalReactionsEnabled))
    , m_downloadReactionsEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("downloadReactionsEnabled"))).value_or(SettingsDefaults::downloadReactionsEnabled))
    , m_deviceReactionsEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("deviceReactionsEnabled"))).value_or(SettingsDefaults::deviceReactionsEnabled))
    , m_screenshotReactionsEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("screenshotReactionsEnabled"))).value_or(SettingsDefaults::screenshotReactionsEnabled))
    , m_cursorEffectsEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("cursorEffectsEnabled"))).value_or(SettingsDefaults::cursorEffectsEnabled))
    , m_cursorEffectStyleID(SettingsValue::toString(defaults.value(QStringLiteral("cursorEffectStyleID"))).value_or(SettingsDefaults::cursorEffectStyleID))
    , m_physicsEffectsEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("physicsEffectsEnabled"))).value_or(SettingsDefaults::physicsEffectsEnabled))
    , m_toyHandToneID(SettingsValue::toString(defaults.value(QStringLiteral("toyHandToneID"))).value_or(SettingsDefaults::toyHandToneID))
    , m_toyVolume(SettingsValue::toDouble(defaults.value(QStringLiteral("toyVolume"))).value_or(SettingsDefaults::toyVolume))
    , m_focusGoal(SettingsValue::toString(defaults.value(QStringLiteral("focusGoal"))).value_or(SettingsDefaults::focusGoal))
    , m_focusMinutes(SettingsValue::toInt(defaults.value(QStringLiteral("focusMinutes"))).value_or(SettingsDefaults::focusMinutes))
    , m_focusNudgesEnabled(SettingsValue::toBool(defaults.value(QStringLiteral("focusNudgesEnabled"))).value_or(SettingsDefaults::focusNudgesEnabled))
    , m_focusAllowedBundleIDs(SettingsValue::toStringList(defaults.value(QStringLiteral("focusAllowedBundleIDs"))).value_or(SettingsDefaults::focusAllowedBundleIDs))
    , m_hasCompletedOnboarding(SettingsValue::toBool(defaults.value(QStringLiteral("hasCompletedOnboarding"))).value_or(SettingsDefaults::hasCompletedOnboarding))
{
    m_loading = false;
}

template <typename T>
void SettingsStore::assign(T &field, const T &value, const QString &key, void (SettingsStore::*signal)(std::conditional_t<std::is_arithmetic_v<T>, T, const T &>))
{
    if (field == value)
        return;
    field = value;
    if (!m_loading)
        m_defaults.setValue(key, QVariant::fromValue(field));
    emit (this->*signal)(field);
    emit changed();
}

void SettingsStore::setEffectsPaused(bool value)
{
    assign(m_effectsPaused, value, QStringLiteral("effectsPaused"), &SettingsStore::effectsPausedChanged);
}

void SettingsStore::setTypingEnabled(bool value)
{
    assign(m_typingEnabled, value, QStringLiteral("typingEnabled"), &SettingsStore::typingEnabledChanged);
}

void SettingsStore::setMouseEnabled(bool value)
{
    assign(m_mouseEnabled, value, QStringLiteral("mouseEnabled"), &SettingsStore::mouseEnabledChanged);
}

void SettingsStore::setSlapEnabled(bool value)
{
    assign(m_slapEnabled, value, QStringLiteral("slapEnabled"), &SettingsStore::slapEnabledChanged);
}

void SettingsStore::setKeyboardVolume(double value)
{
    assign(m_keyboardVolume, value, QStringLiteral("keyboardVolume"), &SettingsStore::keyboardVolumeChanged);
}

void SettingsStore::setMouseVolume(double value)
{
    assign(m_mouseVolume, value, QStringLiteral("mouseVolume"), &SettingsStore::mouseVolumeChanged);
}

void SettingsStore::setReactionVolume(double value)
{
    assign(m_reactionVolume, value, QStringLiteral("reactionVolume"), &SettingsStore::reactionVolumeChanged);
}

void SettingsStore::setNormalizePackVolume(bool value)
{
    assign(m_normalizePackVolume, value, QStringLiteral("normalizePackVolume"), &SettingsStore::normalizePackVolumeChanged);
}

void SettingsStore::setStereoEnabled(bool value)
{
    assign(m_stereoEnabled, value, QStringLiteral("stereoEnabled"), &SettingsStore::stereoEnabledChanged);
}

void SettingsStore::setPitchVariation(double value)
{
    assign(m_pitchVariation, value, QStringLiteral("pitchVariation"), &SettingsStore::pitchVariationChanged);
}

void SettingsStore::setVolumeVariation(double value)
{
    assign(m_volumeVariation, value, QStringLiteral("volumeVariation"), &SettingsStore::volumeVariationChanged);
}

void SettingsStore::setSensitivity(double value)
{
    assign(m_sensitivity, value, QStringLiteral("sensitivity"), &SettingsStore::sensitivityChanged);
}

void SettingsStore::setCooldown(double value)
{
    assign(m_cooldown, value, QStringLiteral("cooldown"), &SettingsStore::cooldownChanged);
}

void SettingsStore::setSelectedKeyboardPack(const QString &value)
{
    assign(m_selectedKeyboardPack, value, QStringLiteral("selectedKeyboardPack"), &SettingsStore::selectedKeyboardPackChanged);
}

void SettingsStore::setSelectedMousePack(const QString &value)
{
    assign(m_selectedMousePack, value, QStringLiteral("selectedMousePack"), &SettingsStore::selectedMousePackChanged);
}

void SettingsStore::setSelectedReactionPack(const QString &value)
{
    assign(m_selectedReactionPack, value, QStringLiteral("selectedReactionPack"), &SettingsStore::selectedReactionPackChanged);
}

void SettingsStore::setInteractionStatsEnabled(bool value)
{
    assign(m_interactionStatsEnabled, value, QStringLiteral("interactionStatsEnabled"), &SettingsStore::interactionStatsEnabledChanged);
}

void SettingsStore::setStatsOverlayEnabled(bool value)
{
    assign(m_statsOverlayEnabled, value, QStringLiteral("statsOverlayEnabled"), &SettingsStore::statsOverlayEnabledChanged);
}

void SettingsStore::setStatsOverlayX(double value)
{
    assign(m_statsOverlayX, value, QStringLiteral("statsOverlayX"), &SettingsStore::statsOverlayXChanged);
}

void SettingsStore::setStatsOverlayY(double value)
{
    assign(m_statsOverlayY, value, QStringLiteral("statsOverlayY"), &SettingsStore::statsOverlayYChanged);
}

void SettingsStore::setPetEnabled(bool value)
{
    assign(m_petEnabled, value, QStringLiteral("petEnabled"), &SettingsStore::petEnabledChanged);
}

void SettingsStore::setPetStayPut(bool value)
{
    assign(m_petStayPut, value, QStringLiteral("petStayPut"), &SettingsStore::petStayPutChanged);
}

void SettingsStore::setPetName(const QString &value)
{
    assign(m_petName, value, QStringLiteral("petName"), &SettingsStore::petNameChanged);
}

void SettingsStore::setPetColorID(const QString &value)
{
    assign(m_petColorID, value, QStringLiteral("petColorID"), &SettingsStore::petColorIDChanged);
}

void SettingsStore::setPetAccessoryID(const QString &value)
{
    assign(m_petAccessoryID, value, QStringLiteral("petAccessoryID"), &SettingsStore::petAccessoryIDChanged);
}

void SettingsStore::setPetFaceID(const QString &value)
{
    assign(m_petFaceID, value, QStringLiteral("petFaceID"), &SettingsStore::petFaceIDChanged);
}

void SettingsStore::setPetPositionX(double value)
{
    assign(m_petPositionX, value, QStringLiteral("petPositionX"), &SettingsStore::petPositionXChanged);
}

void SettingsStore::setPetPositionY(double value)
{
    assign(m_petPositionY, value, QStringLiteral("petPositionY"), &SettingsStore::petPositionYChanged);
}

void SettingsStore::setInterfaceThemeID(const QString &value)
{
    assign(m_interfaceThemeID, value, QStringLiteral("interfaceThemeID"), &SettingsStore::interfaceThemeIDChanged);
}

void SettingsStore::setSystemReactionsEnabled(bool value)
{
    assign(m_systemReactionsEnabled, value, QStringLiteral("systemReactionsEnabled"), &SettingsStore::systemReactionsEnabledChanged);
}

void SettingsStore::setBatteryReactionsEnabled(bool value)
{
    assign(m_batteryReactionsEnabled, value, QStringLiteral("batteryReactionsEnabled"), &SettingsStore::batteryReactionsEnabledChanged);
}

void SettingsStore::setWakeReactionsEnabled(bool value)
{
    assign(m_wakeReactionsEnabled, value, QStringLiteral("wakeReactionsEnabled"), &SettingsStore::wakeReactionsEnabledChanged);
}

void SettingsStore::setChargingVisualStyleID(const QString &value)
{
    assign(m_chargingVisualStyleID, value, QStringLiteral("chargingVisualStyleID"), &SettingsStore::chargingVisualStyleIDChanged);
}

void SettingsStore::setLidDanceEnabled(bool value)
{
    assign(m_lidDanceEnabled, value, QStringLiteral("lidDanceEnabled"), &SettingsStore::lidDanceEnabledChanged);
}

void SettingsStore::setLidDanceStyleID(const QString &value)
{
    assign(m_lidDanceStyleID, value, QStringLiteral("lidDanceStyleID"), &SettingsStore::lidDanceStyleIDChanged);
}

void SettingsStore::setArrivalReactionsEnabled(bool value)
{
    assign(m_arrivalReactionsEnabled, value, QStringLiteral("arrivalReactionsEnabled"), &SettingsStore::arrivalReactionsEnabledChanged);
}

void SettingsStore::setDownloadReactionsEnabled(bool value)
{
    assign(m_downloadReactionsEnabled, value, QStringLiteral("downloadReactionsEnabled"), &SettingsStore::downloadReactionsEnabledChanged);
}

void SettingsStore::setDeviceReactionsEnabled(bool value)
{
    assign(m_deviceReactionsEnabled, value, QStringLiteral("deviceReactionsEnabled"), &SettingsStore::deviceReactionsEnabledChanged);
}

void SettingsStore::setScreenshotReactionsEnabled(bool value)
{
    assign(m_screenshotReactionsEnabled, value, QStringLiteral("screenshotReactionsEnabled"), &SettingsStore::screenshotReactionsEnabledChanged);
}

void SettingsStore::setCursorEffectsEnabled(bool value)
{
    assign(m_cursorEffectsEnabled, value, QStringLiteral("cursorEffectsEnabled"), &SettingsStore::cursorEffectsEnabledChanged);
}

void SettingsStore::setCursorEffectStyleID(const QString &value)
{
    assign(m_cursorEffectStyleID, value, QStringLiteral("cursorEffectStyleID"), &SettingsStore::cursorEffectStyleIDChanged);
}

void SettingsStore::setPhysicsEffectsEnabled(bool value)
{
    assign(m_physicsEffectsEnabled, value, QStringLiteral("physicsEffectsEnabled"), &SettingsStore::physicsEffectsEnabledChanged);
}

void SettingsStore::setToyHandToneID(const QString &value)
{
    assign(m_toyHandToneID, value, QStringLiteral("toyHandToneID"), &SettingsStore::toyHandToneIDChanged);
}

void SettingsStore::setToyVolume(double value)
{
    assign(m_toyVolume, value, QStringLiteral("toyVolume"), &SettingsStore::toyVolumeChanged);
}

void SettingsStore::setFocusGoal(const QString &value)
{
    assign(m_focusGoal, value, QStringLiteral("focusGoal"), &SettingsStore::focusGoalChanged);
}

void SettingsStore::setFocusMinutes(int value)
{
    assign(m_focusMinutes, value, QStringLiteral("focusMinutes"), &SettingsStore::focusMinutesChanged);
}

void SettingsStore::setFocusNudgesEnabled(bool value)
{
    assign(m_focusNudgesEnabled, value, QStringLiteral("focusNudgesEnabled"), &SettingsStore::focusNudgesEnabledChanged);
}

void SettingsStore::setFocusAllowedBundleIDs(const QStringList &value)
{
    assign(m_focusAllowedBundleIDs, value, QStringLiteral("focusAllowedBundleIDs"), &SettingsStore::focusAllowedBundleIDsChanged);
}

void SettingsStore::setHasCompletedOnboarding(bool value)
{
    assign(m_hasCompletedOnboarding, value, QStringLiteral("hasCompletedOnboarding"), &SettingsStore::hasCompletedOnboardingChanged);
}

bool SettingsStore::readFlag(const QString &key) const
{
    return SettingsValue::toBool(m_defaults.value(key)).value_or(false);
}

std::uint64_t SettingsStore::readCount(const QString &key) const
{
    return SettingsValue::toCount(m_defaults.value(key)).value_or(0);
}

std::uint64_t SettingsStore::interactionStatsKeys() const
{
    return readCount(statsKeysKey);
}

std::uint64_t SettingsStore::interactionStatsClicks() const
{
    return readCount(statsClicksKey);
}

void SettingsStore::storeInteractionStats(std::uint64_t keys, std::uint64_t clicks)
{
    m_defaults.setValue(statsKeysKey, QVariant::fromValue<qulonglong>(keys));
    m_defaults.setValue(statsClicksKey, QVariant::fromValue<qulonglong>(clicks));
}

bool SettingsStore::installedCC0AudioUpgrade1() const
{
    return readFlag(audioUpgradeKey);
}

void SettingsStore::setInstalledCC0AudioUpgrade1(bool value)
{
    m_defaults.setValue(audioUpgradeKey, value);
}

bool SettingsStore::didRequestInputMonitoringV2() const
{
    return readFlag(inputRequestKey);
}

void SettingsStore::setDidRequestInputMonitoringV2(bool value)
{
    m_defaults.setValue(inputRequestKey, value);
}
