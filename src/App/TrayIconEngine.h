#pragma once

#include <QColor>
#include <QIcon>
#include <QIconEngine>
#include <QString>

// The tray icon: the application's one-colour symbolic artwork drawn in a given ink, the
// panel's text colour. A tray host that loads icons by name is given "<id>-symbolic" when it
// is installed in the hicolor theme, and tints it to its panel itself.
class TrayIconEngine final : public QIconEngine {
public:
    static QIcon icon(const QColor &ink);

    TrayIconEngine(QColor ink, QString themeName);

    QIconEngine *clone() const override;
    QString key() const override;
    QString iconName() override;
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;

private:
    QImage render(const QSize &size) const;

    QColor m_ink;
    QString m_themeName;
};
