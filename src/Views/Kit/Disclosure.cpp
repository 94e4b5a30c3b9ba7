#include "Views/Kit/Disclosure.h"

#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolIcon.h"

#include <QToolButton>
#include <QVBoxLayout>

Disclosure::Disclosure(const QString &title, QWidget *parent)
    : QWidget(parent)
{
    m_header = new QToolButton(this);
    m_header->setText(title);
    m_header->setAccessibleName(title);
    m_header->setCheckable(true);
    m_header->setAutoRaise(true);
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setIconSize(QSize(12, 12));
    m_header->setFont(KitStyle::font(FontRole::body));
    m_header->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 2px 0; }"));
    m_content = new QWidget(this);
    m_body = new QVBoxLayout(m_content);
    m_body->setContentsMargins(0, 6, 0, 0);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header, 0, Qt::AlignLeft);
    layout->addWidget(m_content);
    connect(m_header, &QToolButton::toggled, this, [this](bool expanded) {
        refresh();
        emit expandedChanged(expanded);
    });
    refresh();
}

void Disclosure::setExpanded(bool expanded)
{
    if (expanded == isExpanded())
        return;
    const QSignalBlocker blocker(m_header);
    m_header->setChecked(expanded);
    refresh();
}

bool Disclosure::isExpanded() const
{
    return m_header->isChecked();
}

void Disclosure::refresh()
{
    const bool expanded = isExpanded();
    m_header->setIcon(SymbolIcon::icon(expanded ? QStringLiteral("chevron.down") : QStringLiteral("chevron.right"),
                                       KitStyle::color(ColorRole::secondary)));
    m_content->setVisible(expanded);
}
