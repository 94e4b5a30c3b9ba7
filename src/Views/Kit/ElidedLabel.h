#pragma once

#include <QLabel>

// A label that never cuts through a letter: its text wraps onto at most `maximumLines` lines
// (one unless set), and when more remains the last line ends in an ellipsis and the whole
// text becomes its tooltip.
class ElidedLabel final : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(const QString &text = {}, QWidget *parent = nullptr);

    QString fullText() const { return m_fullText; }
    // Changes the label only when the text differs.
    void setFullText(const QString &text);
    void setMaximumLines(int lines);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return m_maximumLines > 1; }
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Fitted {
        QString text;
        bool cut = false;
    };
    Fitted fit(int width) const;
    void refresh();

    QString m_fullText;
    int m_maximumLines = 1;
};
