#include "Views/Toys/ToyBlocking.h"

#include "Views/AppModel.h"

bool ToyBlocking::isBlocked(AppModel &app)
{
    return reason(app.settings().effectsPaused(), app.focusController().session().isActive()).has_value();
}

std::optional<QString> ToyBlocking::reason(bool effectsPaused, bool focusActive)
{
    if (focusActive)
        return QStringLiteral("Toys are paused during focus sessions.");
    if (effectsPaused)
        return QStringLiteral("Resume effects to use toys.");
    return std::nullopt;
}
