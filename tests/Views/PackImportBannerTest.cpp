#include "Services/Packs/SoundPackManager.h"
#include "Views/Kit/PackImportBanner.h"
#include "Views/Kit/SymbolLabel.h"
#include "support/ViewRig.h"

#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// A reaction pack folder outside the library, ready to import.
QString sourcePack(const TestFolder &folder, const QString &id)
{
    SoundPackManifest manifest;
    manifest.id = id;
    manifest.name = id.left(1).toUpper() + id.mid(1);
    manifest.author = QStringLiteral("Tests");
    manifest.kind = SoundPackManifest::PackKind::reaction;
    manifest.groups[KeyGroup::reaction].down = {QStringLiteral("press.wav")};
    folder.write(QStringLiteral("source/%1/manifest.json").arg(id), manifest.toJson());
    folder.write(QStringLiteral("source/%1/press.wav").arg(id),
                 SoundFiles::encode(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 1, std::vector<float>(480, 0.1f)));
    return folder.filePath(QStringLiteral("source/") + id);
}

}

TEST(PackImportBanner, ShowsProgressWhileImportingThenTheNoticeAndCancelsOnlyOnce)
{
    ViewRig rig;
    SoundPackManager &packs = rig.app->packs();
    PackImportBanner banner(packs);
    QSignalSpy finished(&packs, &SoundPackManager::importFinished);
    EXPECT_TRUE(banner.isHidden());

    packs.importPaths({sourcePack(rig.folder, QStringLiteral("tada"))}, SoundPackManifest::PackKind::reaction);
    banner.sync();
    EXPECT_FALSE(banner.progressRow()->isHidden());
    EXPECT_TRUE(banner.notice()->isHidden());
    ASSERT_TRUE(finished.wait(30000));
    banner.sync();
    EXPECT_TRUE(banner.progressRow()->isHidden());
    EXPECT_EQ(banner.notice()->text(), "Installed “Tada”.");
    EXPECT_FALSE(banner.notice()->isHidden());

    // A second import hides the last notice; two presses of Cancel end it once, with nothing kept.
    packs.importPaths({sourcePack(rig.folder, QStringLiteral("honk"))}, SoundPackManifest::PackKind::reaction);
    banner.sync();
    EXPECT_TRUE(banner.notice()->isHidden());
    banner.cancelButton()->click();
    banner.cancelButton()->click();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(finished.count(), 2);
    banner.sync();
    EXPECT_EQ(banner.notice()->text(), "Import cancelled. Nothing was installed.");
    EXPECT_FALSE(packs.lastError().has_value());
    EXPECT_FALSE(packs.pack(QStringLiteral("honk"), SoundPackManifest::PackKind::reaction));
    banner.cancelButton()->click();
    EXPECT_FALSE(packs.isImporting());
}
