#include "Views/System/SystemRows.h"

#include "Views/Kit/DividerLine.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/TextLabels.h"

#include <QHBoxLayout>
#include <QPushButton>

QPushButton *SystemRows::previewButton(const QString &symbol, const QString &text, std::function<void()> action,
                                       QWidget *parent)
{
    QPushButton *button = TextLabels::borderedButton(symbol, text, parent);
    QObject::connect(button, &QPushButton::clicked, button, [action = std::move(action)] { action(); });
    return button;
}

QWidget *SystemRows::row(std::initializer_list<QWidget *> widgets, int spacing, QWidget *parent)
{
    auto *container = new QWidget(parent);
    auto *layout = new QHBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget *widget : widgets) {
        if (widget)
            layout->addWidget(widget);
        else
            layout->addStretch(1);
    }
    return container;
}

QWidget *SystemRows::divider(QWidget *parent)
{
    return new DividerLine(parent);
}
