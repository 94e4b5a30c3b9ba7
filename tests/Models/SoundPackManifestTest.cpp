#include "Models/SoundPackManifest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

SoundPackManifest sampleManifest()
{
    SoundPackManifest manifest;
    manifest.id = "cream-thock";
    manifest.name = "Cream “Thock”";
    manifest.author = "Plinkly";
    manifest.switchType = "Linear";
    manifest.version = "1.0";
    manifest.license = "CC0-1.0";
    manifest.kind = SoundPackManifest::PackKind::keyboard;
    manifest.groups[KeyGroup::regular] = SampleSet{{"samples/a.wav", "samples/b.wav"}, {"samples/c.wav"}};
    manifest.groups[KeyGroup::delete_] = SampleSet{{"samples/d.wav"}, {}};
    return manifest;
}

QByteArray withChange(const std::function<void(QJsonObject &)> &change)
{
    QJsonObject object = QJsonDocument::fromJson(sampleManifest().toJson()).object();
    change(object);
    return QJsonDocument(object).toJson();
}

}

TEST(SoundPackManifest, RoundTripsThroughBothKeyOrders)
{
    SoundPackManifest plain = sampleManifest();
    SoundPackManifest described = sampleManifest();
    described.metadata = std::map<QString, QString>{{"description", "Deep\n\"quoted\""}, {"formatVersion", "1"}};
    described.kind = SoundPackManifest::PackKind::reaction;

    for (const auto &manifest : {plain, described}) {
        for (auto order : {SoundPackManifest::KeyOrder::declaration, SoundPackManifest::KeyOrder::sorted}) {
            auto decoded = SoundPackManifest::fromJson(manifest.toJson(order));
            ASSERT_TRUE(decoded) << decoded.error().message.toStdString();
            EXPECT_EQ(*decoded, manifest);
        }
    }
}

TEST(SoundPackManifest, WritesFieldsInDeclarationOrderAndMetadataOnlyWhenPresent)
{
    SoundPackManifest manifest = sampleManifest();
    const QByteArray plain = manifest.toJson();
    EXPECT_FALSE(plain.contains("\"metadata\""));
    EXPECT_TRUE(plain.contains("\"delete\": {"));

    manifest.metadata = std::map<QString, QString>{};
    const QByteArray json = manifest.toJson();
    qsizetype last = -1;
    for (const char *key : {"\"id\"", "\"name\"", "\"author\"", "\"switchType\"", "\"version\"", "\"license\"",
                            "\"kind\"", "\"groups\"", "\"regular\"", "\"delete\"", "\"metadata\""}) {
        const qsizetype at = json.indexOf(key);
        ASSERT_GT(at, last) << key;
        last = at;
    }

    const QByteArray sorted = manifest.toJson(SoundPackManifest::KeyOrder::sorted);
    EXPECT_LT(sorted.indexOf("\"author\""), sorted.indexOf("\"groups\""));
    EXPECT_LT(sorted.indexOf("\"switchType\""), sorted.indexOf("\"version\""));
}

TEST(SoundPackManifest, DecodingFailsClearlyOnBrokenInput)
{
    struct Case {
        const char *name;
        QByteArray json;
        const char *message;
    };
    const Case cases[] = {
        {"not json", "{\"id\": ", "The pack’s manifest isn’t valid JSON."},
        {"array", "[1, 2]", "The pack’s manifest isn’t valid JSON."},
        {"missing name", withChange([](QJsonObject &o) { o.remove("name"); }), "The pack’s manifest has no “name”."},
        {"missing groups", withChange([](QJsonObject &o) { o.remove("groups"); }),
         "The pack’s manifest has no “groups”."},
        {"numeric id", withChange([](QJsonObject &o) { o["id"] = 7; }), "The pack’s manifest has an invalid “id”."},
        {"unknown kind", withChange([](QJsonObject &o) { o["kind"] = "mouse"; }),
         "The pack’s manifest has an invalid “kind”."},
        {"groups as list", withChange([](QJsonObject &o) { o["groups"] = QJsonArray{}; }),
         "The pack’s manifest has an invalid “groups”."},
        {"set without up", withChange([](QJsonObject &o) { o["groups"] = QJsonObject{{"space", QJsonObject{{"down", QJsonArray{}}}}}; }),
         "The pack’s manifest has no “groups.space.up”."},
        {"number in list", withChange([](QJsonObject &o) { o["groups"] = QJsonObject{{"space", QJsonObject{{"down", QJsonArray{1}}, {"up", QJsonArray{}}}}}; }),
         "The pack’s manifest has an invalid “groups.space.down”."},
        {"metadata value", withChange([](QJsonObject &o) { o["metadata"] = QJsonObject{{"formatVersion", 1}}; }),
         "The pack’s manifest has an invalid “metadata.formatVersion”."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto decoded = SoundPackManifest::fromJson(c.json);
        ASSERT_FALSE(decoded);
        EXPECT_EQ(decoded.error().domain, "Knockwell.SoundPack");
        EXPECT_EQ(decoded.error().code, SoundPackError::unreadableManifest);
        EXPECT_EQ(decoded.error().message, QString::fromUtf8(c.message));
    }
}

TEST(SoundPackManifest, IgnoresUnknownKeysAndGroups)
{
    auto decoded = SoundPackManifest::fromJson(withChange([](QJsonObject &o) {
        o["homepage"] = "somewhere";
        QJsonObject groups = o["groups"].toObject();
        groups["trackpad"] = 12;
        o["groups"] = groups;
        o["metadata"] = QJsonValue::Null;
    }));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, sampleManifest());
}
