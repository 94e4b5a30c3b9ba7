#include "Platform/AppShell.h"
#include "Services/Studio/ClipSelection.h"
#include "Views/Studio/StudioFixture.h"

#include <QElapsedTimer>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <future>

#include <gtest/gtest.h>

namespace {
QString text(const std::optional<QString> &value)
{
    return value.value_or(QStringLiteral("<none>"));
}
}

TEST(ClipStudioModel, StartsEmptyWithTheDefaultPackFields)
{
    StudioFixture studio;
    const ClipStudioModel &model = *studio.model;
    EXPECT_FALSE(model.clip());
    EXPECT_EQ(model.start(), 0.0);
    EXPECT_EQ(model.end(), 1.0);
    EXPECT_EQ(model.gain(), 1.0);
    EXPECT_EQ(model.packName(), "My Sound Pack");
    EXPECT_EQ(model.creator(), "");
    EXPECT_EQ(model.rights(), "Unknown");
    EXPECT_EQ(model.counterText(), "0 / 256 samples");
    EXPECT_FALSE(model.canAddToPack());
    EXPECT_FALSE(model.canExportPack());
    EXPECT_FALSE(model.canInstallPack());
    EXPECT_FALSE(model.busy());
    EXPECT_FALSE(model.error());
}

TEST(ClipStudioModel, LoadsAClipIntoControlsCoveringEveryFrame)
{
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 72000));
    const ClipStudioModel &model = *studio.model;
    EXPECT_EQ(model.clipInfo(), "1.50 seconds · 48000 Hz");
    EXPECT_EQ(model.bins().size(), std::size_t(ClipStudioModel::envelopeBins));
    EXPECT_EQ((std::tuple{model.start(), model.end(), model.gain(), model.fadeIn(), model.fadeOut()}),
              (std::tuple{0.0, 1.0, 1.0, 0.0, 0.0}));
    EXPECT_EQ(model.draft()->edit(), AudioClipEdit::wholeClip(72000));
    EXPECT_TRUE(model.canAddToPack());
}

TEST(ClipStudioModel, AFailedLoadKeepsThePreviousClip)
{
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 4800));
    studio.model->load(studio.folder.write("broken.wav", "not audio"));
    studio.waitUntilIdle();
    EXPECT_EQ(studio.model->totalFrames(), 4800);
    EXPECT_TRUE(studio.model->error());
}

TEST(ClipStudioModel, RefusesEditsThatDoNotFitAndKeepsTheDraft)
{
    struct Case {
        const char *name;
        double start, end, fadeIn;
    };
    for (const Case &c : {Case{"reversed selection", 0.6, 0.4, 0.0}, Case{"fade longer than the selection", 0.0, 0.2, 0.5}}) {
        StudioFixture studio;
        studio.load(studio.writeTone("tone.wav", 96000));
        ClipStudioModel &model = *studio.model;
        model.setStart(c.start);
        model.setEnd(c.end);
        model.setFadeIn(c.fadeIn);
        model.applyEdit();
        EXPECT_EQ(text(model.error()), ClipStudioModel::selectionRefused) << c.name;
        EXPECT_EQ(model.draft()->edit(), AudioClipEdit::wholeClip(96000)) << c.name;
        EXPECT_TRUE(model.draft()->past().empty()) << c.name;
    }
}

TEST(ClipStudioModel, AHalfSecondFadeBecomesHalfTheRateInFrames)
{
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 48000));
    studio.model->setFadeIn(0.5);
    studio.model->applyEdit();
    EXPECT_EQ(studio.model->draft()->edit().fadeInFrames, 24000);
    EXPECT_FALSE(studio.model->error());
}

