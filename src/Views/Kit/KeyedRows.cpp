#include "Views/Kit/KeyedRows.h"

#include <QLayout>

KeyedRows::KeyedRows(QLayout *layout, QWidget *parent)
    : QWidget(parent)
    , m_layout(layout)
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    setLayout(m_layout);
}

bool KeyedRows::setIds(const QStringList &ids, const Factory &make)
{
    if (ids == m_ids)
        return false;
    for (QWidget *row : std::as_const(m_rows))
        delete row;
    m_rows.clear();
    m_ids = ids;
    for (const QString &id : ids) {
        QWidget *row = make(id);
        m_rows.insert(id, row);
        m_layout->addWidget(row);
    }
    return true;
}
