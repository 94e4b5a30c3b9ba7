#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/DesktopPetView.h"
#include "Foundation/Contrast.h"
#include "Foundation/RawEnum.h"
#include "Views/ControlWindow.h"
#include "Views/Kit/KitAppearance.h"
#include "Views/Kit/KitStyle.h"
#include "Views/MenuBarPanel.h"
#include "Views/OnboardingWindow.h"
#include "fakes/FakeColorSchemeSource.h"
#include "fakes/ManualClock.h"
#include "support/ViewRig.h"

#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QMap>
#include <QThreadPool>
#include <QToolButton>

#include <gtest/gtest.h>

#include <any>
#include <numeric>

// Every surface built in one scheme and switched live to the other must show exactly what the
// same surface built in the other scheme shows: a picture, font or control anywhere in it that
// keeps the old scheme differs somewhere in the window.
namespace {

// Channels closer than this are the same colour drawn through a different path (a blend
// rounded once more); anything further is a different colour.
constexpr int sameColourChannels = 6;

struct AppearanceGuard {
    QPalette palette = QApplication::palette();
    QFont font = QApplication::font();
    AppearanceGuard()
    {
        // One pinned font for both windows, so their pixels compare.
        QFont pinned(QStringLiteral("DejaVu Sans"));
        pinned.setPixelSize(13);
        QApplication::setFont(pinned);
        QApplication::setPalette(KitStyle::palette(ColorScheme::light));
    }
    ~AppearanceGuard()
    {
        QApplication::setFont(font);
        QApplication::setPalette(palette);
    }
};

// Lets loads on the thread pool (packs) finish and everything queued behind them run.
void settle()
{
    for (int turn = 0; turn < 5; ++turn) {
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// A surface as built: whatever keeps it alive, its pixels, and the widget that holds them.
struct Built {
    std::any keep;
    std::function<QImage()> shot;
    QWidget *root = nullptr;
};

Built controlWindow(ViewRig &rig, SettingsPage page, bool studio = false)
{
    auto state = std::make_shared<SettingsViewState>(page);
    auto window = std::make_shared<ControlWindow>(*rig.app, *state);
    window->resize(760, 620);
    window->show();
    if (studio)
        state->setClipStudioPresented(true);
    settle();
    QWidget *root = studio ? static_cast<QWidget *>(window->studioSheet()) : window.get();
    return {std::pair{state, window}, [root] { return root->grab().toImage(); }, root};
}

template <typename W>
Built window(ViewRig &rig)
{
    auto shown = std::make_shared<W>(*rig.app);
    shown->show();
    settle();
    return {shown, [root = shown.get()] { return root->grab().toImage(); }, shown.get()};
}

Built petCard(ViewRig &)
{
    struct Pet {
        ManualClock clock;
        ManualScheduler scheduler{clock};
        PetPresentation presentation{scheduler};
        DesktopPetView view{presentation, scheduler, {}};
    };
    auto pet = std::make_shared<Pet>();
    pet->view.resize(320, 420);
    pet->presentation.showReaction(QStringLiteral("Boop! What’s the plan?"), 30);
    pet->presentation.setDialogueVisible(true);
    pet->view.advanceAnimation(1);
    return {pet, [view = &pet->view] {
                QImage shot(view->size(), QImage::Format_RGB32);
                shot.fill(Qt::gray);
                view->render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
                return shot;
            }};
}

struct Surface {
    QString name;
    std::function<Built(ViewRig &)> build;
};

std::vector<Surface> surfaces()
{
    std::vector<Surface> all;
    for (SettingsPage page : allCases<SettingsPage>())
        all.push_back({rawValue(page), [page](ViewRig &rig) { return controlWindow(rig, page); }});
    all.push_back({QStringLiteral("Studio"), [](ViewRig &rig) { return controlWindow(rig, SettingsPage::sounds, true); }});
    all.push_back({QStringLiteral("Panel"), window<MenuBarPanel>});
    all.push_back({QStringLiteral("Onboarding"), window<OnboardingWindow>});
    all.push_back({QStringLiteral("Pet card"), petCard});
    // Last, as the session goes on running.
    all.push_back({QStringLiteral("Focus session"), [](ViewRig &rig) {
                       if (!rig.app->focus().isActive())
                           rig.app->startFocusSession();
                       return controlWindow(rig, SettingsPage::focus);
                   }});
    return all;
}

bool sameColour(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= sameColourChannels && std::abs(qGreen(a) - qGreen(b)) <= sameColourChannels &&
           std::abs(qBlue(a) - qBlue(b)) <= sameColourChannels;
}

// The pixels that differ, counted per widget they lie in, so a failure names its culprits.
QMap<QString, int> differences(const QImage &switched, const QImage &built, QWidget *root)
{
    QMap<QString, int> found;
    if (switched.size() != built.size()) {
        found.insert(QStringLiteral("size"), 1);
        return found;
    }
    for (int y = 0; y < built.height(); ++y) {
        for (int x = 0; x < built.width(); ++x) {
            if (sameColour(switched.pixel(x, y), built.pixel(x, y)))
                continue;
            QWidget *under = root ? root->childAt(x, y) : nullptr;
            QString name = under ? QString::fromLatin1(under->metaObject()->className()) : QStringLiteral("(surface)");
            if (under && !under->accessibleName().isEmpty())
                name += QStringLiteral(" \"") + under->accessibleName() + QLatin1Char('"');
            ++found[name];
        }
    }
    return found;
}

// Every symbol shown on its own (a SymbolView, a label showing a picture, a button that is only
// a symbol) stands out from what lies around it as a control's edge must.
void checkMarks(const QImage &shot, QWidget *root, const std::string &where)
{
    if (!root)
        return;
    for (QWidget *mark : root->findChildren<QWidget *>()) {
        const auto *label = qobject_cast<QLabel *>(mark);
        const auto *button = qobject_cast<QToolButton *>(mark);
        const bool symbol = mark->inherits("SymbolView") || (label && !label->pixmap().isNull()) ||
                            (button && button->text().isEmpty());
        if (!symbol || !mark->isVisibleTo(root) || !mark->isEnabled())
            continue;
        const QRect box = QRect(mark->mapTo(root, QPoint(0, 0)), mark->size()).intersected(shot.rect());
        if (box.width() < 3 || box.height() < 3)
            continue;
        // The commonest colour along the box's edge, where a symbol leaves the background.
        QHash<QRgb, int> edge;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x)
                edge[shot.pixel(x, y)] += !box.adjusted(1, 1, -1, -1).contains(x, y);
        }
        const QColor behind = QColor::fromRgb(std::max_element(edge.cbegin(), edge.cend()).key());
        double best = 1;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x)
                best = std::max(best, Contrast::ratio(QColor::fromRgb(shot.pixel(x, y)), behind));
        }
        EXPECT_GE(best, Contrast::large) << where << ": the symbol in " << mark->parentWidget()->metaObject()->className()
                                         << " on " << behind.name().toStdString();
    }
}

