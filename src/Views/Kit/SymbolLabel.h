#pragma once

#include "Views/Kit/KitStyle.h"

#include <QWidget>

#include <optional>

class QLabel;

// A symbol followed by a text ("label with SF Symbol"): both in one colour and font.
class SymbolLabel final : public QWidget {
    Q_OBJECT

public:
    SymbolLabel(const QString &symbol, const QString &text, const QFont &font, ColorRole color = ColorRole::primary,
                QWidget *parent = nullptr);

    // Each setter changes the widget only when the value differs. A colour set here stays
    // when the scheme changes; the role given at construction follows it.
    void setSymbol(const QString &symbol);
    void setText(const QString &text);
    void setColor(const QColor &color);
    QString text() const;
    QString symbol() const { return m_symbol; }

private:
    void refreshIcon();

    QLabel *m_icon = nullptr;
    QLabel *m_text = nullptr;
    QString m_symbol;
    QColor m_color;
    std::optional<ColorRole> m_role;
};
