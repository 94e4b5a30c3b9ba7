#pragma once

#include "Services/Packs/SoundPackManager.h"
#include "Services/Studio/StudioTestAudio.h"
#include "Views/Studio/ClipStudioModel.h"
#include "fakes/FakeAppShell.h"
#include "fakes/FakeAudioOutput.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QTest>

#include <cmath>
#include <memory>
#include <numbers>

// A studio over a throw-away library, with the system's temporary folder moved into the test's
// own folder so every temporary item the studio makes can be counted.
struct StudioFixture {
    explicit StudioFixture(bool withPackManager = true)
    {
        QDir().mkpath(tempRoot);
        qputenv("TMPDIR", QFile::encodeName(tempRoot));
        if (withPackManager) {
            packs = std::make_unique<SoundPackManager>(folder.filePath("library"), folder.makeDir("bundle"));
            (void)packs->prepareLibrary();
        }
        model = std::make_unique<ClipStudioModel>(packs.get(), makePlayer(), &shell);
    }
    ~StudioFixture()
    {
        model.reset();
        qputenv("TMPDIR", previousTemp);
    }

    std::unique_ptr<StudioPreviewPlayer> makePlayer()
    {
        return std::make_unique<StudioPreviewPlayer>(std::make_unique<FakeAudioOutput>(output), clock);
    }

    // A tone of `frames` samples at `amplitude`, as a 32-bit float WAV file.
    QString writeTone(const QString &name, qint64 frames, float amplitude = 0.5f, int sampleRate = 48000)
    {
        std::vector<float> samples(std::size_t(frames), 0.0f);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = amplitude * float(std::sin(2.0 * std::numbers::pi * 440.0 * double(i) / sampleRate));
        const QString path = folder.filePath(name);
        writeTestAudio(path, sampleRate, 1, samples);
        return path;
    }

    void waitUntilIdle()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !model->busy(); }, 60000));
    }

    void load(const QString &path)
    {
        model->load(path);
        waitUntilIdle();
        ASSERT_TRUE(model->clip().has_value()) << model->error().value_or(QString()).toStdString();
    }

    QStringList tempEntries() const
    {
        return QDir(tempRoot).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    TestFolder folder;
    QString tempRoot = folder.filePath("tmp");
    QByteArray previousTemp = qgetenv("TMPDIR");
    SystemClock clock;
    std::shared_ptr<FakeAudioOutput::State> output = std::make_shared<FakeAudioOutput::State>();
    FakeAppShell shell;
    std::unique_ptr<SoundPackManager> packs;
    std::unique_ptr<ClipStudioModel> model;
};
