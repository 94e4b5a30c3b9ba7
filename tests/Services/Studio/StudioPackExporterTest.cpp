#include "Services/Packs/SoundPackInstaller.h"
#include "Services/Studio/ClipProcessor.h"
#include "Services/Studio/StudioPackExporter.h"
#include "Services/Studio/StudioTestAudio.h"
#include "support/TestFolders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

#include <limits>

namespace {
using PackKind = SoundPackManifest::PackKind;

DecodedClip clipOf(std::size_t count, double sampleRate = 48000)
{
    std::vector<float> samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = float(int(i % 64) - 32) / 40.0f;
    return DecodedClip{std::make_shared<const std::vector<float>>(std::move(samples)), sampleRate};
}

StudioSample sampleOf(const DecodedClip &clip, KeyGroup group, KeyPhase phase)
{
    return StudioSample{clip, AudioClipEdit::wholeClip(clip.frameCount()), group, phase};
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}

TEST(StudioPackExporter, WritesAManifestBesideSamplesNamedByPosition)
{
    TestFolder folder;
    const DecodedClip clip = clipOf(2000, 44100);
    const std::vector<StudioSample> samples = {
        {clip, {0, 1000, 1.0f, 0, 0}, KeyGroup::regular, KeyPhase::down},
        {clip, {500, 2000, 2.0f, 100, 100}, KeyGroup::space, KeyPhase::up},
        {clipOf(300, 8000), {0, 300, 0.5f, 0, 0}, KeyGroup::regular, KeyPhase::down},
    };
    const QString destination = folder.filePath("Sound Pack 3F2A9C1B");
    ASSERT_TRUE(StudioPackExporter::exportPack(" \n My Pack\t", "  Ada ", "", PackKind::keyboard, samples, destination));

    EXPECT_EQ(entries(folder.path()), QStringList{"Sound Pack 3F2A9C1B"}) << "no staging folder left behind";
    EXPECT_EQ(entries(destination), (QStringList{"manifest.json", "samples"}));
    EXPECT_EQ(entries(destination + "/samples"), (QStringList{"0.wav", "1.wav", "2.wav"}));

    const QByteArray json = readAll(destination + "/manifest.json");
    const auto manifest = SoundPackManifest::fromJson(json);
    ASSERT_TRUE(manifest);
    EXPECT_TRUE(QRegularExpression("^studio-[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$")
                    .match(manifest->id)
                    .hasMatch())
        << manifest->id.toStdString();
    EXPECT_EQ(manifest->name, "My Pack");
    EXPECT_EQ(manifest->author, "Ada");
    EXPECT_EQ(manifest->switchType, "Custom");
    EXPECT_EQ(manifest->version, "1.0");
    EXPECT_EQ(manifest->license, "Unknown");
    EXPECT_EQ(manifest->kind, PackKind::keyboard);
    const std::map<KeyGroup, SampleSet> groups = {
        {KeyGroup::regular, {{"samples/0.wav", "samples/2.wav"}, {}}},
        {KeyGroup::space, {{}, {"samples/1.wav"}}},
    };
    EXPECT_EQ(manifest->groups, groups);
    EXPECT_EQ(manifest->metadata,
              (std::map<QString, QString>{{"createdWith", "Knockwell Sound Studio"}, {"formatVersion", "1"}}));
    EXPECT_TRUE(json.contains("\n    \"author\"")) << "pretty-printed";
    EXPECT_LT(json.indexOf("\"author\""), json.indexOf("\"groups\"")) << "keys sorted";
    EXPECT_LT(json.indexOf("\"name\""), json.indexOf("\"switchType\""));

    for (std::size_t i = 0; i < samples.size(); ++i) {
        SCOPED_TRACE(i);
        const TestAudio written = readTestAudio(destination + QStringLiteral("/samples/%1.wav").arg(i));
        EXPECT_EQ(written.channels, 1);
        EXPECT_EQ(written.sampleRate, int(samples[i].clip.sampleRate));
        EXPECT_EQ(written.interleaved, *ClipProcessor::process(samples[i].clip.view(), samples[i].edit));
    }
}

TEST(StudioPackExporter, KeepsTheLicenseAsGivenAndMakesANewIdentityEachTime)
{
    TestFolder folder;
    const DecodedClip clip = clipOf(100);
    const std::vector<StudioSample> samples = {sampleOf(clip, KeyGroup::reaction, KeyPhase::down)};
    ASSERT_TRUE(StudioPackExporter::exportPack("A", "B", "  ", PackKind::reaction, samples, folder.filePath("one")));
    ASSERT_TRUE(StudioPackExporter::exportPack("A", "B", "CC0", PackKind::reaction, samples, folder.filePath("two")));
    const auto one = SoundPackManifest::fromJson(readAll(folder.filePath("one/manifest.json")));
    const auto two = SoundPackManifest::fromJson(readAll(folder.filePath("two/manifest.json")));
    ASSERT_TRUE(one && two);
    EXPECT_EQ(one->license, "  ");
    EXPECT_EQ(two->license, "CC0");
    EXPECT_EQ(one->kind, PackKind::reaction);
    EXPECT_NE(one->id, two->id);
}

TEST(StudioPackExporter, RefusalsLeaveTheFolderAsItWas)
{
    TestFolder folder;
    const DecodedClip clip = clipOf(100);
    const StudioSample press = sampleOf(clip, KeyGroup::regular, KeyPhase::down);
    const QString existing = folder.makeDir("Existing Pack");
    folder.write("Existing Pack/keep.txt", "mine");
    const QStringList before = entries(folder.path());

    const auto repeated = [](const StudioSample &sample, std::size_t count) {
        return std::vector<StudioSample>(count, sample);
    };
    StudioSample emptyEdit = press;
    emptyEdit.edit = {50, 50, 1.0f, 0, 0};
    StudioSample lowRate = press;
    lowRate.clip.sampleRate = 7999;
    StudioSample noRate = press;
    noRate.clip.sampleRate = std::numeric_limits<double>::quiet_NaN();
    StudioSample huge = press;
    huge.edit = {0, 60'000'000, 1.0f, 0, 0};
    StudioSample absurd = press;
    absurd.edit = {std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max(), 1.0f, 0, 0};

    struct Case {
        const char *name;
        QString packName;
        QString author;
        QString license;
        PackKind kind;
        std::vector<StudioSample> samples;
        QString destination;
        QString domain;
        int code;
        const char *message;
    };
    const QString fresh = folder.filePath("New Pack");
    const Case cases[] = {
        {"existing destination", "A", "B", "", PackKind::keyboard, {press}, existing, CocoaError::domain,
         CocoaError::fileWriteFileExists, nullptr},
        {"no samples", "A", "B", "", PackKind::keyboard, {}, fresh, CocoaError::domain,
         CocoaError::validationMissingMandatoryProperty, nullptr},
        {"257 samples", "A", "B", "", PackKind::keyboard, repeated(press, 257), fresh, CocoaError::domain,
         CocoaError::validationMissingMandatoryProperty, nullptr},
        {"key sound in a reaction pack", "A", "B", "", PackKind::reaction,
         {sampleOf(clip, KeyGroup::reaction, KeyPhase::down), sampleOf(clip, KeyGroup::space, KeyPhase::down)}, fresh,
         CocoaError::domain, CocoaError::validationMissingMandatoryProperty, nullptr},
        {"only releases", "A", "B", "", PackKind::keyboard, {sampleOf(clip, KeyGroup::regular, KeyPhase::up)}, fresh,
         SoundPackError::domain, SoundPackError::invalid, "A pack needs a press sample and at most 256 sample references"},
        {"blank name", " \n ", "B", "", PackKind::keyboard, {press}, fresh, SoundPackError::domain,
         SoundPackError::invalid, "Pack identity, name and author must contain 1–256 characters"},
        {"empty author", "A", "", "", PackKind::keyboard, {press}, fresh, SoundPackError::domain,
         SoundPackError::invalid, "Pack identity, name and author must contain 1–256 characters"},
        {"long license", "A", "B", QString(2049, 'x'), PackKind::keyboard, {press}, fresh, SoundPackError::domain,
         SoundPackError::invalid, "Rights description is too long"},
        {"empty edit", "A", "B", "", PackKind::keyboard, {emptyEdit}, fresh, CocoaError::domain,
         CocoaError::fileReadCorruptFile, nullptr},
        {"rate below 8000", "A", "B", "", PackKind::keyboard, {lowRate}, fresh, CocoaError::domain,
         CocoaError::fileReadCorruptFile, nullptr},
        {"rate not a number", "A", "B", "", PackKind::keyboard, {noRate}, fresh, CocoaError::domain,
         CocoaError::fileReadCorruptFile, nullptr},
        {"too long to decode", "A", "B", "", PackKind::keyboard, {huge}, fresh, CocoaError::domain,
         CocoaError::fileWriteOutOfSpace, nullptr},
        {"edit beyond any length", "A", "B", "", PackKind::keyboard, {absurd}, fresh, CocoaError::domain,
         CocoaError::fileWriteOutOfSpace, nullptr},
        {"a file where a folder should be", "A", "B", "", PackKind::keyboard, {press},
         folder.filePath("Existing Pack/keep.txt/New Pack"), CocoaError::domain, CocoaError::fileNoSuchFile,
         "“New Pack” couldn’t be saved because a file stands where one of its folders should be."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto exported =
            StudioPackExporter::exportPack(c.packName, c.author, c.license, c.kind, c.samples, c.destination);
        ASSERT_FALSE(exported);
        EXPECT_EQ(exported.error().domain, c.domain);
        EXPECT_EQ(exported.error().code, c.code);
        if (c.message) {
            EXPECT_EQ(exported.error().message, QString::fromUtf8(c.message));
        } else {
            EXPECT_FALSE(exported.error().message.isEmpty());
        }
        EXPECT_EQ(entries(folder.path()), before);
    }
    EXPECT_EQ(entries(existing), QStringList{"keep.txt"});
    EXPECT_EQ(readAll(existing + "/keep.txt"), "mine");
}

TEST(StudioPackExporter, CreatesMissingFoldersAboveTheDestination)
{
    TestFolder folder;
    const std::vector<StudioSample> samples = {sampleOf(clipOf(100), KeyGroup::regular, KeyPhase::down)};
    const QString destination = folder.filePath("new/deeper/Pack");
    ASSERT_TRUE(StudioPackExporter::exportPack("A", "B", "", PackKind::keyboard, samples, destination));
    EXPECT_EQ(entries(folder.filePath("new/deeper")), QStringList{"Pack"}) << "no staging folder left behind";
    EXPECT_EQ(entries(destination), (QStringList{"manifest.json", "samples"}));
}

TEST(StudioPackExporter, AcceptsTheLargestPack)
{
    TestFolder folder;
    const DecodedClip clip = clipOf(16);
    const std::vector<StudioSample> samples(256, sampleOf(clip, KeyGroup::regular, KeyPhase::down));
    ASSERT_TRUE(StudioPackExporter::exportPack("Full", "B", "", PackKind::keyboard, samples, folder.filePath("Full")));
    EXPECT_EQ(entries(folder.filePath("Full/samples")).size(), 256);
}

TEST(StudioPackExporter, AFailureMidwayLeavesNothing)
{
    TestFolder folder;
    const DecodedClip clip = clipOf(48000);
    const StudioSample good = sampleOf(clip, KeyGroup::regular, KeyPhase::down);
    StudioSample badFade = good;
    badFade.edit.fadeInFrames = 48001;

    const QString destination = folder.filePath("Pack");
    const auto refused =
        StudioPackExporter::exportPack("A", "B", "", PackKind::keyboard, std::vector<StudioSample>{good, good, badFade, good}, destination);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, CocoaError::validationMissingMandatoryProperty);
    EXPECT_TRUE(entries(folder.path()).isEmpty());

    // The third file hits the file-size limit while it is being written.
    StudioSample longer = good;
    longer.clip = clipOf(60000);
    longer.edit = AudioClipEdit::wholeClip(60000);
    Result<void> failed;
    {
        const FileSizeLimit limit(48000 * 4 + 4096);
        failed = StudioPackExporter::exportPack("A", "B", "", PackKind::keyboard,
                                                std::vector<StudioSample>{good, good, longer, good}, destination);
    }
    ASSERT_FALSE(failed);
    EXPECT_TRUE(entries(folder.path()).isEmpty()) << entries(folder.path()).join(", ").toStdString();
}

TEST(StudioPackExporter, ExportedPacksInstallIntoTheLibrary)
{
    TestFolder folder;
    const QString root = folder.makeDir("Library");
    struct Case {
        const char *name;
        PackKind kind;
        std::vector<StudioSample> samples;
    };
    const Case cases[] = {
        {"keyboard pack at both rate limits",
         PackKind::keyboard,
         {sampleOf(clipOf(800, 8000), KeyGroup::regular, KeyPhase::down),
          sampleOf(clipOf(19200, 192000), KeyGroup::regular, KeyPhase::up),
          {clipOf(4000, 44100), {100, 3000, 4.0f, 50, 50}, KeyGroup::space, KeyPhase::down}}},
        {"reaction pack", PackKind::reaction, {sampleOf(clipOf(2000), KeyGroup::reaction, KeyPhase::down)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString source = folder.filePath(QString::fromUtf8(c.name));
        ASSERT_TRUE(StudioPackExporter::exportPack(c.name, "Studio Test", "CC0", c.kind, c.samples, source));
        const auto exported = SoundPackManifest::fromJson(readAll(source + "/manifest.json"));
        ASSERT_TRUE(exported);
        const auto installed = SoundPackInstaller::installFolder(source, root, c.kind, nullptr);
        ASSERT_TRUE(installed) << installed.error().message.toStdString();
        EXPECT_EQ(installed->manifest, *exported);
        EXPECT_EQ(entries(installed->directory + "/samples").size(), qsizetype(c.samples.size()));
    }
}
