#pragma once

#include "Views/Kit/CardFrame.h"

class QVBoxLayout;
class SymbolLabel;

// The titled section card every page stacks: the title with its symbol in the headline
// font, then the content, 12 px apart, 16 px padding, on the control background with a
// faint border. Pages add their rows to body().
class SettingsPanel : public CardFrame {
    Q_OBJECT

public:
    SettingsPanel(const QString &title, const QString &symbol, QWidget *parent = nullptr);

    QVBoxLayout *body() const { return m_body; }
    // Adds a widget (or a row layout) below the others.
    void add(QWidget *widget);
    void add(QLayout *layout);

private:
    QVBoxLayout *m_body = nullptr;
};
