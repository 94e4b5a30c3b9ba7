#include "Views/Focus/DraftEditor.h"

#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SchemeFollower.h"

DraftEditor::DraftEditor(const QString &accessibleName, int cornerRadius, int minimumHeight, QWidget *parent)
    : QPlainTextEdit(parent)
{
    setAccessibleName(accessibleName);
    setMinimumHeight(minimumHeight);
    setTabChangesFocus(true);
    SchemeFollower::follow(this, [this, cornerRadius] {
        setStyleSheet(QStringLiteral("QPlainTextEdit { background: %1; color: %2; border: 1px solid %3;"
                                     " border-radius: %4px; padding: 6px; }")
                          .arg(KitStyle::color(ColorRole::textBackground).name(),
                               KitStyle::color(ColorRole::primary).name(),
                               KitStyle::color(ColorRole::controlEdge).name(QColor::HexArgb))
                          .arg(cornerRadius));
        setFont(KitStyle::font(FontRole::body));
    });
}

QSize DraftEditor::sizeHint() const
{
    return {QPlainTextEdit::sizeHint().width(), minimumHeight()};
}
