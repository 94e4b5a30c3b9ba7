#pragma once

#include <QAbstractButton>

// A plain button drawn as a rounded tile with a symbol and a one-line title: white content
// on the selection colour (the accent unless set) when selected, primary content on the
// control background otherwise. `stacked` puts the symbol above the title (toy tiles),
// `inline` beside it (app tiles, chips).
class SelectableTile : public QAbstractButton {
    Q_OBJECT

public:
    enum class Arrangement { stacked, inlined };

    SelectableTile(const QString &symbol, const QString &title, Arrangement arrangement, QWidget *parent = nullptr);

    // Each setter repaints only when the value differs.
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }
    void setSymbol(const QString &symbol);
    void setSelectionColor(const QColor &color);
    void setCornerRadius(qreal radius);
    void setContentAlignment(Qt::Alignment alignment);
    void setPadding(int padding);
    void setSymbolSize(int pixels);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
    Arrangement m_arrangement;
    bool m_selected = false;
    QColor m_selectionColor;
    qreal m_radius = 10;
    Qt::Alignment m_alignment = Qt::AlignCenter;
    int m_padding = 9;
    int m_symbolSize = 16;
};
