#pragma once

#include <QLayout>
#include <QList>

// A grid whose column count adapts to its width: as many columns of at least
// `minimumColumnWidth` as fit (at least one), sharing the width equally, filled row by row.
// Its height follows its width, so a scroll area never needs a horizontal bar.
class FlowGrid final : public QLayout {
    Q_OBJECT

public:
    FlowGrid(int minimumColumnWidth, int columnSpacing, int rowSpacing, QWidget *parent = nullptr);
    ~FlowGrid() override;

    // How many columns a width holds.
    int columnsFor(int width) const;

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

    QList<QLayoutItem *> m_items;
    int m_minimumColumnWidth;
    int m_columnSpacing;
    int m_rowSpacing;
};
