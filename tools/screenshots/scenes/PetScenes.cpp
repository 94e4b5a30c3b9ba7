// The desktop pet: every mood, face, accessory and colour, both facings with a badge, the
// countdown, and the menu card on its grid and each page.
#include "SceneRig.h"

#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/DesktopPetView.h"
#include "Effects/Pet/View/PetWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QMouseEvent>

namespace {

// Runs the pet's deferred steps (the scenes' scheduler moves only when told) and lets the
// window settle.
void settle(SceneRig &rig, int milliseconds = 400)
{
    rig.platform().scheduler->advance(std::chrono::milliseconds(0));
    rig.settle(milliseconds);
}

// The pet in the middle of the bottom edge, holding still.
PetWindow &shownPet(SceneRig &rig)
{
    rig.showWallpaper();
    DesktopPetController &pet = rig.app().pet();
    pet.setPlacement({0.5, 0});
    pet.setStaysPut(true);
    pet.show();
    settle(rig);
    return *dynamic_cast<PetWindow *>(pet.panel());
}

void click(DesktopPetView &view, QPointF at)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, view.mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &event);
    }
}

// Taps the pet open and, for a category, chooses its tile.
void openMenu(SceneRig &rig, PetWindow &window, std::optional<PetMenuCategory> category)
{
    click(window.view(), window.view().figureFrame().center());
    settle(rig, 400);
    if (!category)
        return;
    const auto card = window.view().menuCard();
    for (const PetMenuItem &item : card->items()) {
        if (item.category == category)
            click(window.view(), item.rect.center() + window.view().cardRect()->topLeft());
    }
    settle(rig, 400);
}

const SceneRegistrar moods{QStringLiteral("pet/mood"), [](SceneRig &rig) {
    PetWindow &window = shownPet(rig);
    for (PetMood mood : allCases<PetMood>()) {
        rig.app().pet().update(mood, QStringLiteral("Feeling ") + rawValue(mood));
        settle(rig, 600);
        rig.capture(QStringLiteral("pet/mood-") + rawValue(mood), &window);
    }
}};

const SceneRegistrar faces{QStringLiteral("pet/face"), [](SceneRig &rig) {
    PetWindow &window = shownPet(rig);
    for (const char *face : {"happy", "sleepy", "cheeky", "grumpy", "innocent"}) {
        rig.app().settings().setPetFaceID(QString::fromUtf8(face));
        settle(rig, 300);
        rig.capture(QStringLiteral("pet/face-%1").arg(face), &window);
    }
}};

const SceneRegistrar looks{QStringLiteral("pet/look"), [](SceneRig &rig) {
    PetWindow &window = shownPet(rig);
    for (const char *accessory : {"crown", "glasses", "headphones", "bow"}) {
        rig.app().settings().setPetAccessoryID(QString::fromUtf8(accessory));
        settle(rig, 300);
        rig.capture(QStringLiteral("pet/accessory-%1").arg(accessory), &window);
    }
    rig.app().settings().setPetAccessoryID(QStringLiteral("none"));
    for (const char *color : {"cream", "ocean", "lilac", "mint", "pink"}) {
        rig.app().settings().setPetColorID(QString::fromUtf8(color));
        settle(rig, 300);
        rig.capture(QStringLiteral("pet/color-%1").arg(color), &window);
    }
}};

const SceneRegistrar facings{QStringLiteral("pet/facing"), [](SceneRig &rig) {
    PetWindow &window = shownPet(rig);
    PetPresentation &pet = rig.app().pet().presentation();
    pet.setFocusRemainingSeconds(1499, false);
    for (const auto &[name, delta, moment] : {std::tuple{"left", -5.0, PetMoment::camera},
                                              std::tuple{"right", 5.0, PetMoment::camera},
                                              std::tuple{"right-package", 5.0, PetMoment::package},
                                              std::tuple{"left-power", -5.0, PetMoment::power}}) {
        pet.setMovement(delta);
        pet.setWalking(false);
        pet.showMoment(moment, 30);
        settle(rig, 700);
        rig.capture(QStringLiteral("pet/facing-%1").arg(name), &window);
    }
    pet.setFocusRemainingSeconds(59, true);
    settle(rig, 300);
    rig.capture(QStringLiteral("pet/countdown-paused"), &window);
}};

const SceneRegistrar menu{QStringLiteral("pet/menu"), [](SceneRig &rig) {
    PetWindow &window = shownPet(rig);
    openMenu(rig, window, std::nullopt);
    rig.capture(QStringLiteral("pet/menu-grid"), &window);
    for (PetMenuCategory category : allCases<PetMenuCategory>()) {
        rig.app().pet().presentation().setDialogueVisible(false);
        settle(rig, 300);
        openMenu(rig, window, category);
        rig.capture(QStringLiteral("pet/menu-") + rawValue(category).toLower(), &window);
    }
}, {QStringLiteral("petStayPut=true")}};

// Long names: two words that need a second header line, and one word too long for any line,
// on the grid (the tile shrinks the name, then cuts it) and on the name's page with a line.
const SceneRegistrar longNames{QStringLiteral("pet/menu-long-name"), [](SceneRig &rig) {
    PetWindow &window = shownPet(rig);
    for (const auto &[name, label] : {std::pair{"Captain Bubblesworth", "words"},
                                      std::pair{"Bubblesquidfinwhistle", "one-word"}}) {
        PetPresentation &pet = rig.app().pet().presentation();
        pet.setDialogueVisible(false);
        pet.setName(QString::fromUtf8(name));
        settle(rig, 300);
        openMenu(rig, window, std::nullopt);
        rig.capture(QStringLiteral("pet/menu-long-name-%1-grid").arg(label), &window);
        pet.setDialogueVisible(false);
        settle(rig, 300);
        openMenu(rig, window, PetMenuCategory::bloopy);
        pet.showReaction(QStringLiteral("Boop! What’s the plan?"), 30);
        settle(rig, 300);
        rig.capture(QStringLiteral("pet/menu-long-name-%1-page").arg(label), &window);
    }
}, {QStringLiteral("petStayPut=true")}};

// The card over a window full of dark text: none of it may show through the card.
const SceneRegistrar overText{QStringLiteral("pet/menu-over-text"), [](SceneRig &rig) {
    rig.showWallpaper();
    QLabel text;
    text.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint);
    text.setStyleSheet(QStringLiteral("background: white; color: black; font-size: 15px;"));
    text.setWordWrap(true);
    text.setText(QStringLiteral("The quick brown fox jumps over the lazy dog. ").repeated(400));
    // Short of the whole screen, which the window manager would stack above everything.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    text.setGeometry(screen.center().x() - 400, screen.bottom() - 520, 800, 500);
    text.show();
    PetWindow &window = shownPet(rig);
    openMenu(rig, window, std::nullopt);
    rig.capture(QStringLiteral("pet/menu-over-text"), &window);
}, {QStringLiteral("petStayPut=true")}};

}

// One idle hop, every 40 ms from the bob's start until well after it lands, as the window shows it.
const SceneRegistrar hop{QStringLiteral("pet/hop"), [](SceneRig &rig) {
    PetWindow &window = shownPet(rig);
    rig.platform().scheduler->advance(std::chrono::milliseconds(1900));
    for (int step = 0; step <= 20; ++step) {
        if (step == 8)
            rig.platform().scheduler->advance(std::chrono::milliseconds(320));
        rig.captureContent(QStringLiteral("pet/hop-%1").arg(step * 40, 3, 10, QLatin1Char('0')), &window, false);
        window.view().advanceAnimation(0.04);
    }
}};
