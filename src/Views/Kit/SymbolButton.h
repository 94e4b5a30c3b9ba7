#pragma once

#include "Foundation/Appearance.h"

#include <QToolButton>

// A plain button that is only a tinted symbol (a task's tick, a star, a remove cross).
class SymbolButton final : public QToolButton {
    Q_OBJECT

public:
    SymbolButton(const QString &symbol, const QColor &tint, const QString &accessibleName, int size = 16,
                 QWidget *parent = nullptr);
    // In the role's colour of the scheme of the moment.
    SymbolButton(const QString &symbol, ColorRole role, const QString &accessibleName, int size = 16,
                 QWidget *parent = nullptr);

    // Redraws only when symbol or tint differ.
    void setSymbol(const QString &symbol, const QColor &tint);

private:
    SymbolButton(const QString &accessibleName, int size, QWidget *parent);

    QString m_symbol;
    QColor m_tint;
};
