#pragma once

#include "Models/SettingsPage.h"

#include <QObject>

class InputController;
class SettingsStore;
class SoundPackManager;

// What the interface sees of the application's root object: the services it shows, one
// change announcement relayed from all of them, and the requests only the root can carry
// out. AppController implements it; a view that needs another service or operation of the
// root adds its accessor here and the one-line delegation there.
class AppModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(SettingsPage requestedSettingsPage READ requestedSettingsPage WRITE setRequestedSettingsPage NOTIFY
                   requestedSettingsPageChanged)

public:
    using QObject::QObject;

    virtual SettingsStore &settings() = 0;
    virtual SoundPackManager &packs() = 0;
    virtual InputController &input() = 0;

    // Opens or fronts the control window on a page; every call switches to that page.
    virtual void showControlPanel(SettingsPage page) = 0;
    virtual SettingsPage requestedSettingsPage() const = 0;
    virtual void setRequestedSettingsPage(SettingsPage page) = 0;

signals:
    // Anything under the root changed.
    void changed();
    void requestedSettingsPageChanged(SettingsPage page);
};
