#pragma once

#include "Effects/ScreenToys/ScreenToyHandTone.h"

#include <QHash>
#include <QWidget>

class ColorSwatch;
class SettingsStore;

// "Hands" and one swatch per skin tone of the toys' artwork; a swatch stores its tone.
// A stored tone that names none leaves every swatch unselected.
class HandTonePicker final : public QWidget {
    Q_OBJECT

public:
    explicit HandTonePicker(SettingsStore &settings, QWidget *parent = nullptr);

    void sync();
    ColorSwatch *swatch(ScreenToyHandTone tone) const { return m_swatches.value(tone); }

private:
    SettingsStore &m_settings;
    QHash<ScreenToyHandTone, ColorSwatch *> m_swatches;
};