TEST(ClipStudioModel, UndoRedoAndResetMoveTheControlsWithTheDraft)
{
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 48000));
    ClipStudioModel &model = *studio.model;

    model.setStart(0.3);
    model.undo();
    EXPECT_EQ(model.start(), 0.3) << "nothing to undo leaves the controls alone";

    model.applyEdit();
    model.setGain(2.0);
    model.applyEdit();
    const AudioClipEdit edited = model.draft()->edit();
    model.resetToOriginal();
    EXPECT_EQ(model.draft()->edit(), AudioClipEdit::wholeClip(48000));
    EXPECT_EQ(text(model.notice()), "Original selection and levels restored. You can undo this.");
    EXPECT_EQ(model.start(), 0.0);

    model.undo();
    EXPECT_EQ(model.draft()->edit(), edited);
    EXPECT_EQ((std::pair{model.start(), model.gain()}), (std::pair{0.3, 2.0}));
    model.redo();
    EXPECT_EQ(model.draft()->edit(), AudioClipEdit::wholeClip(48000));
}

TEST(ClipStudioModel, UndoAndRedoSetEveryControlBackInItsOwnUnit)
{
    // Two seconds, so a fraction of the clip and seconds differ.
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 96000));
    ClipStudioModel &model = *studio.model;
    using Controls = std::array<double, 5>;
    const auto controls = [&model] {
        return Controls{model.start(), model.end(), model.gain(), model.fadeIn(), model.fadeOut()};
    };
    const Controls edited{0.25, 0.75, 1.5, 0.1, 0.2};
    const Controls whole{0, 1, 1, 0, 0};
    model.setStart(edited[0]);
    model.setEnd(edited[1]);
    model.setGain(edited[2]);
    model.setFadeIn(edited[3]);
    model.setFadeOut(edited[4]);
    model.applyEdit();
    model.resetToOriginal();
    const std::pair<void (ClipStudioModel::*)(), Controls> steps[] = {
        {&ClipStudioModel::undo, edited}, {&ClipStudioModel::redo, whole}, {&ClipStudioModel::undo, edited}};
    for (const auto &[step, expected] : steps) {
        (model.*step)();
        const Controls shown = controls();
        for (std::size_t i = 0; i < shown.size(); ++i)
            EXPECT_NEAR(shown[i], expected[i], 1e-9) << "control " << i;
    }
}

TEST(ClipStudioModel, TrimsOnlyLoudClipsAndNormalizesFromTheControls)
{
    StudioFixture studio;
    studio.load(studio.writeTone("quiet.wav", 48000, 0.003f));
    ClipStudioModel &model = *studio.model;
    model.trimQuietEdges();
    EXPECT_EQ(text(model.notice()), "No quiet edges to trim in this selection.");
    EXPECT_EQ(model.draft()->edit(), AudioClipEdit::wholeClip(48000));

    model.setEnd(0.5);
    model.normalize();
    EXPECT_EQ(model.draft()->edit().endFrame, 24000);
    EXPECT_FLOAT_EQ(float(model.gain()), 4.0f) << "0.8 / 0.003 is capped at 4";
}

TEST(ClipStudioModel, SyncedControlsProposeTheEditTheyCameFrom)
{
    // The frames below come back one short when a fraction is simply truncated.
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 72000));
    ClipStudioModel &model = *studio.model;
    ASSERT_TRUE(model.draft());
    AudioClipDraft draft = *model.draft();
    for (qint64 frame = 1; frame < 72000; frame += 53) {
        const AudioClipEdit edit{0, frame, 1.0f, frame, 0};
        model.setStart(0);
        model.setEnd(double(frame) / 72000);
        model.setFadeIn(double(frame) / 48000);
        ASSERT_EQ(model.proposedEdit(), edit) << frame;
    }
    EXPECT_EQ(ClipSelection::frameAt(107.0 / 72000, 72000), 107);

    model.setEnd(107.0 / 72000);
    model.setFadeIn(107.0 / 48000);
    model.applyEdit();
    model.undo();
    model.redo();
    const std::size_t steps = model.draft()->past().size();
    model.preview();
    EXPECT_FALSE(model.error()) << text(model.error()).toStdString();
    EXPECT_EQ(model.draft()->past().size(), steps) << "a preview after redo records nothing new";
}

