// The sound studio dialog over the control window: empty, with a clip and a selection, and
// with a pack of three clips (the whole page, taller than the dialog).
#include "SceneRig.h"

#include "Services/Studio/ClipFile.h"
#include "Views/ControlWindow.h"
#include "Views/Studio/ClipStudioView.h"

#include <QScrollArea>
#include <QTemporaryDir>

#include <cmath>
#include <numbers>

namespace {

ClipStudioView &openStudio(SceneRig &rig)
{
    ControlWindow &window = rig.controlWindow(SettingsPage::sounds);
    window.state().setClipStudioPresented(true);
    rig.settle();
    return *window.studioSheet()->findChild<ClipStudioView *>();
}

// A plucked tone between two stretches of silence, loaded and cropped.
void loadPluck(SceneRig &rig, ClipStudioModel &model, const QTemporaryDir &folder)
{
    constexpr double rate = 48000;
    std::vector<float> samples(std::size_t(rate * 1.5), 0.0f);
    for (std::size_t i = std::size_t(rate * 0.2); i < std::size_t(rate * 1.2); ++i) {
        const double t = double(i) / rate - 0.2;
        samples[i] = float(0.8 * std::exp(-t * 4) * std::sin(2 * std::numbers::pi * 220 * t));
    }
    const QString path = folder.filePath(QStringLiteral("pluck.wav"));
    (void)ClipFile::exportClip(samples, rate, AudioClipEdit::wholeClip(qint64(samples.size())), path);
    model.load(path);
    while (model.busy())
        rig.settle(50);
    model.setStart(0.18);
    model.setEnd(0.72);
    model.setFadeIn(0.05);
    model.setGain(1.4);
}

const SceneRegistrar empty{QStringLiteral("studio/empty"), [](SceneRig &rig) {
    ClipStudioView &studio = openStudio(rig);
    rig.capture(QStringLiteral("studio/empty"), studio.window());
}};

const SceneRegistrar selection{QStringLiteral("studio/selection"), [](SceneRig &rig) {
    ClipStudioView &studio = openStudio(rig);
    QTemporaryDir folder;
    loadPluck(rig, studio.model(), folder);
    rig.capture(QStringLiteral("studio/selection"), studio.window());
}};

const SceneRegistrar pack{QStringLiteral("studio/pack"), [](SceneRig &rig) {
    ClipStudioView &studio = openStudio(rig);
    QTemporaryDir folder;
    ClipStudioModel &model = studio.model();
    loadPluck(rig, model, folder);
    model.setCreator(QStringLiteral("Robin"));
    model.addToPack();
    model.setGroup(KeyGroup::space);
    model.addToPack();
    model.setGroup(KeyGroup::enter);
    model.setPhase(KeyPhase::up);
    model.addToPack();
    rig.captureContent(QStringLiteral("studio/pack"), studio.findChild<QScrollArea *>()->widget());
}};

}
