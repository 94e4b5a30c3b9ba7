#include "Views/Kit/SegmentedPicker.h"

#include "Views/Kit/KitStyle.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

SegmentedPicker::SegmentedPicker(const QString &label, const QList<Option> &options, QWidget *parent)
    : QWidget(parent)
    , m_options(options)
    , m_group(new QButtonGroup(this))
{
    setAccessibleName(label);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (!label.isEmpty()) {
        auto *title = new QLabel(label, this);
        title->setFont(KitStyle::font(FontRole::body));
        title->setMinimumWidth(80);
        layout->addWidget(title);
        layout->addSpacing(8);
    }
    for (int index = 0; index < options.size(); ++index) {
        auto *segment = new QPushButton(options[index].second, this);
        segment->setCheckable(true);
        segment->setFont(KitStyle::font(FontRole::callout));
        segment->setAccessibleName(options[index].second);
        segment->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        const bool first = index == 0;
        const bool last = index == options.size() - 1;
        segment->setProperty("segment", first && last ? "only" : first ? "first" : last ? "last" : "middle");
        m_group->addButton(segment, index);
        layout->addWidget(segment, 1);
    }
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int index) { emit chosen(m_options[index].first); });
    setAccent(KitStyle::color(ColorRole::primary));
}

void SegmentedPicker::setCurrentValue(const QString &value)
{
    int index = 0;
    for (int candidate = 0; candidate < m_options.size(); ++candidate) {
        if (m_options[candidate].first == value)
            index = candidate;
    }
    QAbstractButton *button = m_group->button(index);
    if (button && !button->isChecked()) {
        const QSignalBlocker blocker(m_group);
        button->setChecked(true);
    }
}

QString SegmentedPicker::currentValue() const
{
    const int index = m_group->checkedId();
    return index >= 0 ? m_options[index].first : QString();
}

void SegmentedPicker::setAccent(const QColor &accent)
{
    // One rounded control: the outer segments round their outer corners, neighbours share a
    // single border line.
    const QString style = QStringLiteral(
        "QPushButton { border: 1px solid %1; border-left: none; background: %2; padding: 4px 10px; margin: 0;"
        " border-radius: 0; }"
        "QPushButton[segment=\"first\"] { border-left: 1px solid %1; border-top-left-radius: 6px;"
        " border-bottom-left-radius: 6px; }"
        "QPushButton[segment=\"last\"] { border-top-right-radius: 6px; border-bottom-right-radius: 6px; }"
        "QPushButton[segment=\"only\"] { border-left: 1px solid %1; border-radius: 6px; }"
        "QPushButton:checked { background: %3; color: white; border-color: %3; }"
        "QPushButton:disabled { color: %4; }"
        "QPushButton:checked:disabled { background: %5; border-color: %5; }")
        .arg(KitStyle::color(ColorRole::secondary, 0.35).name(QColor::HexArgb),
             KitStyle::color(ColorRole::controlBackground).name(), accent.name(),
             KitStyle::color(ColorRole::tertiary).name(QColor::HexArgb),
             KitStyle::withOpacity(accent, 0.4).name(QColor::HexArgb));
    if (styleSheet() != style)
        setStyleSheet(style);
}
