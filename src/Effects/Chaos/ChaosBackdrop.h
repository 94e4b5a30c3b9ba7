#pragma once

#include "Effects/Chaos/ChaosScreen.h"

#include <QImage>
#include <QRectF>
#include <QString>

#include <vector>

// The desktop picture fitted to one screen of a run, scaled once so each frame only copies it.
struct ChaosBackdrop {
    QImage picture;
    QRectF frame; // y-up, from the screen's visible frame's origin

    // The picture fitted to each screen, in screen order; empty for a null picture.
    static std::vector<ChaosBackdrop> fit(const QImage &image, const std::vector<ChaosScreen> &screens);
    // Reads and decodes the picture first; empty when there is no readable picture. A large
    // picture takes long: run it off the interface thread.
    static std::vector<ChaosBackdrop> load(const QString &pictureFile, const std::vector<ChaosScreen> &screens);
};
