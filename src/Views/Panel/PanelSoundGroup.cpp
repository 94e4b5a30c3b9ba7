#include "Views/Panel/PanelSoundGroup.h"

#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Panel/PanelPackPicker.h"
#include "Views/Panel/PanelSliderRow.h"

#include <QVBoxLayout>

namespace {

template <typename T>
Binding<T> bind(SettingsStore &settings, T (SettingsStore::*get)() const, void (SettingsStore::*set)(T))
{
    return {[&settings, get] { return (settings.*get)(); }, [&settings, set](T value) { (settings.*set)(value); }};
}

}

PanelSoundGroup::PanelSoundGroup(AppModel &app, QWidget *parent)
    : PanelSection(app, parent)
{
    SettingsStore &s = app.settings();
    auto addSwitch = [this](const QString &title, Binding<bool> value) {
        auto *row = new SwitchRow(title, std::move(value), this);
        m_switches.append(row);
        rows()->addWidget(row);
        return row;
    };
    auto addSlider = [this](PanelSliderRow *row) {
        m_sliders.append(row);
        rows()->addWidget(row);
        return row;
    };
    auto addPicker = [this, &app](const QString &title, SoundChannel channel) {
        auto *picker = new PanelPackPicker(app, title, channel, this);
        m_pickers.append(picker);
        rows()->addWidget(picker);
    };

    addSwitch(QStringLiteral("Typing Sounds"), bind(s, &SettingsStore::typingEnabled, &SettingsStore::setTypingEnabled));
    addPicker(QStringLiteral("Sound Pack"), SoundChannel::keyboard);
    addSlider(PanelSliderRow::volume(QStringLiteral("Keyboard Volume"),
                                     bind(s, &SettingsStore::keyboardVolume, &SettingsStore::setKeyboardVolume), this));
    addSwitch(QStringLiteral("Mouse Sounds"), bind(s, &SettingsStore::mouseEnabled, &SettingsStore::setMouseEnabled));
    m_mouseVolume = addSlider(PanelSliderRow::volume(QStringLiteral("Mouse Volume"),
                                                     bind(s, &SettingsStore::mouseVolume, &SettingsStore::setMouseVolume), this));
    rows()->addWidget(divider(this));
    m_taps = addSwitch(QStringLiteral("Tap Reactions"), bind(s, &SettingsStore::slapEnabled, &SettingsStore::setSlapEnabled));
    m_noSensor = new SymbolLabel(QStringLiteral("exclamationmark.triangle"), QStringLiteral("Impact sensor unavailable"),
                                 KitStyle::font(FontRole::caption), ColorRole::secondary, this);
    rows()->addWidget(m_noSensor);
    addPicker(QStringLiteral("Reaction Pack"), SoundChannel::reaction);
    addSlider(PanelSliderRow::plain(QStringLiteral("Sensitivity"),
                                    bind(s, &SettingsStore::sensitivity, &SettingsStore::setSensitivity), 0.0, 1.0, this));
    addSlider(PanelSliderRow::volume(QStringLiteral("Reaction Volume"),
                                     bind(s, &SettingsStore::reactionVolume, &SettingsStore::setReactionVolume), this));
    addSlider(PanelSliderRow::plain(QStringLiteral("Cooldown"),
                                    bind(s, &SettingsStore::cooldown, &SettingsStore::setCooldown), 0.2, 1.5, this));
}

void PanelSoundGroup::sync()
{
    const SettingsStore &settings = app().settings();
    Bind::enabled(this, !settings.effectsPaused());
    const QColor tint = accent();
    for (SwitchRow *row : m_switches) {
        row->setAccent(tint);
        row->sync();
    }
    for (PanelSliderRow *row : m_sliders)
        row->sync();
    for (PanelPackPicker *picker : m_pickers)
        picker->sync();
    Bind::visible(m_mouseVolume, settings.mouseEnabled());
    const bool sensor = app().input().impacts().hardwareDetected();
    Bind::enabled(m_taps, sensor);
    Bind::visible(m_noSensor, !sensor);
}
