#pragma once

#include <QWidget>

class QToolButton;
class QVBoxLayout;

// A titled group whose content shows only while expanded; the chevron header toggles it.
// setExpanded() only shows; `expandedChanged` fires when the user toggles.
class Disclosure final : public QWidget {
    Q_OBJECT

public:
    explicit Disclosure(const QString &title, QWidget *parent = nullptr);

    QVBoxLayout *body() const { return m_body; }
    void setExpanded(bool expanded);
    bool isExpanded() const;

signals:
    void expandedChanged(bool expanded);

private:
    void refresh();

    QToolButton *m_header = nullptr;
    QWidget *m_content = nullptr;
    QVBoxLayout *m_body = nullptr;
};
