#pragma once

#include "App/AppController.h"
#include "Services/Packs/SoundFiles.h"
#include "fakes/FakeAudioOutput.h"
#include "fakes/FakeGlobalPointer.h"
#include "fakes/FakeInputCapture.h"
#include "fakes/FakePermissionProbe.h"
#include "support/TestPlatform.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSettings>
#include <QWidget>

#include <memory>

// A controller for window tests: a settings file written before it starts, a pack library
// with two playable keyboard packs ("alpha", "beta"), one that is not audio ("broken") and a
// reaction pack ("ouch"), input access and with it a global key source as asked, and silent
// outputs.
struct ViewRig {
    TestFolder folder;
    ManualScheduler *scheduler = nullptr;
    FakePermissionProbe *probe = nullptr;
    FakeGlobalPointer *pointer = nullptr;
    FakeInputCapture *capture = nullptr;
    std::unique_ptr<AppController> app;

    explicit ViewRig(const QStringList &settings = {}, bool inputGranted = true)
    {
        writeSettledDefaults(folder, QStringList{QStringLiteral("selectedKeyboardPack=alpha"),
                                                 QStringLiteral("selectedReactionPack=ouch")} +
                                         settings);
        addPack(QStringLiteral("alpha"), QStringLiteral("Alpha"), SoundPackManifest::PackKind::keyboard, true);
        addPack(QStringLiteral("beta"), QStringLiteral("Beta"), SoundPackManifest::PackKind::keyboard, true);
        addPack(QStringLiteral("broken"), QStringLiteral("Broken"), SoundPackManifest::PackKind::keyboard, false);
        addPack(QStringLiteral("ouch"), QStringLiteral("Ouch"), SoundPackManifest::PackKind::reaction, true);

        TestPlatform base(folder);
        scheduler = base.scheduler;
        Platform platform = std::move(base.platform);
        auto fakeProbe = std::make_unique<FakePermissionProbe>();
        probe = fakeProbe.get();
        probe->inputGranted = inputGranted;
        platform.permissionProbe = std::move(fakeProbe);
        auto fakeCapture = std::make_unique<FakeInputCapture>();
        capture = fakeCapture.get();
        if (inputGranted)
            capture->available = {{InputCaptureLevel::eventTap, true}};
        platform.inputCapture = std::move(fakeCapture);
        auto fakePointer = std::make_unique<FakeGlobalPointer>();
        pointer = fakePointer.get();
        platform.screenToys.pointer = std::move(fakePointer);
        platform.makeAudioOutput = [] { return std::make_unique<FakeAudioOutput>(std::make_shared<FakeAudioOutput::State>()); };
        platform.packLibraryRoot = folder.filePath(QStringLiteral("Library"));
        platform.packResourceBundle = folder.makeDir(QStringLiteral("Bundle"));
        app = std::make_unique<AppController>(std::move(platform));
        app->permissions().refresh();
    }

    void addPack(const QString &id, const QString &name, SoundPackManifest::PackKind kind, bool audio)
    {
        const bool keyboard = kind == SoundPackManifest::PackKind::keyboard;
        const QString packFolder = folder.makeDir(QStringLiteral("Library/%1/%2")
                                                      .arg(keyboard ? QStringLiteral("Keyboard Packs")
                                                                    : QStringLiteral("Reaction Packs"),
                                                           id));
        SoundPackManifest manifest;
        manifest.id = id;
        manifest.name = name;
        manifest.author = QStringLiteral("Tests");
        manifest.kind = kind;
        manifest.groups[keyboard ? KeyGroup::regular : KeyGroup::reaction].down = {QStringLiteral("press.wav")};
        QFile manifestFile(packFolder + QStringLiteral("/manifest.json"));
        manifestFile.open(QIODevice::WriteOnly);
        manifestFile.write(manifest.toJson());
        QFile sample(packFolder + QStringLiteral("/press.wav"));
        sample.open(QIODevice::WriteOnly);
        sample.write(audio ? SoundFiles::encode(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 1, std::vector<float>(480, 0.1f))
                           : QByteArray("not audio at all"));
    }

    // Every setting as the file holds it.
    QMap<QString, QVariant> storedSettings()
    {
        app->defaults().sync();
        QSettings file(folder.filePath(QStringLiteral("defaults.ini")), QSettings::IniFormat);
        QMap<QString, QVariant> values;
        for (const QString &key : file.allKeys())
            values.insert(key, file.value(key));
        return values;
    }

    // Runs the event loop until `done` holds or ten seconds pass.
    template <typename Condition>
    static bool waitFor(Condition done)
    {
        QDeadlineTimer deadline(10000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }

    // The first widget of type W under `root` with that accessible name.
    template <typename W = QAbstractButton>
    static W *named(const QWidget *root, const QString &name)
    {
        for (W *widget : root->findChildren<W *>()) {
            if (widget->accessibleName() == name)
                return widget;
        }
        return nullptr;
    }
};