TEST(ClipStudioModel, PlaysTheEditedClipFromOnePreviewFileDeletedOnClose)
{
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 4800, 0.25f));
    ClipStudioModel &model = *studio.model;
    model.preview();
    const QString first = model.previewPath().value_or(QString());
    model.setGain(2.0);
    model.preview();
    const QString second = model.previewPath().value_or(QString());

    // What plays is the second preview: the tone at twice its level.
    float loudest = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (float value : studio.output->render(4800))
                loudest = std::max(loudest, std::abs(value));
            return loudest > 0 && !QFile::exists(first);
        },
        5000));
    EXPECT_NEAR(loudest, 0.5f, 0.02f);
    EXPECT_FALSE(model.error()) << text(model.error()).toStdString();
    EXPECT_NE(first, second);
    EXPECT_TRUE(QFileInfo(second).fileName().startsWith("knockwell-preview-"));
    EXPECT_TRUE(QFile::exists(second));

    // The superseded first preview may still be writing; a worker still running would rightly
    // keep the folder until it is done.
    QThreadPool::globalInstance()->waitForDone();
    model.close();
    EXPECT_FALSE(QFile::exists(second));
    EXPECT_TRUE(studio.tempEntries().isEmpty()) << studio.tempEntries().join(", ").toStdString();
}

TEST(ClipStudioModel, ThePreviewThatPlayedIsDeletedByTheNext)
{
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 4800, 0.25f));
    ClipStudioModel &model = *studio.model;
    const auto heard = [&studio] {
        return QTest::qWaitFor([&] {
            const std::vector<float> rendered = studio.output->render(4800);
            return std::any_of(rendered.begin(), rendered.end(), [](float value) { return value != 0; });
        }, 5000);
    };
    model.preview();
    const QString first = model.previewPath().value_or(QString());
    ASSERT_TRUE(heard());
    EXPECT_TRUE(QFile::exists(first));
    model.preview();
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_TRUE(heard());
}

TEST(ClipStudioModel, APreviewStillBeingPreparedIsDroppedByALoadOrTheStudioClosing)
{
    const std::pair<const char *, std::function<void(StudioFixture &)>> cases[] = {
        {"another clip loaded", [](StudioFixture &studio) { studio.load(studio.writeTone("other.wav", 9600)); }},
        {"studio closed", [](StudioFixture &studio) { studio.model->close(); }},
    };
    for (const auto &[name, interrupt] : cases) {
        StudioFixture studio;
        studio.load(studio.writeTone("tone.wav", 4800, 0.25f));
        studio.model->preview();
        const QString path = studio.model->previewPath().value_or(QString());
        interrupt(studio);
        QThreadPool::globalInstance()->waitForDone();
        QTest::qWait(50);
        const std::vector<float> rendered = studio.output->render(4800);
        EXPECT_TRUE(std::all_of(rendered.begin(), rendered.end(), [](float value) { return value == 0; })) << name;
        EXPECT_FALSE(QFile::exists(path)) << name;
    }
}

