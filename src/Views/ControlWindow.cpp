#include "Views/ControlWindow.h"

#include "Views/Kit/WindowPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

ControlWindow::ControlWindow(SettingsPage page)
    : QWidget(nullptr, Qt::Window)
{
    setWindowTitle(QStringLiteral("Plinkly"));
    setObjectName(QStringLiteral("controlWindow"));
    resize(760, 680);
    setMinimumSize(620, 500);

    m_pageBar = new QListWidget(this);
    m_pageBar->setFixedWidth(160);
    for (SettingsPage page : allCases<SettingsPage>())
        m_pageBar->addItem(rawValue(page));

    m_title = new QLabel(this);
    QFont font = m_title->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    m_title->setFont(font);

    auto *content = new QVBoxLayout;
    content->setContentsMargins(20, 20, 20, 20);
    content->addWidget(m_title);
    content->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pageBar);
    layout->addLayout(content, 1);

    connect(m_pageBar, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        const SettingsPage page = allCases<SettingsPage>()[std::size_t(row)];
        showPage(page);
        emit pageChosen(page);
    });
    showPage(page);
}

void ControlWindow::centerOnScreen()
{
    WindowPlacement::centerOnScreen(this);
}

void ControlWindow::showPage(SettingsPage page)
{
    m_page = page;
    m_title->setText(rawValue(page));
    const auto cases = allCases<SettingsPage>();
    const int row = int(std::find(cases.begin(), cases.end(), page) - cases.begin());
    if (m_pageBar->currentRow() != row)
        m_pageBar->setCurrentRow(row);
}
