#include "App/TrayIconEngine.h"

#include "Foundation/ApplicationId.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStandardPaths>
#include <QSvgRenderer>

QIcon TrayIconEngine::icon(const QColor &ink)
{
    // Where the installation puts it and the tray host, reading the data folders, looks for it.
    const QString name = applicationId + QStringLiteral("-symbolic");
    const bool installed = !QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                   QStringLiteral("icons/hicolor/symbolic/apps/%1.svg").arg(name))
                                .isEmpty();
    return QIcon(new TrayIconEngine(ink, installed ? name : QString()));
}

TrayIconEngine::TrayIconEngine(QColor ink, QString themeName)
    : m_ink(std::move(ink))
    , m_themeName(std::move(themeName))
{
}

QIconEngine *TrayIconEngine::clone() const
{
    return new TrayIconEngine(m_ink, m_themeName);
}

QString TrayIconEngine::key() const
{
    return QStringLiteral("PlinklyTray");
}

QString TrayIconEngine::iconName()
{
    return m_themeName;
}

void TrayIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawImage(rect, render(rect.size() * ratio));
}

QPixmap TrayIconEngine::pixmap(const QSize &size, QIcon::Mode, QIcon::State)
{
    return QPixmap::fromImage(render(size));
}

QSize TrayIconEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State)
{
    return size;
}

QImage TrayIconEngine::render(const QSize &size) const
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer artwork(QStringLiteral(":/icons/") + applicationId + QStringLiteral("-symbolic.svg"));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    artwork.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    // Every painted pixel takes the ink, keeping its coverage.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), m_ink);
    return image;
}
