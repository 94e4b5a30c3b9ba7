#pragma once

#include <QPlainTextEdit>

// A multi-line draft: body font, 6 px inside a rounded text-background box, at least
// `minimumHeight` tall. Its text is whatever the user types; no length limit.
class DraftEditor final : public QPlainTextEdit {
    Q_OBJECT

public:
    DraftEditor(const QString &accessibleName, int cornerRadius, int minimumHeight, QWidget *parent = nullptr);

    // Starts at its minimum height instead of the scroll area's tall default.
    QSize sizeHint() const override;

private:
    void chooseWrapping();
};
