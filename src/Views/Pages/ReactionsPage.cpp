#include "Views/Pages/ReactionsPage.h"

#include "Views/AppModel.h"
#include "Views/Kit/DividerLine.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/MetricTile.h"
#include "Views/Kit/PackImportBanner.h"
#include "Views/Kit/SettingSlider.h"
#include "Views/Kit/SettingsPanel.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Kit/TextLabels.h"
#include "Views/Kit/VolumeControl.h"
#include "Views/Packs/PackLibraryGrid.h"
#include "Views/Packs/PackSelection.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

}

ReactionsPage::ReactionsPage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
{
    buildReactions();
    buildSession();
    sync();
}

void ReactionsPage::buildReactions()
{
    SettingsStore &settings = app().settings();
    SoundPackManager &packs = app().sound().packs();
    auto *panel = new SettingsPanel(QStringLiteral("Tap Reactions"), QStringLiteral("hand.tap.fill"), this);
    m_sensor = new SymbolLabel(QStringLiteral("xmark.circle"), QString(), KitStyle::font(FontRole::body),
                               ColorRole::secondary, panel);
    panel->add(m_sensor);
    m_enable = new SwitchRow(QStringLiteral("Enable reactions"),
                             {[&settings] { return settings.slapEnabled(); },
                              [&settings](bool on) { settings.setSlapEnabled(on); }},
                             panel);
    panel->add(m_enable);
    panel->add(new DividerLine(panel));
    auto *library = new QLabel(QStringLiteral("Reaction Library"), panel);
    library->setFont(KitStyle::font(FontRole::headline));
    panel->add(library);
    m_grid = new PackLibraryGrid(*AppPackSelection::of(app()), SoundChannel::reaction, panel);
    panel->add(m_grid);
    m_error = TextLabels::error(panel);
    panel->add(m_error);

    auto *buttons = new QHBoxLayout;
    QPushButton *preview = TextLabels::borderedButton(QStringLiteral("play.fill"), QStringLiteral("Preview Selected"), panel);
    connect(preview, &QPushButton::clicked, this, [this] { app().sound().previewReaction(); });
    // Loose audio files chosen here become a new reaction pack.
    m_import = TextLabels::borderedButton(QStringLiteral("square.and.arrow.down"), QStringLiteral("Import Audio or Pack…"),
                                          panel);
    connect(m_import, &QPushButton::clicked, this, [&packs] { packs.importPack(SoundPackManager::PackKind::reaction); });
    buttons->addWidget(preview);
    buttons->addWidget(m_import);
    buttons->addStretch(1);
    panel->add(buttons);
    m_banner = new PackImportBanner(packs, panel);
    panel->add(m_banner);
    panel->add(new DividerLine(panel));

    addTuning(panel);
    addSection(panel);
}

void ReactionsPage::addTuning(SettingsPanel *panel)
{
    SettingsStore &settings = app().settings();
    m_sensitivity = new SettingSlider(QStringLiteral("Sensitivity"),
                                      {[&settings] { return settings.sensitivity(); },
                                       [&settings](double value) { settings.setSensitivity(value); }},
                                      0, 1, QString(), panel);
    panel->add(m_sensitivity);
    m_cooldown = new SettingSlider(QStringLiteral("Cooldown"),
                                   {[&settings] { return settings.cooldown(); },
                                    [&settings](double value) { settings.setCooldown(value); }},
                                   0.2, 1.5, QStringLiteral("s"), panel);
    panel->add(m_cooldown);
    m_volume = new VolumeControl(QStringLiteral("Reaction volume"),
                                 {[&settings] { return settings.reactionVolume(); },
                                  [&settings](double value) { settings.setReactionVolume(value); }},
                                 panel);
    panel->add(m_volume);
    // The same setting as the Sounds page's loudness switch.
    m_loudness = new SwitchRow(QStringLiteral("Match loudness across reaction packs"),
                               {[&settings] { return settings.normalizePackVolume(); },
                                [&settings](bool on) { settings.setNormalizePackVolume(on); }},
                               panel);
    panel->add(m_loudness);
    panel->add(TextLabels::hint(QStringLiteral("Each tap plays one complete reaction. A new tap replaces the current "
                                               "sound instead of stacking over it. Use light taps only—there is no "
                                               "need to hit your computer hard."),
                                panel));
}

void ReactionsPage::buildSession()
{
    auto *panel = new SettingsPanel(QStringLiteral("This Session"), QStringLiteral("chart.bar.fill"), this);
    auto *row = new QHBoxLayout;
    for (const QString &caption : {QStringLiteral("Tap count"), QStringLiteral("Hardest impact"), QStringLiteral("Dispatch delay")}) {
        m_tiles.append(new MetricTile(caption, QString(), panel));
        row->addWidget(m_tiles.last(), 1);
    }
    panel->add(row);
    addSection(panel);
}

void ReactionsPage::sync()
{
    const QColor accentColor = accent();
    SoundController &sound = app().sound();
    const ImpactController &impacts = app().input().impacts();

    const bool sensor = impacts.hardwareDetected();
    m_sensor->setSymbol(sensor ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("xmark.circle"));
    m_sensor->setText(sensor ? QStringLiteral("Impact sensor detected") : QStringLiteral("Impact sensor unavailable"));
    m_sensor->setColor(KitStyle::color(sensor ? ColorRole::green : ColorRole::secondary));
    Bind::enabled(m_enable, sensor);
    for (SwitchRow *row : {m_enable, m_loudness}) {
        row->setAccent(accentColor);
        row->sync();
    }
    m_grid->sync(sound.packs().reactionPacks(), accentColor);
    TextLabels::setError(m_error, sound.audioError(SoundChannel::reaction));
    Bind::enabled(m_import, !sound.packs().isImporting());
    m_banner->sync();
    m_sensitivity->sync();
    m_cooldown->sync();
    m_volume->sync();

    m_tiles[0]->setValue(QString::number(impacts.sessionCount()));
    m_tiles[1]->setValue(QString::asprintf("%.3f g", impacts.hardestImpact()));
    m_tiles[2]->setValue(QString::asprintf("%.2f ms", impacts.estimatedLatencyMS()));
}
