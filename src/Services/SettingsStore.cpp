#include "Services/SettingsStore.h"

#include "Services/SettingsValue.h"

namespace {
const QString statsKeysKey = QStringLiteral("interactionStatsKeys");
const QString statsClicksKey = QStringLiteral("interactionStatsClicks");
const QString audioUpgradeKey = QStringLiteral("installedCC0AudioUpgrade1");
const QString inputRequestKey = QStringLiteral("didRequestInputMonitoringV2");
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
