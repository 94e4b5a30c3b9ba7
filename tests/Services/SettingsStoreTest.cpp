#include "Services/SettingsDefaults.h"
#include "Services/SettingsValue.h"
#include "support/TestFolders.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <limits>

TEST(SettingsStore, FreshStoreHasTheDefaults)
{
    TestSettings settings;
    const SettingsStore &store = *settings.store;
    EXPECT_FALSE(store.loading());
    EXPECT_DOUBLE_EQ(store.keyboardVolume(), 0.72);
    EXPECT_DOUBLE_EQ(store.reactionVolume(), 0.8);
    EXPECT_TRUE(store.petEnabled());
    EXPECT_EQ(store.petName(), "Bloopy");
    EXPECT_DOUBLE_EQ(store.petPositionX(), 1.0);
    EXPECT_EQ(store.focusMinutes(), 25);
    EXPECT_EQ(store.focusGoal(), "Finish the next important thing");
    EXPECT_TRUE(store.focusAllowedBundleIDs().isEmpty());
    EXPECT_FALSE(store.hasCompletedOnboarding());
    EXPECT_DOUBLE_EQ(store.toyVolume(), 0.55);
}

TEST(SettingsStore, EveryKindOfValueSurvivesARelaunch)
{
    TestSettings settings;
    settings.store->setTypingEnabled(false);
    settings.store->setMouseVolume(1.25);
    settings.store->setFocusMinutes(500);
    settings.store->setPetName(QStringLiteral("Señor Fin 🐬"));
    settings.store->setFocusAllowedBundleIDs({QStringLiteral("org.gnome.TextEditor")});
    settings.store->setSelectedKeyboardPack(QStringLiteral("cream, thock"));
    settings.store->storeInteractionStats(123456789012ULL, 42);
    settings.store->setInstalledCC0AudioUpgrade1(true);
    settings.reopen();

    const SettingsStore &store = *settings.store;
    EXPECT_FALSE(store.typingEnabled());
    EXPECT_DOUBLE_EQ(store.mouseVolume(), 1.25);
    EXPECT_EQ(store.focusMinutes(), 500);
    EXPECT_EQ(store.petName(), QStringLiteral("Señor Fin 🐬"));
    EXPECT_EQ(store.focusAllowedBundleIDs(), QStringList{QStringLiteral("org.gnome.TextEditor")});
    EXPECT_EQ(store.selectedKeyboardPack(), QStringLiteral("cream, thock"));
    EXPECT_EQ(store.interactionStatsKeys(), 123456789012ULL);
    EXPECT_EQ(store.interactionStatsClicks(), 42u);
    EXPECT_TRUE(store.installedCC0AudioUpgrade1());
    EXPECT_FALSE(store.didRequestInputMonitoringV2());

    settings.store->setFocusAllowedBundleIDs({"a", "b,c", "d"});
    settings.reopen();
    EXPECT_EQ(settings.store->focusAllowedBundleIDs(), (QStringList{"a", "b,c", "d"}));
    settings.store->setFocusAllowedBundleIDs({});
    settings.reopen();
    EXPECT_TRUE(settings.store->focusAllowedBundleIDs().isEmpty());
}

TEST(SettingsStore, ChangesAreAnnouncedOnceAndOnlyWhenTheValueDiffers)
{
    TestSettings settings;
    QSignalSpy property(settings.store.get(), &SettingsStore::effectsPausedChanged);
    QSignalSpy any(settings.store.get(), &SettingsStore::changed);
    settings.store->setEffectsPaused(true);
    settings.store->setEffectsPaused(true);
    EXPECT_EQ(property.count(), 1);
    EXPECT_EQ(any.count(), 1);
    EXPECT_EQ(property.first().first().toBool(), true);
}

