#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Restyles a widget whose style sheet or palette holds kit colours when the application
// palette changes (the desktop switched between light and dark).
class SchemeFollower final : public QObject {
    Q_OBJECT

public:
    // Runs `restyle` now and after every change of the application palette, while `widget` lives.
    static void follow(QWidget *widget, std::function<void()> restyle);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    SchemeFollower(QWidget *widget, std::function<void()> restyle);

    std::function<void()> m_restyle;
    qint64 m_palette = 0;
};
