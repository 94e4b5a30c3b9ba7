#pragma once

#include "Models/SettingsPage.h"

#include <QVariantAnimation>
#include <QWidget>

#include <array>

class PageBarButton;

// The row of seven page buttons; the shown page is drawn in the accent with an underline
// that slides to a newly shown page.
class PageBar final : public QWidget {
    Q_OBJECT

public:
    explicit PageBar(QWidget *parent = nullptr);

    void setPage(SettingsPage page);
    void setAccent(const QColor &accent);
    // The symbol of a page's button.
    static QString symbol(SettingsPage page);

signals:
    void pageClicked(SettingsPage page);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *selectedButton() const;

    std::array<PageBarButton *, 7> m_buttons{};
    QVariantAnimation m_slide;
    QRectF m_highlight;
    SettingsPage m_page = SettingsPage::home;
    QColor m_accent;
};