TEST(SettingsStore, DamagedFileReadsAsDefaultsWithoutCrashing)
{
    TestFolder folder;
    folder.write("defaults.ini", "[General]\n"
                                 "keyboardVolume=nan\n"
                                 "mouseVolume=inf\n"
                                 "reactionVolume=loud\n"
                                 "typingEnabled=maybe\n"
                                 "focusMinutes=12.5\n"
                                 "petPositionX=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x2garbage)\n"
                                 "petName=\n"
                                 "\x01\x02 not an ini line at all\n"
                                 "stereoEnabled=false\n");
    UserDefaults defaults(folder.filePath("defaults.ini"));
    SettingsStore store(defaults);
    EXPECT_DOUBLE_EQ(store.keyboardVolume(), SettingsDefaults::keyboardVolume);
    EXPECT_DOUBLE_EQ(store.mouseVolume(), SettingsDefaults::mouseVolume);
    EXPECT_DOUBLE_EQ(store.reactionVolume(), SettingsDefaults::reactionVolume);
    EXPECT_EQ(store.typingEnabled(), SettingsDefaults::typingEnabled);
    EXPECT_EQ(store.focusMinutes(), SettingsDefaults::focusMinutes);
    EXPECT_DOUBLE_EQ(store.petPositionX(), SettingsDefaults::petPositionX);
    EXPECT_EQ(store.petName(), QString());
    EXPECT_FALSE(store.stereoEnabled());
}

TEST(SettingsValue, ConversionsRejectWrongTypes)
{
    EXPECT_EQ(SettingsValue::toBool(QVariant(QStringLiteral("true"))), true);
    EXPECT_EQ(SettingsValue::toBool(QVariant(1)), std::nullopt);
    EXPECT_EQ(SettingsValue::toDouble(QVariant(std::numeric_limits<double>::quiet_NaN())), std::nullopt);
    EXPECT_EQ(SettingsValue::toDouble(QVariant(true)), std::nullopt);
    EXPECT_EQ(SettingsValue::toDouble(QVariant(QStringLiteral(" 0.5 "))), 0.5);
    EXPECT_EQ(SettingsValue::toInt(QVariant(QStringLiteral("99999999999"))), std::nullopt);
    EXPECT_EQ(SettingsValue::toCount(QVariant(QStringLiteral("-3"))), std::nullopt);
    EXPECT_EQ(SettingsValue::toString(QVariant(QStringList{"a", "b"})), std::nullopt);
    EXPECT_EQ(SettingsValue::toStringList(QVariant(QVariantList{QVariant(1)})), std::nullopt);
}

namespace {
// A value of the property's type that differs from the one it holds.
QVariant otherValue(const QVariant &current)
{
    switch (current.typeId()) {
    case QMetaType::Bool:
        return !current.toBool();
    case QMetaType::Int:
        return current.toInt() + 1;
    case QMetaType::Double:
        return current.toDouble() + 0.25;
    case QMetaType::QString:
        return current.toString() + QStringLiteral("-changed");
    case QMetaType::QStringList:
        return current.toStringList() << QStringLiteral("changed");
    }
    return {};
}
}

TEST(SettingsStore, EverySetterAnnouncesItsOwnSignalAndWritesAtOnce)
{
    TestSettings settings;
    SettingsStore &store = *settings.store;
    const QMetaObject &meta = *store.metaObject();
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        SCOPED_TRACE(property.name());
        ASSERT_TRUE(property.hasNotifySignal());
        EXPECT_EQ(property.notifySignal().name(), QByteArray(property.name()) + "Changed");
        const QVariant value = otherValue(property.read(&store));
        ASSERT_TRUE(value.isValid());
        QSignalSpy own(&store, QByteArray("2") + property.notifySignal().methodSignature());
        QSignalSpy any(&store, &SettingsStore::changed);

        ASSERT_TRUE(property.write(&store, value));
        EXPECT_EQ(own.count(), 1);
        EXPECT_EQ(any.count(), 1);
        EXPECT_EQ(property.read(&store), value);
        ASSERT_FALSE(own.isEmpty());
        EXPECT_EQ(own.first().first(), value);
        settings.defaults->sync();
        UserDefaults reread(settings.defaults->filePath());
        const SettingsStore relaunched(reread);
        EXPECT_EQ(property.read(&relaunched), value);
    }
}
