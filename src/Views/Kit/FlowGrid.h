#pragma once

#include <QLayout>
#include <QList>

// A grid whose column count adapts to its width: as many columns of at least
// `minimumColumnWidth` as fit (at least one), sharing the width equally, filled row by row.
// Its height follows its width, so a scroll area never needs a horizontal bar.
class FlowGrid final : public QLayout {
    Q_OBJECT

public:
    // How rows are filled when the items need more than one: each as full as it can be, or
    // evened out (four items three to a row become two rows of two), the items then sharing
    // the whole width.
    enum class Rows { filled, balanced };
    // Whether fewer items than the width has columns for keep their columns, or widen to
    // share the whole row instead of leaving columns empty.
    enum class FewItems { keepColumns, widen };

    FlowGrid(int minimumColumnWidth, int columnSpacing, int rowSpacing, QWidget *parent = nullptr);
    ~FlowGrid() override;

    // How many columns a width holds.
    int columnsFor(int width) const;
    void setRows(Rows rows) { m_rows = rows; }
    void setFewItems(FewItems fewItems) { m_fewItems = fewItems; }

    void addItem(QLayoutItem *item) override;
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect &rect) override;

private:
    int arrange(const QRect &rect, bool apply) const;
    int columnsFor(int width, qsizetype itemCount) const;

    QList<QLayoutItem *> m_items;
    int m_minimumColumnWidth;
    int m_columnSpacing;
    int m_rowSpacing;
    Rows m_rows = Rows::filled;
    FewItems m_fewItems = FewItems::keepColumns;
};
