#pragma once

#include <QLabel>

// A one-line label that never cuts through a letter: a text wider than the label ends in an
// ellipsis, and the whole text is its tooltip.
class ElidedLabel final : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(const QString &text = {}, QWidget *parent = nullptr);

    QString fullText() const { return m_fullText; }
    // Changes the label only when the text differs.
    void setFullText(const QString &text);

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void refresh();

    QString m_fullText;
};
