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

// One example as the document shows it: the manifest and the folder tree drawn before it.
struct Example {
    QByteArray manifest;
    QStringList files; // relative to the pack folder, as the tree shows them
};

// The files of a folder tree drawn with ├── └── and │ indents of four characters.
QStringList treeFiles(const QString &tree)
{
    QStringList folders;
    QStringList files;
    for (const QString &line : tree.split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype branch = std::max(line.indexOf(QStringLiteral("├── ")), line.indexOf(QStringLiteral("└── ")));
        if (branch < 0)
            continue; // the pack folder itself
        const qsizetype depth = branch / 4;
        const QString name = line.mid(branch + 4).trimmed();
        folders.resize(depth);
        if (name.endsWith(u'/'))
            folders.append(name.chopped(1));
        else
            files.append((folders + QStringList{name}).join(u'/'));
    }
    return files;
}

QList<Example> examples(const QString &markdown)
{
    QList<Example> found;
    QStringList lastTree;
    static const QRegularExpression fence(QStringLiteral("```(json)?\\n(.*?)```"),
                                          QRegularExpression::DotMatchesEverythingOption);
    for (const QRegularExpressionMatch &match : fence.globalMatch(markdown)) {
        if (match.captured(1).isEmpty())
            lastTree = treeFiles(match.captured(2));
        else
            found.append({match.captured(2).toUtf8(), lastTree});
    }
    return found;
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
    const QList<Example> shown = examples(document());
    ASSERT_EQ(shown.size(), 2);
    TestFolder folder;
    SoundPackManager manager(folder.filePath(QStringLiteral("data/Knockwell")),
                             folder.makeDir(QStringLiteral("KnockwellResources")));
    ASSERT_TRUE(manager.prepareLibrary());
    QSet<PackKind> kinds;
    for (const Example &example : shown) {
        const auto manifest = SoundPackManifest::fromJson(example.manifest);
        ASSERT_TRUE(manifest) << manifest.error().message.toStdString();
        kinds.insert(manifest->kind);
        // The folder is made from the tree alone: a sound the manifest lists but the tree
        // leaves out is missing, as it would be for a reader following the document.
        ASSERT_TRUE(example.files.contains(QStringLiteral("manifest.json"))) << manifest->id.toStdString();
        const QString pack = folder.makeDir(QStringLiteral("made-by-hand/") + manifest->id);
        for (const QString &path : example.files) {
            const QByteArray content = path == u"manifest.json" ? example.manifest : audioFile(path);
            ASSERT_FALSE(content.isEmpty()) << path.toStdString();
            folder.write(QStringLiteral("made-by-hand/%1/%2").arg(manifest->id, path), content);
        }
        for (const QString &path : PackFixtures::listedPaths(*manifest))
            EXPECT_TRUE(example.files.contains(path)) << manifest->id.toStdString() << " lists " << path.toStdString()
                                                      << ", which its folder does not show";

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
