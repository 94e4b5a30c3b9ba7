#include "Views/Home/InterfaceColorPanel.h"

#include "Views/AppModel.h"
#include "Views/Home/ThemeSwatchButton.h"

#include <QHBoxLayout>

InterfaceColorPanel::InterfaceColorPanel(AppModel &app, QWidget *parent)
    : SettingsPanel(QStringLiteral("Interface color"), QStringLiteral("paintpalette"), parent)
    , m_app(app)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    for (InterfaceTheme theme : allCases<InterfaceTheme>()) {
        auto *swatch = new ThemeSwatchButton(theme, this);
        connect(swatch, &QAbstractButton::clicked, this,
                [this, theme] { m_app.settings().setInterfaceThemeID(rawValue(theme)); });
        row->addWidget(swatch, 1);
        m_swatches.append(swatch);
    }
    add(row);
}

void InterfaceColorPanel::sync()
{
    // An identifier that names no theme selects the first one.
    const auto selected = fromRawOrFirst<InterfaceTheme>(m_app.settings().interfaceThemeID());
    for (ThemeSwatchButton *swatch : m_swatches)
        swatch->setSelected(swatch->theme() == selected);
}
