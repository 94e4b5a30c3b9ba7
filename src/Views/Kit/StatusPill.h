#pragma once

#include "Views/Kit/CardFrame.h"

class SymbolLabel;

// A capsule with a symbol and a short text in one colour, on that colour at 8 % opacity
// with a faint outline (the header's status pills).
class StatusPill final : public CardFrame {
    Q_OBJECT

public:
    explicit StatusPill(QWidget *parent = nullptr);

    // Changes only what differs.
    void setState(const QString &text, const QString &symbol, const QColor &color);
    QString text() const;
    QColor color() const { return m_color; }

private:
    SymbolLabel *m_label = nullptr;
    QColor m_color;
};
