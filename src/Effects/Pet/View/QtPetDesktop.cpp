#include "Effects/Pet/View/QtPetDesktop.h"

#include "Foundation/ScreenGeometry.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace {
PetScreen petScreen(const QScreen &screen, qreal primaryHeight)
{
    return {ScreenGeometry::fromQt(QRectF(screen.geometry()), primaryHeight),
            ScreenGeometry::fromQt(QRectF(screen.availableGeometry()), primaryHeight)};
}
}

std::vector<PetScreen> QtPetDesktop::screens() const
{
    const qreal primaryHeight = ScreenGeometry::primaryScreenHeight();
    std::vector<PetScreen> result;
    for (const QScreen *screen : QGuiApplication::screens())
        result.push_back(petScreen(*screen, primaryHeight));
    return result;
}

std::optional<PetScreen> QtPetDesktop::mainScreen() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    return petScreen(*screen, ScreenGeometry::primaryScreenHeight());
}

QPointF QtPetDesktop::pointer() const
{
    return ScreenGeometry::fromQt(QPointF(QCursor::pos()), ScreenGeometry::primaryScreenHeight());
}
