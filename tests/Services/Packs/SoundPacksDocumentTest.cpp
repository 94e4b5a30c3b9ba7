#include "Services/Packs/PackFixtures.h"
#include "Services/Packs/PackImportErrors.h"
#include "Services/Packs/SoundPackManager.h"

#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>

#include <gtest/gtest.h>

// docs/sound-packs.md is what users make packs from: its examples must import as they stand
// and its tables must carry every import error's sentence.
namespace {

using PackKind = SoundPackManifest::PackKind;

QString document()
{
    QFile file(QStringLiteral(PLINKLY_BINARY_DIR "/docs/sound-packs.md"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QList<QByteArray> jsonBlocks(const QString &markdown)
{
    QList<QByteArray> blocks;
    static const QRegularExpression fence(QStringLiteral("```json\\n(.*?)```"),
                                          QRegularExpression::DotMatchesEverythingOption);
    for (const QRegularExpressionMatch &match : fence.globalMatch(markdown))
        blocks.append(match.captured(1).toUtf8());
    return blocks;
}

// A short tone in the format the file's extension names.
QByteArray audioFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const int format = suffix == u"ogg"    ? SF_FORMAT_OGG | SF_FORMAT_VORBIS
                       : suffix == u"flac" ? SF_FORMAT_FLAC | SF_FORMAT_PCM_16
                       : suffix == u"aiff" ? SF_FORMAT_AIFF | SF_FORMAT_PCM_16
                                           : SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    return SoundFiles::encode(format, 48000, 1, SoundFiles::tone(4800, 1, 48000));
}

}

TEST(SoundPacksDocument, ExamplePacksImportAsWritten)
{
    const QList<QByteArray> examples = jsonBlocks(document());
    ASSERT_EQ(examples.size(), 2);
    TestFolder folder;
    SoundPackManager manager(folder.filePath(QStringLiteral("data/Knockwell")),
                             folder.makeDir(QStringLiteral("KnockwellResources")));
    ASSERT_TRUE(manager.prepareLibrary());
    QSet<PackKind> kinds;
    for (const QByteArray &json : examples) {
        const auto manifest = SoundPackManifest::fromJson(json);
        ASSERT_TRUE(manifest) << manifest.error().message.toStdString();
        kinds.insert(manifest->kind);
        const QString pack = folder.makeDir(QStringLiteral("made-by-hand/") + manifest->id);
        folder.write(QStringLiteral("made-by-hand/%1/manifest.json").arg(manifest->id), json);
        for (const QString &path : PackFixtures::listedPaths(*manifest)) {
            const QByteArray audio = audioFile(path);
            ASSERT_FALSE(audio.isEmpty()) << path.toStdString();
            folder.write(QStringLiteral("made-by-hand/%1/%2").arg(manifest->id, path), audio);
        }

        QSignalSpy finished(&manager, &SoundPackManager::importFinished);
        manager.importPaths({pack}, manifest->kind);
        ASSERT_TRUE(finished.wait(60000));
        EXPECT_FALSE(manager.lastError()) << manager.lastError().value_or(QString()).toStdString();
        const auto installed = manager.pack(manifest->id, manifest->kind);
        ASSERT_TRUE(installed) << manifest->id.toStdString();
        EXPECT_EQ(installed->manifest, *manifest);
    }
    EXPECT_EQ(kinds, (QSet<PackKind>{PackKind::keyboard, PackKind::reaction}));
}

TEST(SoundPacksDocument, ListsEveryImportErrorAsPlinklySaysIt)
{
    const QString text = document();
    ASSERT_FALSE(text.isEmpty());
    const std::pair<const char *, std::function<QString(int)>> domains[] = {
        {"pack", [](int code) { return PackImportError::message(PackImportError::Code(code)); }},
        {"ZIP", [](int code) { return ZipImportError::message(ZipImportError::Code(code)); }},
        {"audio", [](int code) { return AudioImportError::message(AudioImportError::Code(code)); }},
    };
    for (const auto &[domain, message] : domains) {
        int listed = 0;
        for (int code = 1; !message(code).isEmpty(); ++code, ++listed) {
            const QString sentence = QString(message(code)).replace(QStringLiteral("%1"), QStringLiteral("<file>"));
            EXPECT_TRUE(text.contains(sentence)) << domain << " error " << code << ": " << sentence.toStdString();
        }
        EXPECT_GT(listed, 5) << domain;
    }
}
