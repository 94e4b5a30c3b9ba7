// Qt's own controls as the kit's style draws them: sliders, scroll bars, pickers, the level
// bar and switches, enabled and disabled, the message boxes, Qt's file dialog where the desktop
// offers none, a text field's menu and a tooltip on the panel.
#include "SceneRig.h"

#include "Services/Packs/PackOpenPanel.h"
#include "Views/ControlWindow.h"
#include "Views/MenuBarPanel.h"

#include "Views/Kit/ChipButton.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SelectableTile.h"
#include "Views/Kit/SettingSlider.h"
#include "Views/Kit/SettingsPanel.h"
#include "Views/Kit/SwitchToggle.h"
#include "Views/Kit/TextLabels.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolTip>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

QWidget *withLabel(const QString &text, QWidget *control)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(text);
    label->setFixedWidth(150);
    layout->addWidget(label);
    layout->addWidget(control, 1);
    return row;
}

QWidget *controls(SceneRig &rig)
{
    SettingsStore &settings = rig.app().settings();
    const QColor accent = KitStyle::accent(settings);
    auto *window = new QWidget;
    window->setWindowTitle(QStringLiteral("Kit controls"));
    KitStyle::applyWindowPalette(window, accent);
    auto *outer = new QHBoxLayout(window);
    outer->setContentsMargins(16, 16, 16, 16);

    auto *panel = new SettingsPanel(QStringLiteral("Controls"), QStringLiteral("slider.horizontal.3"));
    const Binding<double> cooldown{[&settings] { return settings.cooldown(); },
                                   [&settings](double value) { settings.setCooldown(value); }};
    panel->add(new SettingSlider(QStringLiteral("Cooldown"), cooldown, 0.2, 1.5, QStringLiteral("s")));
    auto *disabledSlider = new SettingSlider(QStringLiteral("Disabled"), cooldown, 0.2, 1.5, QStringLiteral("s"));
    disabledSlider->setEnabled(false);
    panel->add(disabledSlider);

    for (bool enabled : {true, false}) {
        QComboBox *picker = TextLabels::picker();
        picker->addItems({QStringLiteral("Cream Switches"), QStringLiteral("Blue Clicky")});
        picker->setEnabled(enabled);
        panel->add(withLabel(enabled ? QStringLiteral("Picker") : QStringLiteral("Disabled picker"), picker));
    }

    auto *level = new QProgressBar;
    level->setRange(0, 1000);
    level->setValue(420);
    level->setTextVisible(false);
    level->setFixedHeight(6);
    panel->add(withLabel(QStringLiteral("Level bar"), level));

    auto *switches = new QHBoxLayout;
    for (bool enabled : {true, false}) {
        for (bool checked : {true, false}) {
            auto *toggle = new SwitchToggle(QStringLiteral("Switch"));
            toggle->setAccent(accent);
            toggle->setChecked(checked);
            toggle->setEnabled(enabled);
            switches->addWidget(toggle);
        }
        switches->addSpacing(16);
    }
    switches->addStretch();
    panel->add(switches);

    auto *tiles = new QHBoxLayout;
    auto *tile = new SelectableTile(QStringLiteral("scope"), QStringLiteral("Tile"), SelectableTile::Arrangement::stacked);
    tile->setMinimumHeight(64);
    tiles->addWidget(tile);
    auto *disabledTile = new SelectableTile(QStringLiteral("scope"), QStringLiteral("Disabled"),
                                            SelectableTile::Arrangement::stacked);
    disabledTile->setMinimumHeight(64);
    disabledTile->setEnabled(false);
    tiles->addWidget(disabledTile);
    tiles->addWidget(new ChipButton(QStringLiteral("water.waves"), QStringLiteral("Chip")));
    panel->add(tiles);
    outer->addWidget(panel, 1);

    // A resting scroll bar and one under the pointer, side by side.
    for (bool hovered : {false, true}) {
        auto *bar = new QScrollBar(Qt::Vertical);
        bar->setRange(0, 300);
        bar->setPageStep(100);
        bar->setValue(hovered ? 200 : 0);
        bar->setFixedHeight(300);
        bar->setAttribute(Qt::WA_UnderMouse, hovered);
        outer->addWidget(bar, 0, Qt::AlignTop);
    }
    window->resize(560, 420);
    return window;
}

