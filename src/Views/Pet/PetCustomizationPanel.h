#pragma once

#include "Views/Kit/SettingsPanel.h"

class AppModel;
class Disclosure;
class QLabel;
class QLineEdit;
class QPushButton;
class SegmentedPicker;
class SettingsViewState;
class SwitchRow;

// "Bloopy": the pet's name and level, stay-put, its colour, face and accessory, and a way
// back when it is hidden. It only edits settings; the pet follows them.
class PetCustomizationPanel final : public SettingsPanel {
    Q_OBJECT

public:
    PetCustomizationPanel(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync(const QColor &accent);

private:
    void nameEdited(const QString &text);
    void nameSubmitted();

    AppModel &m_app;
    SettingsViewState &m_state;
    QLineEdit *m_name = nullptr;
    QLabel *m_level = nullptr;
    SwitchRow *m_stayPut = nullptr;
    Disclosure *m_appearance = nullptr;
    SegmentedPicker *m_color = nullptr;
    SegmentedPicker *m_face = nullptr;
    SegmentedPicker *m_accessory = nullptr;
    QPushButton *m_show = nullptr;
    QColor m_levelColor;
};
