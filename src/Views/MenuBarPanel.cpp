#include "Views/MenuBarPanel.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

MenuBarPanel::MenuBarPanel()
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("menuBarPanel"));
    auto *title = new QLabel(QStringLiteral("Plinkly"), this);
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    auto *quit = new QPushButton(QStringLiteral("Quit"), this);
    connect(quit, &QPushButton::clicked, qApp, &QCoreApplication::quit);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->addWidget(title);
    layout->addWidget(quit);
    setFixedWidth(240);
}

void MenuBarPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    emit shown();
}
