#include "Views/Focus/DraftEditor.h"

#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SchemeFollower.h"

#include <QScopedValueRollback>
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
    SchemeFollower::follow(this, [this, cornerRadius] {
        setStyleSheet(QStringLiteral("QPlainTextEdit { background: %1; color: %2; border: 1px solid %3;"
                                     " border-radius: %4px; padding: 6px; }")
                          .arg(KitStyle::color(ColorRole::textBackground).name(),
                               KitStyle::color(ColorRole::primary).name(),
                               KitStyle::color(ColorRole::controlEdge).name(QColor::HexArgb))
                          .arg(cornerRadius));
        setFont(KitStyle::font(FontRole::body));
    });
    // The document announces a change before it lays itself out again.
    connect(document(), &QTextDocument::contentsChange, this, [this] {
        if (!m_wrappingChosen)
            chooseWrapping(toPlainText());
    });
}

void DraftEditor::setDraft(const QString &text)
{
    if (toPlainText() == text)
        return;
    const QSignalBlocker blocker(this);
    chooseWrapping(text);
    // The document announces the emptied text, then the new one.
    const QScopedValueRollback chosen(m_wrappingChosen, true);
    setPlainText(text);
}

// Wrapping between words makes the layout look for the end of a word that does not fit on
// every line it breaks: one pasted run of a hundred thousand characters would take seconds.
// Such text wraps anywhere; ordinary writing keeps whole words together.
void DraftEditor::chooseWrapping(const QString &text)
{
    const QTextOption::WrapMode wanted =
        hasLongWord(text) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != wanted)
        setWordWrapMode(wanted);
}

QSize DraftEditor::sizeHint() const
{
    return {QPlainTextEdit::sizeHint().width(), minimumHeight()};
}
