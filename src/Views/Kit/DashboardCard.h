#pragma once

#include "Views/Kit/Bind.h"
#include "Views/Kit/CardFrame.h"

#include <optional>

class QAbstractButton;
class QLabel;
class SwitchToggle;

// The Home page's status card: an accent icon tile, title and subtitle (two lines at most);
// the whole row runs `action`. With `enabled` the card ends in a switch bound to it,
// otherwise in a chevron.
class DashboardCard final : public CardFrame {
    Q_OBJECT

public:
    DashboardCard(const QString &title, const QString &subtitle, const QString &symbol,
                  std::optional<Binding<bool>> enabled, std::function<void()> action, QWidget *parent = nullptr);

    void setSubtitle(const QString &subtitle);
    void setAccent(const QColor &accent);
    // Shows the bound switch state; does nothing for a card without a switch.
    void sync();

    QAbstractButton *rowButton() const { return m_row; }
    SwitchToggle *toggle() const { return m_toggle; }

private:
    void refreshIcon();

    QString m_symbol;
    std::optional<Binding<bool>> m_enabled;
    QAbstractButton *m_row = nullptr;
    CardFrame *m_iconTile = nullptr;
    QLabel *m_icon = nullptr;
    QLabel *m_subtitle = nullptr;
    SwitchToggle *m_toggle = nullptr;
    QColor m_accent;
};
