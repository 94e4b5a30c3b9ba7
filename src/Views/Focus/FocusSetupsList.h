#pragma once

#include <QWidget>

class AppModel;
class KeyedRows;
struct FocusSetup;

// The saved focus setups, one row each: goal and summary, "Use", "Start" and remove.
class FocusSetupsList final : public QWidget {
    Q_OBJECT

public:
    explicit FocusSetupsList(AppModel &app, QWidget *parent = nullptr);

    // Copies the setup into the settings (goal, length, allowed applications) and, with
    // `start`, starts a session from them. Nudges and the pet keep their settings.
    static void useFocusSetup(AppModel &app, const FocusSetup &setup, bool start);

    void sync(const QColor &accent);

private:
    AppModel &m_app;
    KeyedRows *m_rows = nullptr;
};
