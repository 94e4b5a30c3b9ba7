#include "Views/Pages/SoundsPage.h"

#include "Platform/AppShell.h"
#include "Views/AppModel.h"
#include "Views/Kit/DividerLine.h"
#include "Views/Kit/FlowGrid.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/PackImportBanner.h"
#include "Views/Kit/SettingSlider.h"
#include "Views/Kit/SettingsPanel.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/TextLabels.h"
#include "Views/Kit/VolumeControl.h"
#include "Views/Packs/PackLibraryGrid.h"
#include "Views/Packs/PackSelection.h"
#include "Views/Pages/TypingActivity.h"
#include "Views/SettingsViewState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

QLabel *headline(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(KitStyle::font(FontRole::headline));
    return label;
}

// A caption-sized, medium-weight label with its symbol.
QWidget *activityLabel(const QString &symbol, QLabel *&text, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *icon = new QLabel(box);
    icon->setPixmap(SymbolIcon::icon(symbol, KitStyle::color(ColorRole::primary)).pixmap(12, 12));
    text = new QLabel(box);
    text->setFont(KitStyle::font(FontRole::caption, QFont::Medium));
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(icon);
    layout->addWidget(text);
    return box;
}

}

SoundsPage::SoundsPage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
{
    buildActivity();
    buildTypingSounds();
    buildMouse();
    sync();
}

void SoundsPage::buildActivity()
{
    SettingsStore &settings = app().settings();
    auto *panel = new SettingsPanel(QStringLiteral("Typing Activity"), QStringLiteral("chart.bar.fill"), this);
    m_switches.append(new SwitchRow(QStringLiteral("Count keystrokes and clicks"),
                                    {[&settings] { return settings.interactionStatsEnabled(); },
                                     [&settings](bool on) { settings.setInteractionStatsEnabled(on); }},
                                    panel));
    // The HUD shows only with statistics on, so it reads on only when both are, and turning
    // it on turns statistics on first; turning it off leaves statistics as they are.
    m_switches.append(new SwitchRow(QStringLiteral("Show transparent typing HUD"),
                                    {[&settings] { return settings.interactionStatsEnabled() && settings.statsOverlayEnabled(); },
                                     [&settings](bool on) {
                                         if (on)
                                             settings.setInteractionStatsEnabled(true);
                                         settings.setStatsOverlayEnabled(on);
                                     }},
                                    panel));
    panel->add(m_switches[0]);
    panel->add(m_switches[1]);

    m_activity = new QWidget(panel);
    auto *row = new QHBoxLayout;
    row->setSpacing(16);
    row->addWidget(activityLabel(QStringLiteral("keyboard"), m_keys, m_activity));
    row->addWidget(activityLabel(QStringLiteral("cursorarrow.click"), m_clicks, m_activity));
    row->addStretch(1);
    m_wordsPerMinute = new QLabel(m_activity);
    m_wordsPerMinute->setFont(KitStyle::font(FontRole::caption, QFont::Medium));
    m_wordsPerMinute->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // A fixed readout frame keeps the row still while the digits change.
    m_wordsPerMinute->setMinimumWidth(QFontMetrics(m_wordsPerMinute->font()).horizontalAdvance(QStringLiteral("0000 wpm")));
    row->addWidget(m_wordsPerMinute);
    m_levelBar = new QProgressBar(m_activity);
    m_levelBar->setRange(0, 1000);
    m_levelBar->setTextVisible(false);
    m_levelBar->setFixedHeight(6);
    m_levelBar->setAccessibleName(QStringLiteral("Progress to Bloopy’s next level"));
    m_remaining = TextLabels::hint(QString(), m_activity);
    auto *block = new QVBoxLayout(m_activity);
    block->setContentsMargins(0, 0, 0, 0);
    block->addLayout(row);
    block->addWidget(m_levelBar);
    block->addWidget(m_remaining);
    panel->add(m_activity);
    panel->add(TextLabels::hint(QStringLiteral("Drag the HUD anywhere or hide it from the panel. It briefly shows the "
                                               "last key; hide it when entering secrets."),
                                panel));
    addSection(panel);
}

