#include "Views/Kit/DashboardCard.h"

#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SchemeFollower.h"
#include "Views/Kit/SwitchToggle.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/SymbolView.h"
#include "Views/Kit/TextLabels.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// A button drawn by its children; the labels inside ignore the mouse, so the whole row clicks.
class RowButton final : public QAbstractButton {
public:
    using QAbstractButton::QAbstractButton;

protected:
    void paintEvent(QPaintEvent *) override {}
};

}

DashboardCard::DashboardCard(const QString &title, const QString &subtitle, const QString &symbol,
                             std::optional<Binding<bool>> enabled, std::function<void()> action, QWidget *parent)
    : CardFrame(15, Tone{ColorRole::controlBackground}, Tone{ColorRole::secondary, 0.15}, parent)
    , m_symbol(symbol)
    , m_enabled(std::move(enabled))
    , m_accent(KitStyle::color(ColorRole::primary))
{
    setMinimumHeight(78);
    m_row = new RowButton(this);
    m_row->setAccessibleName(title);
    m_row->setCursor(Qt::PointingHandCursor);
    m_row->setMinimumHeight(50);
    connect(m_row, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });

    m_iconTile = new CardFrame(10, Qt::transparent, Qt::transparent, m_row);
    m_iconTile->setFixedSize(40, 40);
    m_icon = new QLabel(m_iconTile);
    m_icon->setGeometry(0, 0, 40, 40);
    m_icon->setAlignment(Qt::AlignCenter);

    auto *titleLabel = new QLabel(title, m_row);
    titleLabel->setFont(KitStyle::font(FontRole::headline));
    m_subtitle = new QLabel(subtitle, m_row);
    m_subtitle->setFont(KitStyle::font(FontRole::caption));
    m_subtitle->setWordWrap(true);
    m_subtitle->setMaximumHeight(QFontMetrics(m_subtitle->font()).lineSpacing() * 2 + 2);
    TextLabels::tint(m_subtitle, ColorRole::secondary);
    // Title and subtitle stay 3 apart, centred together, however tall the row is.
    auto *texts = new QVBoxLayout;
    texts->setSpacing(3);
    texts->addStretch(1);
    texts->addWidget(titleLabel);
    texts->addWidget(m_subtitle);
    texts->addStretch(1);

    auto *rowLayout = new QHBoxLayout(m_row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->setSpacing(13);
    rowLayout->addWidget(m_iconTile);
    rowLayout->addLayout(texts, 1);
    rowLayout->addSpacing(4);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(0);
    layout->addWidget(m_row, 1);
    if (m_enabled) {
        m_toggle = new SwitchToggle(title, this);
        layout->addSpacing(8);
        layout->addWidget(m_toggle);
        connect(m_toggle, &QAbstractButton::toggled, this, [this](bool on) { m_enabled->set(on); });
    } else {
        auto *chevron = new SymbolView(14, m_row);
        chevron->setIcon(SymbolIcon::icon(QStringLiteral("chevron.right"), ColorRole::tertiary));
        rowLayout->addWidget(chevron);
    }
    // The symbol's ink depends on the card beneath it, which changes with the scheme.
    SchemeFollower::follow(m_iconTile, [this] { refreshIcon(); });
    sync();
}

void DashboardCard::setSubtitle(const QString &subtitle)
{
    Bind::text(m_subtitle, subtitle);
}

void DashboardCard::setAccent(const QColor &accent)
{
    if (accent == m_accent)
        return;
    m_accent = accent;
    refreshIcon();
    if (m_toggle)
        m_toggle->setAccent(accent);
}

void DashboardCard::sync()
{
    if (m_enabled)
        Bind::checked(m_toggle, m_enabled->get());
}

void DashboardCard::refreshIcon()
{
    const KitStyle::TintedTile tile = KitStyle::tintedTile(m_accent, 0.09);
    m_iconTile->setFill(tile.fill);
    m_icon->setPixmap(SymbolIcon::icon(m_symbol, tile.ink).pixmap(19, 19));
}
