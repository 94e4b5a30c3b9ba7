#pragma once

#include "Foundation/RawEnum.h"

#include <QColor>
#include <QRectF>

class QPainter;

// The small symbols the pet draws on its badges, capsule and menu; the raw value is the
// symbol's name.
enum class PetGlyph {
    cameraFill,
    shippingboxFill,
    boltFill,
    sparkles,
    starFill,
    pauseFill,
    timer,
    waveform,
    heartFill,
    brainHeadProfile,
    cupAndSaucer,
    stopCircle,
    checklist,
    keyboard,
    handTap,
    playCircle,
    sliderHorizontal3,
    arrowDownToLine,
    camera,
    bolt,
    heartTextSquare,
    mappin,
    figureWalk,
    paintpalette,
    gearshape,
    eyeSlash,
    pauseCircle,
    chevronLeftCircleFill,
    xmarkCircleFill,
};

template <>
struct RawEnumTable<PetGlyph> {
    static constexpr std::array entries{
        RawEnumEntry{PetGlyph::cameraFill, "camera.fill"},
        RawEnumEntry{PetGlyph::shippingboxFill, "shippingbox.fill"},
        RawEnumEntry{PetGlyph::boltFill, "bolt.fill"},
        RawEnumEntry{PetGlyph::sparkles, "sparkles"},
        RawEnumEntry{PetGlyph::starFill, "star.fill"},
        RawEnumEntry{PetGlyph::pauseFill, "pause.fill"},
        RawEnumEntry{PetGlyph::timer, "timer"},
        RawEnumEntry{PetGlyph::waveform, "waveform"},
        RawEnumEntry{PetGlyph::heartFill, "heart.fill"},
        RawEnumEntry{PetGlyph::brainHeadProfile, "brain.head.profile"},
        RawEnumEntry{PetGlyph::cupAndSaucer, "cup.and.saucer"},
        RawEnumEntry{PetGlyph::stopCircle, "stop.circle"},
        RawEnumEntry{PetGlyph::checklist, "checklist"},
        RawEnumEntry{PetGlyph::keyboard, "keyboard"},
        RawEnumEntry{PetGlyph::handTap, "hand.tap"},
        RawEnumEntry{PetGlyph::playCircle, "play.circle"},
        RawEnumEntry{PetGlyph::sliderHorizontal3, "slider.horizontal.3"},
        RawEnumEntry{PetGlyph::arrowDownToLine, "arrow.down.to.line"},
        RawEnumEntry{PetGlyph::camera, "camera"},
        RawEnumEntry{PetGlyph::bolt, "bolt"},
        RawEnumEntry{PetGlyph::heartTextSquare, "heart.text.square"},
        RawEnumEntry{PetGlyph::mappin, "mappin"},
        RawEnumEntry{PetGlyph::figureWalk, "figure.walk"},
        RawEnumEntry{PetGlyph::paintpalette, "paintpalette"},
        RawEnumEntry{PetGlyph::gearshape, "gearshape"},
        RawEnumEntry{PetGlyph::eyeSlash, "eye.slash"},
        RawEnumEntry{PetGlyph::pauseCircle, "pause.circle"},
        RawEnumEntry{PetGlyph::chevronLeftCircleFill, "chevron.left.circle.fill"},
        RawEnumEntry{PetGlyph::xmarkCircleFill, "xmark.circle.fill"},
    };
};

namespace PetGlyphs {
// Draws the symbol fitted into `square` (its height sets the size) in one colour.
void draw(QPainter &painter, PetGlyph glyph, const QRectF &square, const QColor &color);
}
