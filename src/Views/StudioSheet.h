#pragma once

#include <QDialog>

// The window-modal dialog that hosts the sound studio over the control window, centred on its
// client area and no larger than it: the body, then a "Close" button. Each opening gets a
// fresh body; closing discards it.
class StudioSheet final : public QDialog {
    Q_OBJECT

public:
    StudioSheet(QWidget *body, QWidget *parent);
};
