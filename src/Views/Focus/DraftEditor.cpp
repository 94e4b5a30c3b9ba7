#include "Views/Focus/DraftEditor.h"

#include "Views/Kit/KitStyle.h"

DraftEditor::DraftEditor(const QString &accessibleName, int cornerRadius, int minimumHeight, QWidget *parent)
    : QPlainTextEdit(parent)
{
    setAccessibleName(accessibleName);
    setMinimumHeight(minimumHeight);
    setTabChangesFocus(true);
    setStyleSheet(QStringLiteral("QPlainTextEdit { background: %1; border: 1px solid %2; border-radius: %3px;"
                                 " padding: 6px; }")
                      .arg(KitStyle::color(ColorRole::textBackground).name(),
                           KitStyle::color(ColorRole::secondary, 0.2).name(QColor::HexArgb))
                      .arg(cornerRadius));
    setFont(KitStyle::font(FontRole::body));
}

QSize DraftEditor::sizeHint() const
{
    return {QPlainTextEdit::sizeHint().width(), minimumHeight()};
}
