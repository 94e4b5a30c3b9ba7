// The sound studio on its own, in the control window's studio dialog with its "Close" button,
// over the pack library at LIBRARY_ROOT. Prints "keyboard N reaction M"
// whenever the library's lists change, and "closed" when the dialog closes. Answers each line
// "where NAME" on standard input with the screen centre and width "X Y WIDTH" of the visible
// widget whose accessible name or text is NAME, scrolled into view, or "none", so a desktop
// test can click it.
//   plinkly_studio_window LIBRARY_ROOT
//   plinkly_studio_window LIBRARY_ROOT --grab empty|selection|pack AUDIO OUT.png
#include "Foundation/Clock.h"
#include "Platform/Linux/LinuxAppShell.h"
#include "Platform/Linux/SdlAudioOutput.h"
#include "Services/InterfaceTheme.h"
#include "Services/Packs/SoundPackManager.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Studio/ClipStudioView.h"
#include "Views/StudioSheet.h"

#include <QApplication>
#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QDeadlineTimer>

#include <QSocketNotifier>

#include <iostream>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
// Runs the event loop until `done` holds or the time is up.
template <typename Predicate>
bool waitFor(Predicate done, int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

void printLists(const SoundPackManager &packs)
{
    std::cout << "keyboard " << packs.keyboardPacks().size() << " reaction " << packs.reactionPacks().size()
              << std::endl;
}

// Accessible names first, so a slider is found before the label that carries the same title.
QString centreOf(const QString &name)
{
    for (const char *property : {"accessibleName", "text"}) {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            const auto candidates = window->findChildren<QWidget *>();
            for (QWidget *widget : candidates) {
                if (widget->isVisible() && widget->property(property).toString() == name) {
                    for (QWidget *up = widget->parentWidget(); up; up = up->parentWidget()) {
                        if (auto *scroll = qobject_cast<QScrollArea *>(up)) {
                            scroll->ensureWidgetVisible(widget);
                            break;
                        }
                    }
                    const QPoint centre = widget->mapToGlobal(widget->rect().center());
                    return QStringLiteral("%1 %2 %3").arg(centre.x()).arg(centre.y()).arg(widget->width());
                }
            }
        }
    }
    return QStringLiteral("none");
}

// Puts the studio into one of its notable states and saves a picture of it.
int grab(ClipStudioView &studio, const QString &scene, const QString &audio, const QString &out)
{
    studio.resize(680, 740);
    studio.show();
    ClipStudioModel &model = studio.model();
    if (scene != QLatin1String("empty")) {
        model.load(audio);
        if (!waitFor([&] { return !model.busy(); }, 30000) || !model.clip())
            return 2;
        model.setStart(0.18);
        model.setEnd(0.72);
        model.setFadeIn(0.05);
        model.setGain(1.4);
    }
    if (scene == QLatin1String("pack")) {
        model.setCreator(QStringLiteral("Robin"));
        model.addToPack();
        model.setGroup(KeyGroup::space);
        model.addToPack();
        model.setGroup(KeyGroup::enter);
        model.setPhase(KeyPhase::up);
        model.addToPack();
    }
    if (scene == QLatin1String("pack")) {
        waitFor([] { return false; }, 100);
        QScrollBar *scroll = studio.findChild<QScrollArea *>()->verticalScrollBar();
        scroll->setValue(scroll->maximum());
    }
    waitFor([] { return false; }, 100);
    return studio.grab().save(out) ? 0 : 3;
}
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::cerr << "usage: plinkly_studio_window LIBRARY_ROOT [--grab SCENE AUDIO OUT.png]" << std::endl;
        return 64;
    }
    SoundPackManager packs(args[1], QDir(args[1]).filePath(QStringLiteral("no-bundle")));
    (void)packs.prepareLibrary();
    LinuxAppShell shell;
    SystemClock clock;
    auto player = std::make_unique<StudioPreviewPlayer>(std::make_unique<SdlAudioOutput>(), clock);

    const QColor accent = InterfaceThemes::accent(QString());
    if (args.size() == 6 && args[2] == QLatin1String("--grab")) {
        ClipStudioView studio(&packs, std::move(player), &shell);
        KitStyle::applyWindowPalette(&studio, accent);
        return grab(studio, args[3], args[4], args[5]);
    }

    StudioSheet sheet(new ClipStudioView(&packs, std::move(player), &shell), nullptr);
    KitStyle::applyWindowPalette(&sheet, accent);
    QObject::connect(&packs, &SoundPackManager::changed, &packs, [&] { printLists(packs); });
    printLists(packs);
    // Never blocks the event loop: a notification without a whole line just waits for more.
    ::fcntl(STDIN_FILENO, F_SETFL, ::fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count < 0 && errno == EAGAIN)
            return;
        if (count <= 0) {
            input.setEnabled(false);
            return;
        }
        pending.append(buffer, qsizetype(count));
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end));
            pending.remove(0, end + 1);
            if (line.startsWith(QLatin1String("where ")))
                std::cout << centreOf(line.mid(6)).toStdString() << std::endl;
        }
    });
    sheet.setAttribute(Qt::WA_DeleteOnClose, false);
    sheet.exec();
    std::cout << "closed" << std::endl;
    return 0;
}
