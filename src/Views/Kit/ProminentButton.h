#pragma once

#include <QPushButton>

// A filled ("bordered-prominent") button: white symbol and text on its tint, the accent by
// default; presets show their state by their tint (accent when chosen, faint gray otherwise).
class ProminentButton final : public QPushButton {
    Q_OBJECT

public:
    ProminentButton(const QString &symbol, const QString &text, QWidget *parent = nullptr);

    // Each setter repaints only when the value differs.
    void setSymbol(const QString &symbol);
    void setTint(const QColor &tint);
    // A faint tint draws primary-coloured content instead of white.
    void setContentColor(const QColor &color);

private:
    void restyle();

    QString m_symbol;
    QColor m_tint;
    QColor m_content = Qt::white;
};
