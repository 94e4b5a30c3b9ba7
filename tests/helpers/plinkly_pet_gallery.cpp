// Renders the pet's panel in many states into PNG files, for looking at the drawing:
//   plinkly_pet_gallery FOLDER
// Each state is drawn at 2x on a plain backdrop, as "pet-<state>.png".
#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/DesktopPetView.h"
#include "Foundation/Scheduler.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>
#include <QPainter>

#include <functional>

namespace {
void clickTile(DesktopPetView &view, PetMenuCategory category)
{
    const auto card = view.menuCard();
    for (const PetMenuItem &item : card->items()) {
        if (item.category != category)
            continue;
        const QPointF at = item.rect.center() + view.cardRect()->topLeft();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, view.mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&view, &event);
        }
    }
}

void render(const QDir &folder, const QString &name, const std::function<void(PetPresentation &)> &setUp,
            const std::function<void(DesktopPetView &)> &inView = {})
{
    QtScheduler scheduler;
    PetPresentation presentation(scheduler);
    setUp(presentation);
    DesktopPetView view(presentation, scheduler, {});
    view.resize(presentation.isDialogueVisible() ? QSize(220, 300) : QSize(170, 122));
    if (inView) {
        inView(view);
        // Let page changes finish fading in.
        QEventLoop settle;
        QTimer::singleShot(250, &settle, &QEventLoop::quit);
        settle.exec();
    }
    view.advanceAnimation(5);
    QImage image(view.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(QColor(0x4d, 0x5d, 0x78));
    QPainter painter(&image);
    view.paintContent(painter);
    painter.end();
    image.save(folder.filePath(QStringLiteral("pet-%1.png").arg(name)));
}
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(folder.path());
    for (PetMood mood : allCases<PetMood>())
        render(folder, QStringLiteral("mood-") + rawValue(mood),
               [mood](PetPresentation &p) { p.update(mood, QStringLiteral("Mood: ") + rawValue(mood)); });
    for (const char *face : {"happy", "sleepy", "cheeky", "grumpy", "innocent"})
        render(folder, QStringLiteral("face-%1").arg(face), [face](PetPresentation &p) {
            p.setAppearance(QStringLiteral("cream"), QStringLiteral("none"), QString::fromUtf8(face));
        });
    for (const char *accessory : {"crown", "glasses", "headphones", "bow"})
        render(folder, QStringLiteral("accessory-%1").arg(accessory), [accessory](PetPresentation &p) {
            p.setAppearance(QStringLiteral("cream"), QString::fromUtf8(accessory), QStringLiteral("happy"));
        });
    for (const char *color : {"ocean", "lilac", "mint", "pink"})
        render(folder, QStringLiteral("color-%1").arg(color), [color](PetPresentation &p) {
            p.setAppearance(QString::fromUtf8(color), QStringLiteral("crown"), QStringLiteral("cheeky"));
        });
    for (PetMoment moment : {PetMoment::camera, PetMoment::package, PetMoment::power}) {
        render(folder, QStringLiteral("moment-%1").arg(int(moment)), [moment](PetPresentation &p) {
            p.showMoment(moment, 10);
        });
        render(folder, QStringLiteral("moment-%1-facing-right").arg(int(moment)), [moment](PetPresentation &p) {
            p.setMovement(5);
            p.setWalking(false);
            p.showMoment(moment, 10);
            p.update(PetMood::celebrating, QStringLiteral("Facing right"));
        });
    }
    render(folder, QStringLiteral("focus"), [](PetPresentation &p) {
        p.setFocusRemainingSeconds(1499, false);
        p.update(PetMood::focused, QStringLiteral("Focus"));
    });
    render(folder, QStringLiteral("focus-paused-facing-right"), [](PetPresentation &p) {
        p.setFocusRemainingSeconds(59, true);
        p.setMovement(5);
        p.setWalking(false);
    });
    render(folder, QStringLiteral("reaction-long"), [](PetPresentation &p) {
        p.showReaction(QStringLiteral("A very long reaction line that needs more than two lines to be shown in full"), 10);
    });
    render(folder, QStringLiteral("lid"), [](PetPresentation &p) { p.setLidProgress(1); });
    render(folder, QStringLiteral("menu"), [](PetPresentation &p) { p.setDialogueVisible(true); });
    render(folder, QStringLiteral("menu-with-line"), [](PetPresentation &p) { p.petTapped(); });
    for (PetMenuCategory category : allCases<PetMenuCategory>()) {
        render(folder, QStringLiteral("menu-") + rawValue(category).toLower(), [](PetPresentation &p) {
            p.setName(QStringLiteral("Bloopy"));
            p.setDialogueVisible(true);
        }, [category](DesktopPetView &view) { clickTile(view, category); });
    }
    return 0;
}
