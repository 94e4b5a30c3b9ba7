#include "Services/Packs/SoundPackValidation.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const char *const formatMessage = "This pack format is not supported. Update Plinkly before importing it.";
const char *const identityMessage = "Pack identity, name and author must contain 1–256 characters";
const char *const licenseMessage = "Rights description is too long";
const char *const countMessage = "A pack needs a press sample and at most 256 sample references";
const char *const pathMessage = "Samples must use safe relative paths";

SoundPackManifest validManifest()
{
    SoundPackManifest manifest;
    manifest.id = "pack";
    manifest.name = "Pack";
    manifest.author = "Someone";
    manifest.switchType = "Linear";
    manifest.version = "1.0";
    manifest.license = "CC0-1.0";
    manifest.groups[KeyGroup::regular] = SampleSet{{"samples/0.wav"}, {}};
    return manifest;
}

QStringList paths(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(QStringLiteral("samples/%1.wav").arg(i));
    return list;
}

struct Case {
    const char *name;
    std::function<void(SoundPackManifest &)> change;
    const char *message; // nullptr: valid
};

}

TEST(SoundPackValidation, EachRuleAtItsBoundary)
{
    // "e" followed by a combining acute accent: two code units, one character.
    const QString accented = QString::fromUtf8("e\xCC\x81");
    const Case cases[] = {
        {"valid", [](SoundPackManifest &) {}, nullptr},
        {"format 1", [](SoundPackManifest &m) { m.metadata = std::map<QString, QString>{{"formatVersion", "1"}}; }, nullptr},
        {"format 2", [](SoundPackManifest &m) { m.metadata = std::map<QString, QString>{{"formatVersion", "2"}}; }, formatMessage},
        {"other metadata", [](SoundPackManifest &m) { m.metadata = std::map<QString, QString>{{"description", "x"}}; }, nullptr},
        {"empty id", [](SoundPackManifest &m) { m.id = ""; }, identityMessage},
        {"blank name", [](SoundPackManifest &m) { m.name = " \n\t"; }, identityMessage},
        {"blank author", [](SoundPackManifest &m) { m.author = "  "; }, identityMessage},
        {"256-character id", [](SoundPackManifest &m) { m.id = QString(256, 'i'); }, nullptr},
        {"257-character name", [](SoundPackManifest &m) { m.name = QString(257, 'n'); }, identityMessage},
        {"256 accented characters", [&](SoundPackManifest &m) { m.author = accented.repeated(256); }, nullptr},
        {"257 accented characters", [&](SoundPackManifest &m) { m.author = accented.repeated(257); }, identityMessage},
        {"one letter carrying 400 000 marks", [](SoundPackManifest &m) { m.name = "a" + QString(400'000, QChar(0x0301)); },
         "Pack identity, name and author must each fit in 1024 bytes"},
        {"2048-character license", [](SoundPackManifest &m) { m.license = QString(2048, 'l'); }, nullptr},
        {"2049-character license", [](SoundPackManifest &m) { m.license = QString(2049, 'l'); }, licenseMessage},
        {"empty license", [](SoundPackManifest &m) { m.license = ""; }, nullptr},
        {"256 references", [](SoundPackManifest &m) {
             m.groups[KeyGroup::regular] = SampleSet{paths(200), {}};
             m.groups[KeyGroup::space] = SampleSet{{}, paths(56)};
         }, nullptr},
        {"257 references", [](SoundPackManifest &m) {
             m.groups[KeyGroup::regular] = SampleSet{paths(200), {}};
             m.groups[KeyGroup::space] = SampleSet{{}, paths(57)};
         }, countMessage},
        {"releases only", [](SoundPackManifest &m) { m.groups = {{KeyGroup::regular, SampleSet{{}, {"a.wav"}}}}; }, countMessage},
        {"no groups", [](SoundPackManifest &m) { m.groups.clear(); }, countMessage},
        {"press in another group", [](SoundPackManifest &m) {
             m.groups = {{KeyGroup::regular, SampleSet{{}, {"a.wav"}}}, {KeyGroup::reaction, SampleSet{{"b.wav"}, {}}}};
         }, nullptr},
        {"1024-character path", [](SoundPackManifest &m) { m.groups[KeyGroup::enter] = SampleSet{{"s/" + QString(1022, 'p')}, {}}; }, nullptr},
        {"1025-character path", [](SoundPackManifest &m) { m.groups[KeyGroup::enter] = SampleSet{{"s/" + QString(1023, 'p')}, {}}; }, pathMessage},
        {"dotted names", [](SoundPackManifest &m) { m.groups[KeyGroup::enter] = SampleSet{{"..a/b..", ".hidden/x.wav"}, {}}; }, nullptr},
        {"identity and path broken", [](SoundPackManifest &m) {
             m.id = "";
             m.groups[KeyGroup::enter] = SampleSet{{"../x"}, {}};
         }, identityMessage},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SoundPackManifest manifest = validManifest();
        c.change(manifest);
        auto result = SoundPackValidation::validate(manifest);
        if (!c.message) {
            EXPECT_TRUE(result) << result.error().message.toStdString();
            continue;
        }
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error().domain, "Knockwell.SoundPack");
        EXPECT_EQ(result.error().code, 1);
        EXPECT_EQ(result.error().message, QString::fromUtf8(c.message));
    }
}

TEST(SoundPackValidation, UnsafePathsAreRefusedInEitherPhase)
{
    const QString unsafe[] = {
        "",        "/etc/passwd", "samples//a.wav", "samples/", "./a.wav", "a/./b.wav", "a/../b.wav", "..",
        "a\\b.wav", "c:a.wav",    QString("a") + QChar(1) + "b", QString("a") + QChar(0x202E) + "b", "a\nb",
    };
    for (const QString &path : unsafe) {
        SCOPED_TRACE(path.toStdString());
        for (bool press : {true, false}) {
            SoundPackManifest manifest = validManifest();
            SampleSet &set = manifest.groups[KeyGroup::space];
            (press ? set.down : set.up).append(path);
            auto result = SoundPackValidation::validate(manifest);
            ASSERT_FALSE(result);
            EXPECT_EQ(result.error().message, pathMessage);
        }
    }
}
