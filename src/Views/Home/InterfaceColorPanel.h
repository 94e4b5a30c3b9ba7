#pragma once

#include "Views/Kit/SettingsPanel.h"

#include <QList>

class AppModel;
class ThemeSwatchButton;

// "Interface color": one swatch per theme; choosing one stores its identifier, and the whole
// window takes the new accent.
class InterfaceColorPanel final : public SettingsPanel {
    Q_OBJECT

public:
    explicit InterfaceColorPanel(AppModel &app, QWidget *parent = nullptr);

    void sync();

private:
    AppModel &m_app;
    QList<ThemeSwatchButton *> m_swatches;
};
