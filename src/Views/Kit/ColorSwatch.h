#pragma once

#include <QAbstractButton>

// A round colour swatch, 28 px across in a 38×38 clickable square; when selected a white
// ring and a white checkmark sit over it.
class ColorSwatch final : public QAbstractButton {
    Q_OBJECT

public:
    ColorSwatch(const QColor &color, const QString &accessibleName, QWidget *parent = nullptr);

    // Shown as the checked state, which clicks never change on their own.
    void setSelected(bool selected);
    bool isSelected() const { return isChecked(); }
    QSize sizeHint() const override { return {38, 38}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void nextCheckState() override {}

private:
    QColor m_color;
};
