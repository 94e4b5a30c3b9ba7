#include "Views/Packs/PackCard.h"

#include "Views/Kit/Bind.h"
#include "Views/Kit/ElidedLabel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SettingsText.h"
#include "Views/Kit/Spinner.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/SymbolView.h"
#include "Views/Kit/TextLabels.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {

constexpr int padding = 11;
constexpr int symbolPixels = 18;
constexpr int markSize = 16;

// Takes the mouse only to tell a cut text in its tooltip: presses pass on to the card.
ElidedLabel *textLabel(FontRole role, ColorRole color, QWidget *parent)
{
    auto *label = new ElidedLabel(QString(), parent);
    label->setFont(KitStyle::font(role, role == FontRole::subheadline ? std::optional(QFont::DemiBold) : std::nullopt));
    TextLabels::tint(label, color);
    // Inside a button a label would draw with the button's text colour instead.
    label->setForegroundRole(QPalette::WindowText);
    return label;
}

}

PackCard::PackCard(QWidget *parent)
    : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    m_icon = new SymbolView(symbolPixels, this);
    m_mark = new SymbolView(markSize, this);
    m_spinner = new Spinner(14, this);
    m_spinner->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_spinner->hide();
    m_name = textLabel(FontRole::subheadline, ColorRole::primary, this);
    m_detail = textLabel(FontRole::caption2, ColorRole::secondary, this);
    m_detail->setMaximumLines(2);
    // Every card keeps room for two detail lines, so a row of cards lines up.
    m_detail->setFixedHeight(QFontMetrics(m_detail->font())
                                 .boundingRect(QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX),
                                               int(Qt::AlignLeft | Qt::AlignTop), QStringLiteral("Ag\nAg"))
                                 .height());

    auto *top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(m_icon);
    top->addStretch(1);
    top->addWidget(m_spinner);
    top->addWidget(m_mark);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(7);
    layout->addLayout(top);
    layout->addWidget(m_name);
    layout->addWidget(m_detail);
    layout->addStretch(1);
    setMinimumHeight(70 + 2 * padding);
}

void PackCard::setPack(const LoadedSoundPack &pack)
{
    const SoundPackManifest &manifest = pack.manifest;
    if (manifest == m_manifest && m_icon->hasIcon())
        return;
    m_manifest = manifest;
    m_icon->setIcon(SymbolIcon::icon(SettingsText::packIcon(manifest.id), ColorRole::primary));
    m_detailText = detail(manifest);
    const QString tip = manifest.switchType + QStringLiteral(" \u00B7 ") + manifest.license;
    setToolTip(tip);
    setAccessibleName(manifest.name);
    setAccessibleDescription(tip);
    m_name->setFullText(manifest.name);
    m_detail->setFullText(m_detailText);
}

void PackCard::setState(bool selected, bool pending, const QColor &accent)
{
    if (selected == m_selected && pending == m_pending && accent == m_accent && m_mark->hasIcon())
        return;
    m_selected = selected;
    m_pending = pending;
    m_accent = accent;
    m_spinner->setColor(accent);
    refreshMark();
    update();
}

QString PackCard::detailText() const
{
    return m_detailText;
}

QString PackCard::detail(const SoundPackManifest &manifest)
{
    if (manifest.metadata) {
        if (const auto found = manifest.metadata->find(QStringLiteral("description")); found != manifest.metadata->end())
            return found->second;
    }
    return manifest.switchType;
}

void PackCard::refreshMark()
{
    Bind::visible(m_spinner, m_pending);
    Bind::visible(m_mark, !m_pending);
    // The check stands out from the card's accent tint in the scheme of the moment.
    m_mark->setIcon(m_selected ? SymbolIcon::icon(QStringLiteral("checkmark.circle.fill"),
                                                  [accent = m_accent] { return KitStyle::tintedTile(accent, 0.1).ink; })
                               : SymbolIcon::icon(QStringLiteral("circle"), ColorRole::secondary));
}

void PackCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal line = m_selected ? 1.5 : 1.0;
    const QRectF box = QRectF(rect()).adjusted(line / 2, line / 2, -line / 2, -line / 2);
    QPainterPath path;
    path.addRoundedRect(box, 12, 12);
    painter.fillPath(path, m_selected ? KitStyle::withOpacity(m_accent, 0.1) : KitStyle::color(ColorRole::controlBackground));
    painter.setPen(QPen(m_selected ? KitStyle::withOpacity(m_accent, 0.8) : KitStyle::color(ColorRole::secondary, 0.2), line));
    painter.drawPath(path);
}
