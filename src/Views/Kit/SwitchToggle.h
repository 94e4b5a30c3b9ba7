#pragma once

#include <QAbstractButton>

// A switch-style toggle (a track with a sliding knob), filled with the accent when on. Its
// text is its accessible name only; nothing is drawn beside it.
class SwitchToggle final : public QAbstractButton {
    Q_OBJECT

public:
    explicit SwitchToggle(const QString &accessibleName, QWidget *parent = nullptr);

    void setAccent(const QColor &accent);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_accent;
};
