#include "Views/Onboarding/OnboardingPageView.h"

#include "Foundation/Contrast.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/SymbolView.h"
#include "Views/Kit/TextLabels.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int symbolSize = 54;
constexpr int textWidth = 390;
constexpr int inset = 12;
}

OnboardingPageView::OnboardingPageView(const Content &content, QWidget *parent)
    : QWidget(parent)
    , m_content(content)
    , m_accent(KitStyle::color(ColorRole::primary))
{
    m_icon = new SymbolView(symbolSize, this);
    m_title = new QLabel(content.title, this);
    m_title->setFont(KitStyle::font(FontRole::title2, QFont::Bold));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setWordWrap(true);
    m_text = new QLabel(content.text, this);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignCenter);
    // A fixed width lets the wrapped text ask for the height it needs.
    m_text->setFixedWidth(textWidth);
    TextLabels::tint(m_text, ColorRole::secondary);

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(inset, inset, inset, inset);
    m_layout->setSpacing(16);
    m_layout->addStretch(1);
    m_layout->addWidget(m_icon, 0, Qt::AlignHCenter);
    m_layout->addWidget(m_title);
    m_layout->addWidget(m_text, 0, Qt::AlignHCenter);
    m_layout->addStretch(1);
    refreshIcon();
}

void OnboardingPageView::setContent(const Content &content)
{
    Bind::text(m_title, content.title);
    Bind::text(m_text, content.text);
    if (content.symbol != m_content.symbol) {
        m_content.symbol = content.symbol;
        refreshIcon();
    }
    m_content = content;
}

void OnboardingPageView::setAccent(const QColor &accent)
{
    if (accent == m_accent)
        return;
    m_accent = accent;
    refreshIcon();
}

void OnboardingPageView::add(QWidget *widget)
{
    m_layout->insertWidget(m_layout->count() - 1, widget, 0, Qt::AlignHCenter);
}

void OnboardingPageView::add(QLayout *layout)
{
    m_layout->insertLayout(m_layout->count() - 1, layout);
}

QString OnboardingPageView::title() const
{
    return m_title->text();
}

QString OnboardingPageView::text() const
{
    return m_text->text();
}

void OnboardingPageView::refreshIcon()
{
    // The accent as a mark that stands out from the window in the scheme of the moment.
    m_icon->setIcon(
        SymbolIcon::icon(m_content.symbol, [accent = m_accent] { return KitStyle::readable(accent, Contrast::large); }));
}
