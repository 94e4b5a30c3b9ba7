#include "Views/Focus/DraftEditor.h"

#include "Views/Kit/KitStyle.h"

#include <QTextDocument>

namespace {
// Longer runs without a space are broken anywhere (see chooseWrapping).
constexpr qsizetype longestWord = 200;

bool hasLongWord(const QString &text)
{
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > longestWord)
            return true;
    }
    return false;
}
}

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
    // The document announces a change before it lays itself out again.
    connect(document(), &QTextDocument::contentsChange, this, &DraftEditor::chooseWrapping);
}

// Wrapping between words makes the layout look for the end of a word that does not fit on
// every line it breaks: one pasted run of a hundred thousand characters would take seconds.
// Such text wraps anywhere; ordinary writing keeps whole words together.
void DraftEditor::chooseWrapping()
{
    const QTextOption::WrapMode wanted =
        hasLongWord(toPlainText()) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != wanted)
        setWordWrapMode(wanted);
}

QSize DraftEditor::sizeHint() const
{
    return {QPlainTextEdit::sizeHint().width(), minimumHeight()};
}
