#include "App/LaunchOrder.h"

#include "App/AppController.h"
#include "App/AppWindows.h"

#include <memory>

namespace LaunchOrder {

void start(AppController &controller, AppWindows &windows)
{
    // A copy that did not start (another one runs) shows nothing of its own.
    if (!controller.startListening())
        return;
    const auto showTheRest = [&controller, &windows] {
        controller.start();
        windows.showTray();
    };
    if (!controller.pendingSoundPackIDs().contains(SoundChannel::keyboard)) {
        showTheRest();
        return;
    }
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(&controller, &AppController::pendingSoundPackIDsChanged, &controller,
                                   [&controller, connection, showTheRest] {
                                       if (controller.pendingSoundPackIDs().contains(SoundChannel::keyboard))
                                           return;
                                       QObject::disconnect(*connection);
                                       showTheRest();
                                   });
}
}
