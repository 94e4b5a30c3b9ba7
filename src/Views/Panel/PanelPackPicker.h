#pragma once

#include "Services/Audio/SoundChannel.h"
#include "Views/Kit/Bind.h"

class AppModel;
class QComboBox;
class QLabel;

// A pop-up of the installed packs of one channel, by name in the library's order. Choosing
// one loads it through the sound controller, which stores the choice only once the pack has
// loaded; meanwhile the pop-up shows the pack being loaded, and afterwards the stored choice
// again, with the channel's error under it when the load failed. Refilling the list never
// counts as a choice; a stored pack that is not listed leaves nothing selected.
class PanelPackPicker final : public QWidget {
    Q_OBJECT

public:
    PanelPackPicker(AppModel &app, const QString &title, SoundChannel channel, QWidget *parent = nullptr);

    void sync();
    QComboBox *comboBox() const { return m_combo; }
    QLabel *errorLine() const { return m_error; }

private:
    // The pack being loaded for the channel, else the stored choice.
    QString shownID() const;
    void choose(int index);

    AppModel &m_app;
    SoundChannel m_channel;
    QComboBox *m_combo = nullptr;
    QLabel *m_error = nullptr;
};
