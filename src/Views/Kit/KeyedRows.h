#pragma once

#include <QHash>
#include <QStringList>
#include <QWidget>

#include <functional>

class QLayout;

// Rows (or tiles) keyed by identifier, rebuilt only when the list of identifiers changes, so
// a sync that finds the same list keeps every row widget (and a field in it keeps its focus
// and text); the page then refreshes each row's values through row(). The layout decides the
// arrangement: a QVBoxLayout for a list, a FlowGrid for tiles.
class KeyedRows final : public QWidget {
    Q_OBJECT

public:
    using Factory = std::function<QWidget *(const QString &id)>;

    // Takes ownership of `layout`.
    explicit KeyedRows(QLayout *layout, QWidget *parent = nullptr);

    // Rebuilds with `make` when `ids` differ from the current list; returns whether it did.
    bool setIds(const QStringList &ids, const Factory &make);
    const QStringList &ids() const { return m_ids; }
    QWidget *row(const QString &id) const { return m_rows.value(id); }

private:
    QLayout *m_layout;
    QStringList m_ids;
    QHash<QString, QWidget *> m_rows;
};