void SoundsPage::buildTypingSounds()
{
    SettingsStore &settings = app().settings();
    SoundPackManager &packs = app().sound().packs();
    auto *panel = new SettingsPanel(QStringLiteral("Typing Sounds"), QStringLiteral("keyboard.fill"), this);
    m_switches.append(new SwitchRow(QStringLiteral("Enable typing sounds"),
                                    {[&settings] { return settings.typingEnabled(); },
                                     [&settings](bool on) { settings.setTypingEnabled(on); }},
                                    panel));
    panel->add(m_switches.last());
    panel->add(new DividerLine(panel));
    panel->add(headline(QStringLiteral("Sound Library"), panel));
    m_typingGrid = new PackLibraryGrid(*AppPackSelection::of(app()), SoundChannel::keyboard, panel);
    panel->add(m_typingGrid);
    m_keyboardError = TextLabels::error(panel);
    panel->add(m_keyboardError);

    addPackButtons(panel);
    m_banner = new PackImportBanner(packs, panel);
    panel->add(m_banner);
    panel->add(new DividerLine(panel));

    addPlaybackTuning(panel);
    addSection(panel);
}

void SoundsPage::addPackButtons(SettingsPanel *panel)
{
    SoundPackManager &packs = app().sound().packs();
    QPushButton *preview = TextLabels::borderedButton(QStringLiteral("play.fill"), QStringLiteral("Preview Selected"), panel);
    connect(preview, &QPushButton::clicked, this, [this] { app().sound().previewKeyboard(); });
    m_import = TextLabels::borderedButton(QStringLiteral("square.and.arrow.down"), QStringLiteral("Import Pack…"), panel);
    connect(m_import, &QPushButton::clicked, this, [&packs] { packs.importPack(SoundPackManager::PackKind::keyboard); });
    QPushButton *show = TextLabels::borderedButton(QStringLiteral("folder"), QStringLiteral("Show Packs"), panel);
    // The library root holds both the keyboard and the reaction folders.
    auto *notOpened = TextLabels::error(panel);
    notOpened->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(show, &QPushButton::clicked, this, [this, &packs, notOpened] {
        const QString root = packs.libraryRoot();
        TextLabels::setError(notOpened, app().openFolder(root) ? std::nullopt
                                                               : std::optional(AppShell::folderNotOpenedText(root)));
    });
    QPushButton *studio = TextLabels::borderedButton(QStringLiteral("waveform"), QStringLiteral("Sound Studio…"), panel);
    connect(studio, &QPushButton::clicked, this, [this] { state().setClipStudioPresented(true); });
    // One row when the window is wide enough, two rows of two in a narrow one.
    int widest = 0;
    for (QPushButton *button : {preview, m_import, show, studio})
        widest = std::max(widest, button->sizeHint().width());
    auto *buttons = new QWidget(panel);
    auto *grid = new FlowGrid(widest, 6, 6, buttons);
    grid->setRows(FlowGrid::Rows::balanced);
    grid->setContentsMargins(0, 0, 0, 0);
    for (QPushButton *button : {preview, m_import, show, studio})
        grid->addWidget(button);
    panel->add(buttons);
    panel->add(notOpened);
}

void SoundsPage::addPlaybackTuning(SettingsPanel *panel)
{
    SettingsStore &settings = app().settings();
    m_volumes.append(new VolumeControl(QStringLiteral("Keyboard volume"),
                                       {[&settings] { return settings.keyboardVolume(); },
                                        [&settings](double value) { settings.setKeyboardVolume(value); }},
                                       panel));
    panel->add(m_volumes.last());
    m_switches.append(new SwitchRow(QStringLiteral("Match loudness across sound packs"),
                                    {[&settings] { return settings.normalizePackVolume(); },
                                     [&settings](bool on) { settings.setNormalizePackVolume(on); }},
                                    panel));
    panel->add(m_switches.last());
    m_switches.append(new SwitchRow(QStringLiteral("Physical stereo positioning"),
                                    {[&settings] { return settings.stereoEnabled(); },
                                     [&settings](bool on) { settings.setStereoEnabled(on); }},
                                    panel));
    panel->add(m_switches.last());
    m_sliders.append(new SettingSlider(QStringLiteral("Pitch variation"),
                                       {[&settings] { return settings.pitchVariation(); },
                                        [&settings](double value) { settings.setPitchVariation(value); }},
                                       0, 0.06, QString(), panel));
    panel->add(m_sliders.last());
    panel->add(TextLabels::hint(QStringLiteral("Pitch variation adds tiny per-key changes in playback speed, so "
                                               "repeated keys feel less robotic."),
                                panel));
    m_sliders.append(new SettingSlider(QStringLiteral("Volume variation"),
                                       {[&settings] { return settings.volumeVariation(); },
                                        [&settings](double value) { settings.setVolumeVariation(value); }},
                                       0, 0.15, QString(), panel));
    panel->add(m_sliders.last());
    panel->add(TextLabels::hint(QStringLiteral("Volume variation makes each hit slightly softer or louder while "
                                               "keeping the selected pack’s overall level matched."),
                                panel));
}

