#include "Views/OnboardingWindow.h"

#include "Views/Kit/WindowPlacement.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

OnboardingWindow::OnboardingWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Welcome to Plinkly"));
    setObjectName(QStringLiteral("onboardingWindow"));

    auto *title = new QLabel(QStringLiteral("Welcome to Plinkly"), this);
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    title->setFont(font);
    auto *start = new QPushButton(QStringLiteral("Get Started"), this);
    start->setDefault(true);
    connect(start, &QPushButton::clicked, this, &OnboardingWindow::getStartedClicked);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 28, 28, 28);
    layout->addWidget(title);
    layout->addStretch();
    layout->addWidget(start, 0, Qt::AlignRight);
    setFixedSize(520, 420);
}

void OnboardingWindow::centerOnScreen()
{
    WindowPlacement::centerOnScreen(this);
}

void OnboardingWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    emit shown();
}
