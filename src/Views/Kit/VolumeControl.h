#pragma once

#include "Views/Kit/Bind.h"

class QLabel;
class QSlider;
class QToolButton;

// A volume row: title and percent readout above; minus button, slider (0…150 %) and plus
// button below. 1.0 means 100 %; above that the readout adds "BOOST" in orange. sync()
// shows the bound value without ever writing it, so a stored 1.8 stays 1.8.
class VolumeControl final : public QWidget {
    Q_OBJECT

public:
    VolumeControl(const QString &title, Binding<double> value, QWidget *parent = nullptr);

    void sync();
    QString readoutText() const;

private:
    Binding<double> m_value;
    QLabel *m_readout = nullptr;
    QSlider *m_slider = nullptr;
    QToolButton *m_minus = nullptr;
    QToolButton *m_plus = nullptr;
};