// Opening the output may wait on the sound server: the studio goes on meanwhile, and what the
// open came to is said only while its preview is still the one wanted.
TEST(ClipStudioModel, APreviewWaitingForTheSoundOutputHoldsNotTheStudio)
{
    using namespace std::chrono_literals;
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 4800, 0.25f));
    ClipStudioModel &model = *studio.model;
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    auto reached = std::make_shared<std::atomic<bool>>(false);
    auto answered = std::make_shared<std::atomic<bool>>(false);
    studio.output->available = false;
    studio.output->beforeOpen = [gate, reached, answered] {
        *reached = true;
        gate.wait_for(10s);
        *answered = true;
    };
    QElapsedTimer waited;
    waited.start();
    model.preview();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reached->load(); }, 5000));
    bool ticked = false;
    QTimer::singleShot(0, [&ticked] { ticked = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticked; }, 5000));
    EXPECT_LT(waited.elapsed(), 5000) << "the event loop waited for the output";
    EXPECT_FALSE(*answered);

    // Another clip replaces the preview before its open fails: that failure is not shown.
    studio.load(studio.writeTone("other.wav", 4800, 0.25f));
    release.set_value();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered->load(); }, 5000));
    QTest::qWait(50);
    EXPECT_FALSE(model.error()) << text(model.error()).toStdString();

    // The preview still wanted says why it is silent, and the next one plays once sound is back.
    studio.output->beforeOpen = {};
    model.preview();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.error().has_value(); }, 5000));
    EXPECT_TRUE(model.error()->startsWith("No sound output is available")) << model.error()->toStdString();
    studio.output->available = true;
    QTest::qWait(int((AudioEngine::reopenDelay + 100ms).count()));
    model.preview();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const std::vector<float> rendered = studio.output->render(4800);
            return std::any_of(rendered.begin(), rendered.end(), [](float value) { return value != 0; });
        },
        5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model.error(); }, 5000)) << text(model.error()).toStdString();
}

TEST(ClipStudioModel, TakesExactlyOneLocalFileWhileIdle)
{
    StudioFixture studio;
    ClipStudioModel &model = *studio.model;
    const QUrl tone = QUrl::fromLocalFile(studio.writeTone("tone.wav", 4800));
    EXPECT_FALSE(model.drop({tone, tone}));
    EXPECT_FALSE(model.drop({}));
    EXPECT_TRUE(model.drop({QUrl("https://example.org/a.wav")}));
    EXPECT_EQ(text(model.error()), "Drop one local audio file.");

    EXPECT_TRUE(model.drop({tone}));
    EXPECT_TRUE(model.busy());
    EXPECT_FALSE(model.drop({tone})) << "refused while decoding";
    studio.waitUntilIdle();
    EXPECT_EQ(model.totalFrames(), 4800);
    EXPECT_FALSE(model.error());
}

TEST(ClipStudioModel, RecordsTheEditBeforeTheSavePanelAndWritesOnlyWav)
{
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 4800));
    ClipStudioModel &model = *studio.model;
    model.setEnd(0.5);
    ASSERT_TRUE(model.prepareExport());
    EXPECT_EQ(model.draft()->past().size(), 1u) << "kept even when the panel is cancelled";

    model.exportWav(studio.folder.filePath("cut.wav"));
    EXPECT_FALSE(model.error());
    EXPECT_EQ(readTestAudio(studio.folder.filePath("cut.wav")).interleaved.size(), 2400u);
    model.exportWav(studio.folder.filePath("cut.wav"));
    EXPECT_TRUE(model.error()) << "an existing file is never replaced";
}

TEST(ClipStudioModel, EnablesAddingUpTo256Entries)
{
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 480));
    ClipStudioModel &model = *studio.model;
    for (int i = 0; i < 255; ++i)
        model.addToPack();
    EXPECT_TRUE(model.canAddToPack());
    EXPECT_EQ(model.draft()->past().size(), 0u) << "the same edit twice is one undo step";
    model.addToPack();
    EXPECT_FALSE(model.canAddToPack());
    EXPECT_EQ(model.counterText(), "256 / 256 samples");
    model.addToPack();
    EXPECT_EQ(model.assignments().size(), 256u);
}

TEST(ClipStudioModel, RemovingAnEntryRenumbersTheRest)
{
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 480));
    ClipStudioModel &model = *studio.model;
    model.addToPack();
    model.setGroup(KeyGroup::space);
    model.setPhase(KeyPhase::up);
    model.addToPack();
    model.setGroup(KeyGroup::enter);
    model.addToPack();
    EXPECT_EQ(text(model.notice()), "Added the applied edit to your pack.");
    model.removeAssignment(0);
    EXPECT_EQ(model.assignmentText(0), "1. space · up");
    EXPECT_EQ(model.assignmentText(1), "2. enter · up");
    EXPECT_EQ(model.counterText(), "2 / 256 samples");
    for (const qsizetype outside : {qsizetype(2), qsizetype(-1)})
        model.removeAssignment(outside);
    EXPECT_EQ(model.counterText(), "2 / 256 samples");
    EXPECT_EQ(model.assignmentText(1), "2. enter · up");
}

