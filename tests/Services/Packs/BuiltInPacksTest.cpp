#include "Services/Audio/SampleDecoder.h"
#include "Services/Packs/PackFileReader.h"
#include "Services/Packs/SoundPackManager.h"
#include "Services/Packs/SoundPackValidation.h"
#include "Services/ResourceBundle.h"
#include "support/TestFolders.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using PackKind = SoundPackManifest::PackKind;

namespace {

// A sound that starts at once, never clips and ends in silence.
void expectPleasant(const QString &path, double attackSeconds, double attackShare)
{
    SCOPED_TRACE(path.toStdString());
    auto bytes = PackFileReader::readFile(path, 16 * 1024 * 1024, PackFileReader::Ownership::anyone);
    ASSERT_TRUE(bytes);
    auto sound = SampleDecoder::decode(*bytes, SampleDecoder::defaultLimits());
    ASSERT_TRUE(sound) << sound.error().message.toStdString();
    EXPECT_EQ(sound->sampleRate, 48000);
    EXPECT_EQ(sound->channels, 1);
    EXPECT_LE(sound->frames(), 48000 * 2);
    const auto &s = sound->samples;
    float peak = 0;
    for (float v : s)
        peak = std::max(peak, std::abs(v));
    EXPECT_GE(peak, 0.1f);
    EXPECT_LE(peak, 0.95f);
    const auto attackEnd = s.begin() + std::min<qsizetype>(qsizetype(s.size()), qsizetype(attackSeconds * 48000));
    float early = 0;
    for (auto it = s.begin(); it != attackEnd; ++it)
        early = std::max(early, std::abs(*it));
    EXPECT_GE(early, attackShare * peak) << "starts too late";
    EXPECT_LT(std::abs(s.front()), 0.02f);
    EXPECT_LT(std::abs(s.back()), 0.002f) << "ends with a click";
}

QList<LoadedSoundPack> bundled(PackKind kind)
{
    const QString folder = ResourceBundle::filePath(kind == PackKind::keyboard ? "KeyboardPacks" : "ReactionPacks");
    auto packs = SoundPackManager::load(folder, kind);
    EXPECT_TRUE(packs) << folder.toStdString();
    return packs.value_or(QList<LoadedSoundPack>{});
}

}

TEST(BuiltInPacks, KeyboardPacksCoverEveryKeyAndButtonWithDistinctCharacters)
{
    const auto packs = bundled(PackKind::keyboard);
    QStringList ids;
    for (const LoadedSoundPack &pack : packs)
        ids.append(pack.id());
    EXPECT_TRUE(ids.contains("recorded-cherry"));
    for (const char *fragment : {"buckling", "clicky", "topre", "thock"})
        EXPECT_EQ(ids.filter(fragment).size(), 1) << fragment;

    for (const LoadedSoundPack &pack : packs) {
        SCOPED_TRACE(pack.id().toStdString());
        EXPECT_TRUE(SoundPackValidation::validate(pack.manifest));
        EXPECT_TRUE(pack.manifest.metadata && pack.manifest.metadata->contains("description"));
        // Shown names describe the sound; none names a maker of switches.
        for (const char *maker : {"cherry", "topre", "gateron", "kailh", "alps", "outemu"})
            EXPECT_FALSE(pack.manifest.name.contains(QLatin1String(maker), Qt::CaseInsensitive)) << maker;
        for (KeyGroup group : allCases<KeyGroup>()) {
            if (group == KeyGroup::reaction)
                continue;
            ASSERT_TRUE(pack.manifest.groups.contains(group)) << rawValue(group).toStdString();
            const SampleSet &set = pack.manifest.groups.at(group);
            EXPECT_GE(set.down.size(), 3);
            EXPECT_GE(set.up.size(), 3);
            for (const QString &path : set.down + set.up)
                expectPleasant(QDir(pack.directory).filePath(path), 0.002, 0.2);
        }
    }
}

TEST(BuiltInPacks, ReactionPacksAndSystemSounds)
{
    const auto packs = bundled(PackKind::reaction);
    ASSERT_GE(packs.size(), 2);
    bool ouchies = false;
    for (const LoadedSoundPack &pack : packs) {
        SCOPED_TRACE(pack.id().toStdString());
        ouchies = ouchies || pack.id() == "silly-ouchies";
        ASSERT_TRUE(pack.manifest.groups.contains(KeyGroup::reaction));
        const SampleSet &set = pack.manifest.groups.at(KeyGroup::reaction);
        EXPECT_GE(set.down.size(), 3);
        for (const QString &path : set.down)
            expectPleasant(QDir(pack.directory).filePath(path), 0.02, 0.05);
    }
    EXPECT_TRUE(ouchies);

    for (const char *name : {"Glass", "Pop", "Ping", "Basso", "Morse", "Hero", "Submarine", "Tink", "Blow"})
        expectPleasant(ResourceBundle::filePath(QStringLiteral("SystemSounds/%1.wav").arg(name)), 0.02, 0.05);
}

TEST(BuiltInPacks, InstallIntoAFreshLibrary)
{
    TestFolder folder;
    SoundPackManager manager(folder.filePath("Knockwell"), ResourceBundle::path());
    QSignalSpy prepared(&manager, &SoundPackManager::libraryPrepared);
    ASSERT_TRUE(manager.prepareLibrary());
    ASSERT_TRUE(!prepared.isEmpty() || prepared.wait(60000));
    EXPECT_EQ(manager.keyboardPacks().size(), bundled(PackKind::keyboard).size());
    EXPECT_EQ(manager.reactionPacks().size(), bundled(PackKind::reaction).size());
    EXPECT_TRUE(manager.pack("recorded-cherry", PackKind::keyboard));
    EXPECT_TRUE(manager.pack("silly-ouchies", PackKind::reaction));
    EXPECT_EQ(QDir(manager.keyboardRoot()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(),
              bundled(PackKind::keyboard).size());
}

TEST(ResourceBundle, TheEnvironmentOverridesTheBuiltInPlace)
{
    EXPECT_TRUE(QFileInfo(ResourceBundle::filePath("KeyboardPacks")).isDir());
    qputenv("PLINKLY_RESOURCES", "/somewhere/else");
    EXPECT_EQ(ResourceBundle::filePath("SystemSounds/Pop.wav"), "/somewhere/else/SystemSounds/Pop.wav");
    qunsetenv("PLINKLY_RESOURCES");
}