void SoundsPage::buildMouse()
{
    SettingsStore &settings = app().settings();
    auto *panel = new SettingsPanel(QStringLiteral("Mouse"), QStringLiteral("computermouse.fill"), this);
    m_switches.append(new SwitchRow(QStringLiteral("Enable mouse sounds"),
                                    {[&settings] { return settings.mouseEnabled(); },
                                     [&settings](bool on) { settings.setMouseEnabled(on); }},
                                    panel));
    panel->add(m_switches.last());
    panel->add(headline(QStringLiteral("Click Sound Library"), panel));
    m_clickGrid = new PackLibraryGrid(*AppPackSelection::of(app()), SoundChannel::mouse, panel);
    panel->add(m_clickGrid);
    panel->add(TextLabels::hint(QStringLiteral("Every keyboard library works for clicks. Dedicated mouse samples take "
                                               "priority; otherwise the pack’s regular sound is used, or its first "
                                               "assigned press sound."),
                                panel));
    auto *row = new QHBoxLayout;
    QPushButton *preview = TextLabels::borderedButton(QStringLiteral("play.fill"), QStringLiteral("Preview Click"), panel);
    connect(preview, &QPushButton::clicked, this, [this] { app().sound().previewMouse(); });
    row->addWidget(preview);
    row->addStretch(1);
    panel->add(row);
    m_volumes.append(new VolumeControl(QStringLiteral("Mouse volume"),
                                       {[&settings] { return settings.mouseVolume(); },
                                        [&settings](double value) { settings.setMouseVolume(value); }},
                                       panel));
    panel->add(m_volumes.last());
    m_mouseError = TextLabels::error(panel);
    panel->add(m_mouseError);
    addSection(panel);
}

void SoundsPage::sync()
{
    const SettingsStore &settings = app().settings();
    SoundController &sound = app().sound();
    const QColor accentColor = accent();
    for (SwitchRow *row : std::as_const(m_switches)) {
        row->setAccent(accentColor);
        row->sync();
    }
    for (VolumeControl *volume : std::as_const(m_volumes))
        volume->sync();
    for (SettingSlider *slider : std::as_const(m_sliders))
        slider->sync();

    const bool counting = settings.interactionStatsEnabled();
    Bind::visible(m_activity, counting);
    if (counting) {
        const InteractionSnapshot snapshot = app().input().interactionSnapshot();
        Bind::text(m_keys, TypingActivity::count(snapshot.keys, QStringLiteral("keys")));
        Bind::text(m_clicks, TypingActivity::count(snapshot.clicks, QStringLiteral("clicks")));
        Bind::text(m_wordsPerMinute, TypingActivity::wordsPerMinute(snapshot.keysPerMinute));
        const TypingActivity::LevelProgress progress = TypingActivity::levelProgress(snapshot.keys);
        if (m_levelBar->value() != progress.perMille)
            m_levelBar->setValue(progress.perMille);
        Bind::text(m_remaining, TypingActivity::remainingText(progress.remaining));
    }

    const QList<LoadedSoundPack> keyboardPacks = sound.packs().keyboardPacks();
    m_typingGrid->sync(keyboardPacks, accentColor);
    m_clickGrid->sync(keyboardPacks, accentColor);
    TextLabels::setError(m_keyboardError, sound.audioError(SoundChannel::keyboard));
    TextLabels::setError(m_mouseError, sound.audioError(SoundChannel::mouse));
    Bind::enabled(m_import, !sound.packs().isImporting());
    m_banner->sync();
}
