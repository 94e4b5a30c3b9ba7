#include "Platform/DesktopIconLocator.h"

std::optional<bool> DesktopIconLocator::Sight::found() const
{
    if (!positions.isEmpty())
        return true;
    if (look == Look::finished)
        return false;
    return std::nullopt;
}
