// The shared widgets side by side, in their notable states, as the pages will use them.
#include "SceneRig.h"

#include "Views/Kit/ChipButton.h"
#include "Views/Kit/ColorSwatch.h"
#include "Views/Kit/DashboardCard.h"
#include "Views/Kit/Disclosure.h"
#include "Views/Kit/FlowGrid.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/MetricTile.h"
#include "Views/Kit/PageScaffold.h"
#include "Views/Kit/ProminentButton.h"
#include "Views/Kit/SegmentedPicker.h"
#include "Views/Kit/SelectableTile.h"
#include "Views/Kit/SettingSlider.h"
#include "Views/Kit/SettingsPanel.h"
#include "Views/Kit/SettingsText.h"
#include "Views/Kit/Spinner.h"
#include "Views/Kit/StatusPill.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/SymbolButton.h"
#include "Views/Kit/TextLabels.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Kit/VolumeControl.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QWidget *gallery(SceneRig &rig)
{
    SettingsStore &settings = rig.app().settings();
    const QColor accent = KitStyle::accent(settings);
    auto *page = new PageScaffold;
    page->setWindowTitle(QStringLiteral("Kit"));
    page->resize(760, 1000);
    KitStyle::applyWindowPalette(page, accent);

    auto *volumes = new SettingsPanel(QStringLiteral("Volumes and sliders"), QStringLiteral("slider.horizontal.3"));
    volumes->add(new VolumeControl(QStringLiteral("Keyboard volume"),
                                   {[&settings] { return settings.keyboardVolume(); },
                                    [&settings](double value) { settings.setKeyboardVolume(value); }}));
    volumes->add(new VolumeControl(QStringLiteral("Reaction volume"),
                                   {[&settings] { return settings.reactionVolume(); },
                                    [&settings](double value) { settings.setReactionVolume(value); }}));
    volumes->add(new SettingSlider(QStringLiteral("Cooldown"),
                                   {[&settings] { return settings.cooldown(); },
                                    [&settings](double value) { settings.setCooldown(value); }},
                                   0.2, 1.5, QStringLiteral("s")));
    page->addSection(volumes);

    auto *rows = new SettingsPanel(QStringLiteral("Rows and texts"), QStringLiteral("checklist"));
    rows->add(TextLabels::intro(QStringLiteral("An introduction in the subheadline font.")));
    auto *row = new SwitchRow(QStringLiteral("Keep Bloopy in one spot"),
                              {[&settings] { return settings.petStayPut(); },
                               [&settings](bool on) { settings.setPetStayPut(on); }});
    row->setAccent(accent);
    rows->add(row);
    auto *actions = new QHBoxLayout;
    actions->addWidget(TextLabels::borderedButton(QStringLiteral("arrow.clockwise"), QStringLiteral("Refresh apps")));
    actions->addWidget(new SymbolButton(QStringLiteral("checkmark.circle.fill"), KitStyle::color(ColorRole::green),
                                        QStringLiteral("Done")));
    actions->addWidget(new SymbolButton(QStringLiteral("star.fill"), KitStyle::color(ColorRole::yellow),
                                        QStringLiteral("Priority")));
    actions->addWidget(new SymbolButton(QStringLiteral("star"), KitStyle::color(ColorRole::secondary),
                                        QStringLiteral("Not a priority")));
    actions->addStretch();
    actions->addWidget(TextLabels::hint(QStringLiteral("3 allowed")));
    rows->add(actions);
    auto *presets = new QHBoxLayout;
    for (int minutes : {15, 25, 50, 90}) {
        auto *preset = new ProminentButton(QString(), QStringLiteral("%1m").arg(minutes));
        if (minutes == 25) {
            preset->setTint(accent);
        } else {
            preset->setTint(KitStyle::color(ColorRole::secondary, 0.15));
            preset->setContentColor(KitStyle::color(ColorRole::primary));
        }
        presets->addWidget(preset);
    }
    presets->addStretch();
    auto *start = new ProminentButton(QStringLiteral("play.fill"), QStringLiteral("Start 25-minute session"));
    start->setTint(accent);
    presets->addWidget(start);
    actions = presets;
    rows->add(actions);
    QLabel *error = TextLabels::error();
    TextLabels::setError(error, QStringLiteral("Couldn’t load that library. Your previous sound is unchanged."));
    rows->add(error);
    page->addSection(rows);

    auto *cards = new QWidget;
    auto *grid = new FlowGrid(240, 12, 14, cards);
    auto *toggled = new DashboardCard(QStringLiteral("Typing sounds"), QStringLiteral("Key switches as you type"),
                                      QStringLiteral("keyboard"),
                                      Binding<bool>{[&settings] { return settings.typingEnabled(); },
                                                    [&settings](bool on) { settings.setTypingEnabled(on); }},
                                      [] {});
    toggled->setAccent(accent);
    auto *plain = new DashboardCard(QStringLiteral("Focus"), QStringLiteral("Start a session with a goal"),
                                    QStringLiteral("timer"), std::nullopt, [] {});
    plain->setAccent(accent);
    grid->addWidget(toggled);
    grid->addWidget(plain);
    page->addSection(cards);

    auto *pieces = new SettingsPanel(QStringLiteral("Tiles, chips and swatches"), QStringLiteral("paintpalette"));
    auto *metrics = new QHBoxLayout;
    metrics->addWidget(new MetricTile(QStringLiteral("Keys"), QStringLiteral("12840")));
    metrics->addWidget(new MetricTile(QStringLiteral("Focused"), SettingsText::formatDuration(qint64(3900))));
    metrics->addWidget(new MetricTile(QStringLiteral("Angle"), SettingsText::formatDuration(std::nan(""))));
    pieces->add(metrics);
    auto *pills = new QHBoxLayout;
    auto *live = new StatusPill;
    live->setState(QStringLiteral("Effects live"), QStringLiteral("sparkles"), KitStyle::color(ColorRole::green));
    auto *paused = new StatusPill;
    paused->setState(QStringLiteral("Paused"), QStringLiteral("pause.fill"), KitStyle::color(ColorRole::orange));
    pills->addWidget(live);
    pills->addWidget(paused);
    pills->addWidget(new Spinner);
    pills->addStretch();
    pieces->add(pills);
    auto *tiles = new QHBoxLayout;
    for (const auto &[symbol, title, selected] : {std::tuple{"scope", "Target", true}, std::tuple{"flame.fill", "Flame", false},
                                                  std::tuple{"drop.fill", "Drop", false}}) {
        auto *tile = new SelectableTile(QLatin1String(symbol), QLatin1String(title), SelectableTile::Arrangement::stacked);
        tile->setMinimumHeight(76);
        tile->setSelectionColor(accent);
        tile->setSelected(selected);
        tiles->addWidget(tile);
    }
    pieces->add(tiles);
    auto *chips = new QHBoxLayout;
    chips->setSpacing(8);
    for (const auto &[symbol, title] : {std::pair{"water.waves", "Wave"}, std::pair{"circle.hexagongrid", "Orbit"},
                                        std::pair{"burst.fill", "Burst"}}) {
        auto *chip = new ChipButton(QLatin1String(symbol), QLatin1String(title));
        chip->setSelectionColor(KitStyle::color(ColorRole::cyan, 0.76));
        chip->setSelected(QLatin1String(title) == QLatin1String("Orbit"));
        chips->addWidget(chip);
    }
    pieces->add(chips);
    auto *swatches = new QHBoxLayout;
    for (const QColor &color : {QColor(246, 214, 186), QColor(198, 134, 96), QColor(120, 72, 44)}) {
        auto *swatch = new ColorSwatch(color, QStringLiteral("Tone"));
        swatch->setSelected(color == QColor(198, 134, 96));
        swatches->addWidget(swatch);
    }
    swatches->addStretch();
    pieces->add(swatches);
    auto *picker = new SegmentedPicker(QStringLiteral("Face"), {{QStringLiteral("happy"), QStringLiteral("Happy")},
                                                                {QStringLiteral("sleepy"), QStringLiteral("Sleepy")},
                                                                {QStringLiteral("cheeky"), QStringLiteral("Cheeky")}});
    picker->setAccent(accent);
    picker->setCurrentValue(QStringLiteral("sleepy"));
    pieces->add(picker);
    auto *disclosure = new Disclosure(QStringLiteral("Choose from open apps"));
    disclosure->setExpanded(true);
    auto *apps = new QWidget;
    auto *appGrid = new FlowGrid(170, 9, 9, apps);
    for (const char *name : {"Text Editor", "Terminal", "Files", "A very long application name that stays on one line"}) {
        auto *tile = new SelectableTile(QStringLiteral("circle"), QLatin1String(name), SelectableTile::Arrangement::inlined);
        tile->setContentAlignment(Qt::AlignLeft);
        tile->setSelectionColor(accent);
        appGrid->addWidget(tile);
    }
    disclosure->body()->addWidget(apps);
    pieces->add(disclosure);
    page->addSection(pieces);

    auto *symbols = new SettingsPanel(QStringLiteral("Symbols"), QStringLiteral("sparkles"));
    auto *symbolGrid = new QWidget;
    auto *symbolLayout = new FlowGrid(150, 6, 6, symbolGrid);
    for (const QString &symbol : SymbolIcon::knownSymbols())
        symbolLayout->addWidget(new SymbolLabel(symbol, symbol, KitStyle::font(FontRole::caption2)));
    symbols->add(symbolGrid);
    page->addSection(symbols);
    return page;
}

const SceneRegistrar kit{QStringLiteral("kit/gallery"), [](SceneRig &rig) {
    QWidget *window = gallery(rig);
    window->show();
    rig.settle();
    QWidget *content = static_cast<PageScaffold *>(window)->widget();
    content->resize(760, content->heightForWidth(760));
    rig.captureContent(QStringLiteral("kit/gallery"), content);
    delete window;
}, {QStringLiteral("keyboardVolume=1.8"), QStringLiteral("reactionVolume=0.29")}};

}
