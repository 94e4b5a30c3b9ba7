#pragma once

#include <QWidget>

class QLabel;
class SymbolView;
class QVBoxLayout;

// One page of the onboarding flow: a large accent symbol, a bold title and a centred body
// text 390 px wide, with room below for the page's own buttons.
class OnboardingPageView final : public QWidget {
    Q_OBJECT

public:
    struct Content {
        QString symbol;
        QString title;
        QString text;
    };

    explicit OnboardingPageView(const Content &content, QWidget *parent = nullptr);

    // Each setter changes the widgets only when the value differs.
    void setContent(const Content &content);
    void setAccent(const QColor &accent);
    // Adds a widget or a row below the text.
    void add(QWidget *widget);
    void add(QLayout *layout);

    QString title() const;
    QString text() const;
    QString symbol() const { return m_content.symbol; }

private:
    void refreshIcon();

    Content m_content;
    QColor m_accent;
    SymbolView *m_icon = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_text = nullptr;
    QVBoxLayout *m_layout = nullptr;
};
