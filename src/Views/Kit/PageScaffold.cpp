#include "Views/Kit/PageScaffold.h"

#include <QCoreApplication>
#include <QVBoxLayout>

PageScaffold::PageScaffold(QWidget *parent)
    : QScrollArea(parent)
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *content = new QWidget;
    content->setAutoFillBackground(false);
    m_column = new QVBoxLayout(content);
    m_column->setContentsMargins(20, 20, 20, 20);
    m_column->setSpacing(16);
    m_column->addStretch(1);
    setWidget(content);
    viewport()->setAutoFillBackground(false);
}

void PageScaffold::settle()
{
    m_column->activate();
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(this, &request);
}

void PageScaffold::addSection(QWidget *section)
{
    m_column->insertWidget(m_column->count() - 1, section);
}

void PageScaffold::addSection(QLayout *section)
{
    m_column->insertLayout(m_column->count() - 1, section);
}