const SceneRegistrar kitControls{QStringLiteral("kit/controls"), [](SceneRig &rig) {
    QWidget *window = controls(rig);
    window->show();
    rig.capture(QStringLiteral("kit/controls"), window);
    // The other scheme and back, live, on the same widgets; each picture's name ends in the
    // scheme it shows, so "-live-switch-dark" is the light window switched to dark.
    const QPalette shown = QApplication::palette();
    const ColorScheme other = KitStyle::scheme(shown) == ColorScheme::dark ? ColorScheme::light : ColorScheme::dark;
    QApplication::setPalette(KitStyle::palette(other));
    rig.capture(QStringLiteral("kit/controls-live-switch"), window);
    QApplication::setPalette(shown);
    rig.capture(QStringLiteral("kit/controls-live-switch-back"), window);
    delete window;
}};

const SceneRegistrar messageBoxes{QStringLiteral("kit/message-box"), [](SceneRig &rig) {
    struct Box {
        QMessageBox::Icon icon;
        QString name, heading, sentence;
    };
    for (const Box &shown :
         {Box{QMessageBox::Warning, QStringLiteral("warning"), QStringLiteral("Plinkly can’t find its sounds"),
              QStringLiteral("The folder of built-in sounds is missing. Reinstall Plinkly to get them back.")},
          Box{QMessageBox::Information, QStringLiteral("information"), QStringLiteral("Turn on the accessibility bus"),
              QStringLiteral("Turn on assistive technologies in your desktop’s accessibility settings, then log in "
                             "again.")}}) {
        QMessageBox box(shown.icon, shown.heading, shown.heading, QMessageBox::Ok);
        box.setInformativeText(shown.sentence);
        box.open();
        rig.capture(QStringLiteral("kit/message-box-") + shown.name, &box);
    }
}};

// The pack import's panel, Qt's own dialog, over a folder of packs and sounds in its detail view.
const SceneRegistrar fileDialog{QStringLiteral("kit/file-dialog"), [](SceneRig &rig) {
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(QStringLiteral("Clicky Pack"));
    for (const auto &[name, bytes] : {std::pair{"Cream Switches.zip", 149'504}, std::pair{"bonk.wav", 88'200},
                                      std::pair{"A pack with a rather long file name.zip", 2'411'724}}) {
        QFile file(folder.filePath(QString::fromUtf8(name)));
        if (file.open(QIODevice::WriteOnly))
            file.resize(bytes);
    }
    PackOpenPanel panel(SoundPackManifest::PackKind::reaction);
    panel.setDirectory(folder.path());
    panel.setViewMode(QFileDialog::Detail);
    panel.open();
    rig.settle(600);
    rig.capture(QStringLiteral("kit/file-dialog"), &panel);
}};

// A text field's own menu, its first item under the pointer.
const SceneRegistrar contextMenu{QStringLiteral("kit/context-menu"), [](SceneRig &rig) {
    QWidget window;
    KitStyle::applyWindowPalette(&window, KitStyle::accent(rig.app().settings()));
    auto *layout = new QVBoxLayout(&window);
    QLineEdit *field = TextLabels::textField();
    field->setText(QStringLiteral("Deep work"));
    field->selectAll();
    layout->addWidget(field);
    layout->addStretch();
    window.resize(340, 300);
    window.show();
    rig.settle();
    std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
    menu->popup(field->mapToGlobal(QPoint(20, field->height())));
    rig.settle();
    for (QAction *action : menu->actions()) {
        if (action->isEnabled() && !action->isSeparator()) {
            menu->setActiveAction(action);
            break;
        }
    }
    rig.capture(QStringLiteral("kit/context-menu"), &window);
    menu->hide();
}};

// A tooltip over the tray panel.
const SceneRegistrar tooltip{QStringLiteral("kit/tooltip-panel"), [](SceneRig &rig) {
    rig.app().start();
    rig.settle();
    if (ControlWindow *window = rig.windows().controlWindow())
        window->close();
    MenuBarPanel panel(rig.app());
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    panel.popUp(QRect(available.right() - 60, 0, 24, 24), available);
    rig.settle();
    QToolTip::showText(panel.mapToGlobal(QPoint(120, 60)), QStringLiteral("Reset all effects"), &panel);
    rig.capture(QStringLiteral("kit/tooltip-panel"), &panel);
    QToolTip::hideText();
}};

}