const char *name(ColorScheme scheme)
{
    return scheme == ColorScheme::dark ? "dark" : "light";
}

}

TEST(SchemeSwitch, EverySurfaceSwitchedLiveDrawsAsBuiltInTheNewScheme)
{
    const AppearanceGuard guard;
    FakeColorSchemeSource source;
    const KitAppearance appearance(source);
    const auto use = [&source](ColorScheme scheme) {
        source.set(scheme == ColorScheme::dark ? ColorSchemePreference::dark : ColorSchemePreference::light);
        settle();
    };
    ViewRig rig({QStringLiteral("typingEnabled=true"), QStringLiteral("mouseSoundsEnabled=true"),
                 QStringLiteral("impactEnabled=true")});
    // The packs' cards on the Sounds and Reactions pages.
    ASSERT_TRUE(rig.app->packs().reload().has_value());
    for (const Surface &surface : surfaces()) {
        for (const auto &[from, to] : {std::pair{ColorScheme::light, ColorScheme::dark},
                                       std::pair{ColorScheme::dark, ColorScheme::light}}) {
            use(from);
            const Built switched = surface.build(rig);
            use(to);
            const Built built = surface.build(rig);
            const QImage shot = built.shot();
            const QMap<QString, int> found = differences(switched.shot(), shot, built.root);
            checkMarks(shot, built.root, surface.name.toStdString() + " " + name(to));
            QStringList culprits;
            for (auto it = found.cbegin(); it != found.cend(); ++it)
                culprits << it.key() + QStringLiteral(": ") + QString::number(it.value());
            EXPECT_EQ(std::accumulate(found.cbegin(), found.cend(), 0), 0) << surface.name.toStdString() << " " << name(from) << " to " << name(to)
                                       << ", pixels per widget: " << culprits.join(QStringLiteral(", ")).toStdString();
        }
    }
}
