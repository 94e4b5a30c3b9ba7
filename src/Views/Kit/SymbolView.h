#pragma once

#include <QIcon>
#include <QWidget>

// A symbol on its own (a card's picture, a speaker beside a slider, a selection mark), drawn
// from its icon each time the widget paints: an icon whose ink follows the scheme shows the
// scheme of the moment, where a picture kept by a label would keep the old one.
class SymbolView final : public QWidget {
    Q_OBJECT

public:
    SymbolView(int side, QWidget *parent = nullptr);

    void setIcon(const QIcon &icon);
    bool hasIcon() const { return !m_icon.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QIcon m_icon;
};
