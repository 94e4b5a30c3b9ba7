#pragma once

#include <QPlainTextEdit>

// A multi-line draft: body font, 6 px inside a rounded text-background box, at least
// `minimumHeight` tall. Its text is whatever the user types; no length limit.
class DraftEditor final : public QPlainTextEdit {
    Q_OBJECT

public:
    DraftEditor(const QString &accessibleName, int cornerRadius, int minimumHeight, QWidget *parent = nullptr);

    // Replaces the text without announcing it. The wrapping is chosen first: choosing it once
    // the text is in lays the whole text out a second time.
    void setDraft(const QString &text);
    // Starts at its minimum height instead of the scroll area's tall default.
    QSize sizeHint() const override;

private:
    void chooseWrapping(const QString &text);

    bool m_wrappingChosen = false;
};