TEST(ClipStudioModel, InstallNeedsEntriesAndAPackManager)
{
    StudioFixture studio(false);
    studio.load(studio.writeTone("tone.wav", 480));
    studio.model->addToPack();
    EXPECT_TRUE(studio.model->canExportPack());
    EXPECT_FALSE(studio.model->canInstallPack());
}

TEST(ClipStudioModel, ExportsEachSaveIntoANewFolderAndRevealsIt)
{
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 480));
    ClipStudioModel &model = *studio.model;
    const QString parent = studio.folder.makeDir("exports");
    model.addToPack();

    model.exportPack(parent);
    studio.waitUntilIdle();
    EXPECT_EQ(text(model.error()), "Pack identity, name and author must contain 1–256 characters");
    EXPECT_FALSE(model.notice());
    EXPECT_TRUE(QDir(parent).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    model.setCreator("Tester");
    model.exportPack(parent);
    studio.waitUntilIdle();
    model.exportPack(parent);
    studio.waitUntilIdle();
    const QStringList folders = QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(folders.size(), 2);
    EXPECT_TRUE(folders[0].startsWith("Sound Pack "));
    EXPECT_EQ(folders[0].size(), QString("Sound Pack 3F2A9C1B").size());
    EXPECT_EQ(text(model.notice()), "Exported to " + studio.shell.revealedItems.value(1));
    EXPECT_EQ(studio.shell.revealedItems.size(), 2);
    // Nothing could show it: the notice says where it is.
    studio.shell.launcherInstalled = false;
    model.exportPack(parent);
    studio.waitUntilIdle();
    EXPECT_EQ(text(model.notice()), "Exported. " + AppShell::folderNotOpenedText(studio.shell.revealedItems.value(2)));
    QDir(studio.shell.revealedItems.value(2)).removeRecursively();
    EXPECT_EQ(model.assignments().size(), 1u);
}

TEST(ClipStudioModel, InstallsReactionPacksAndCleansUpEitherWay)
{
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 4800));
    ClipStudioModel &model = *studio.model;
    model.setCreator("Tester");
    model.setReactionPack(true);
    model.setGroup(KeyGroup::reaction);
    model.addToPack();
    model.addToPack();

    model.installPack();
    EXPECT_FALSE(model.canInstallPack()) << "busy";
    studio.waitUntilIdle();
    EXPECT_EQ(text(model.notice()), "Installed. Select your pack from the sound library.");
    ASSERT_EQ(studio.packs->reactionPacks().size(), 1);
    EXPECT_EQ(studio.packs->reactionPacks().first().manifest.name, "My Sound Pack");
    EXPECT_TRUE(studio.tempEntries().isEmpty()) << studio.tempEntries().join(", ").toStdString();

    model.setGroup(KeyGroup::space);
    model.addToPack();
    model.installPack();
    studio.waitUntilIdle();
    EXPECT_TRUE(model.error());
    EXPECT_FALSE(model.notice());
    EXPECT_EQ(studio.packs->reactionPacks().size(), 1);
    EXPECT_TRUE(studio.tempEntries().isEmpty()) << studio.tempEntries().join(", ").toStdString();
}

TEST(ClipStudioModel, AStudioClosedDuringAnInstallStillRefreshesTheLibrary)
{
    StudioFixture studio;
    studio.load(studio.writeTone("tone.wav", 4800));
    studio.model->setCreator("Tester");
    studio.model->addToPack();
    studio.model->installPack();
    studio.model.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return studio.packs->keyboardPacks().size() == 1; }, 60000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return studio.tempEntries().isEmpty(); }, 10000));
}
