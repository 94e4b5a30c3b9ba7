#include "Effects/ScreenToys/ScreenToyHandTone.h"

namespace ScreenToyHandTones {
QColor color(ScreenToyHandTone tone)
{
    switch (tone) {
    case ScreenToyHandTone::original:
        return QColor::fromRgbF(0.78f, 0.57f, 0.44f);
    case ScreenToyHandTone::light:
        return QColor::fromRgbF(0.92f, 0.72f, 0.59f);
    case ScreenToyHandTone::tan:
        return QColor::fromRgbF(0.66f, 0.43f, 0.29f);
    case ScreenToyHandTone::brown:
        return QColor::fromRgbF(0.48f, 0.29f, 0.18f);
    case ScreenToyHandTone::deep:
        return QColor::fromRgbF(0.30f, 0.17f, 0.11f);
    }
    return {};
}
}
