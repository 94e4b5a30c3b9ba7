// Shows the desktop pet on a real display and drives it from lines on standard input, so
// desktop tests can click, hover and drag it. Placements the pet reports and menu commands
// are appended to the file argv[1] as "placement X Y" and "action NAME". Answers every line
// with "ok" or the asked value.
//   show | hide | reset
//   placement X Y               a stored placement, as fractions
//   mood MOOD TEXT...           a mood and line from outside
//   staysput on|off
//   frame                       the panel's Qt geometry "X Y WIDTH HEIGHT"
//   figure                      the figure's centre in Qt global coordinates "X Y"
//   menu                        "open" or "closed"
//   item TITLE...               the centre of the open card's item with that title, Qt global
//                               coordinates "X Y"; "close" and "back" name the header buttons
//   quit
#include "Effects/Pet/DesktopPetController.h"
#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/DesktopPetView.h"
#include "Effects/Pet/View/PetWindow.h"
#include "Effects/Pet/View/QtPetDesktop.h"
#include "Foundation/Scheduler.h"
#include "Platform/Linux/X11OverlayWindowSupport.h"
#include "support/ProbeCommandLoop.h"
#include "support/ProbeLog.h"

#include <QApplication>

namespace {

QString run(DesktopPetController &pet, const QStringList &words)
{
    const QString command = words.value(0);
    auto *window = dynamic_cast<PetWindow *>(pet.panel());
    if (command == QLatin1String("show")) {
        pet.show();
    } else if (command == QLatin1String("hide")) {
        pet.hide();
    } else if (command == QLatin1String("reset")) {
        pet.reset();
    } else if (command == QLatin1String("placement") && words.size() == 3) {
        pet.setPlacement({words[1].toDouble(), words[2].toDouble()});
    } else if (command == QLatin1String("mood") && words.size() >= 2) {
        const auto mood = fromRaw<PetMood>(words[1]);
        if (!mood)
            return QStringLiteral("bad mood");
        pet.update(*mood, words.mid(2).join(' '));
    } else if (command == QLatin1String("staysput") && words.size() == 2) {
        pet.setStaysPut(words[1] == QLatin1String("on"));
    } else if (command == QLatin1String("frame") && window) {
        const QRect g = window->geometry();
        return QStringLiteral("%1 %2 %3 %4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
    } else if (command == QLatin1String("figure") && window) {
        const QPoint centre = window->mapToGlobal(window->view().figureFrame().center().toPoint());
        return QStringLiteral("%1 %2").arg(centre.x()).arg(centre.y());
    } else if (command == QLatin1String("item") && window && words.size() >= 2) {
        const QString title = words.mid(1).join(' ');
        const DesktopPetView &view = window->view();
        const auto card = view.menuCard();
        if (!card)
            return QStringLiteral("no card");
        for (const PetMenuItem &item : card->items()) {
            const bool named = item.title == title
                || (title == QLatin1String("close") && item.kind == PetMenuItem::Kind::close)
                || (title == QLatin1String("back") && item.kind == PetMenuItem::Kind::back);
            if (named) {
                const QPoint at = window->mapToGlobal((item.rect.center() + view.cardRect()->topLeft()).toPoint());
                return QStringLiteral("%1 %2").arg(at.x()).arg(at.y());
            }
        }
        return QStringLiteral("no item");
    } else if (command == QLatin1String("menu")) {
        return pet.presentation().isDialogueVisible() ? QStringLiteral("open") : QStringLiteral("closed");
    } else {
        return QStringLiteral("unknown command");
    }
    return QStringLiteral("ok");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString eventLog = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    X11OverlayWindowSupport support;
    QtScheduler scheduler;
    SystemClock clock;
    QtPetDesktop desktop;
    DesktopPetController pet(clock, scheduler, desktop, [&](PetPresentation &presentation, PetPanelCallbacks callbacks) {
        return std::make_unique<PetWindow>(presentation, scheduler, support, std::move(callbacks));
    });
    pet.onPlacementChanged = [&](PetPlacement placement) {
        appendProbeLine(eventLog, QStringLiteral("placement %1 %2").arg(placement.x).arg(placement.y));
    };
    pet.onAction = [&](PetAction action) { appendProbeLine(eventLog, QStringLiteral("action ") + rawValue(action)); };

    const ProbeCommandLoop commands([&](const QStringList &words) { return run(pet, words); });
    return app.exec();
}
