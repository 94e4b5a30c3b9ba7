#include "Views/Panel/PanelToyMenu.h"

#include "Effects/ScreenToys/ScreenToyController.h"
#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/TextLabels.h"
#include "Views/Toys/ToyBlocking.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QIcon menuIcon(const QString &symbol)
{
    return SymbolIcon::icon(symbol, KitStyle::color(ColorRole::primary));
}

// How to put the toy in hand away, as far as Esc reaches.
QString exitHint(ScreenToyController::EscapeReach reach)
{
    switch (reach) {
    case ScreenToyController::EscapeReach::desktop: return QStringLiteral("Clicks pass through · Esc to exit");
    case ScreenToyController::EscapeReach::ownWindows:
        return QStringLiteral("Clicks pass through · Esc exits in Plinkly’s windows");
    case ScreenToyController::EscapeReach::none: return QStringLiteral("Clicks pass through · Stop Screen Toy to exit");
    }
    return {};
}
}

PanelToyMenu::PanelToyMenu(AppModel &app, QWidget *parent)
    : PanelSection(app, parent)
{
    // The pull-down arrow inside the border, centred on the right, with room kept for it.
    m_button = TextLabels::borderedButton(QStringLiteral("cursorarrow.motionlines"), QStringLiteral("Screen Toys"), this,
                                          ColorRole::primary,
                                          QStringLiteral("QPushButton { padding-right: 26px; }"
                                                         "QPushButton::menu-indicator { subcontrol-origin: padding;"
                                                         " subcontrol-position: right center; right: 9px; width: 9px;"
                                                         " height: 9px; }"));
    m_menu = new QMenu(m_button);
    for (ScreenToyKind kind : allCases<ScreenToyKind>()) {
        QAction *action = m_menu->addAction(menuIcon(ScreenToyKinds::symbolName(kind)), ScreenToyKinds::title(kind));
        // Checked again at the click: the menu may have been open while a session started.
        connect(action, &QAction::triggered, this, [this, kind] {
            if (!ToyBlocking::isBlocked(this->app()))
                this->app().screenToys().equip(kind);
        });
        m_toyActions.insert(kind, action);
    }
    m_menu->addSeparator();
    m_controls = m_menu->addAction(menuIcon(QStringLiteral("slider.horizontal.3")), QStringLiteral("Toy controls…"));
    connect(m_controls, &QAction::triggered, this, [this] {
        closePanel();
        this->app().showControlPanel(SettingsPage::toys);
    });
    m_stop = m_menu->addAction(menuIcon(QStringLiteral("stop.fill")), QStringLiteral("Stop Screen Toy"));
    connect(m_stop, &QAction::triggered, this, [this] { this->app().screenToys().stop(); });
    m_button->setMenu(m_menu);
    rows()->addWidget(m_button);

    m_hint = new QLabel(this);
    m_hint->setFont(KitStyle::font(FontRole::caption2));
    TextLabels::tint(m_hint, ColorRole::secondary);
    rows()->addWidget(m_hint);
}

void PanelToyMenu::sync()
{
    const std::optional<ScreenToyKind> toy = app().screenToys().activeToy();
    const bool blocked = ToyBlocking::isBlocked(app());
    const QString label = toy ? QStringLiteral("Screen Toy: ") + ScreenToyKinds::title(*toy) : QStringLiteral("Screen Toys");
    if (m_button->text() != label) {
        m_button->setText(label);
        m_button->setAccessibleName(label);
    }
    Bind::enabled(m_button, !blocked || toy);
    if (toy != m_shownToy) {
        m_shownToy = toy;
        for (auto it = m_toyActions.cbegin(); it != m_toyActions.cend(); ++it)
            it.value()->setIcon(menuIcon(toy == it.key() ? QStringLiteral("checkmark") : ScreenToyKinds::symbolName(it.key())));
    }
    for (QAction *action : m_toyActions)
        action->setEnabled(!blocked);
    m_controls->setEnabled(!blocked);
    m_stop->setEnabled(toy.has_value());
    Bind::text(m_hint, exitHint(app().screenToys().escapeReach()));
    Bind::visible(m_hint, toy.has_value());
}
