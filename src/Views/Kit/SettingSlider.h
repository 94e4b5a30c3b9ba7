#pragma once

#include "Views/Kit/Bind.h"

class QLabel;
class QSlider;

// A labelled continuous slider: title (112 px), slider over `minimum`…`maximum`, and the
// value as "%.2f" plus `suffix` (no space added). sync() never writes the value back.
class SettingSlider final : public QWidget {
    Q_OBJECT

public:
    SettingSlider(const QString &title, Binding<double> value, double minimum, double maximum, const QString &suffix,
                  QWidget *parent = nullptr);

    void sync();
    QString readoutText() const;

private:
    Binding<double> m_value;
    double m_minimum;
    double m_maximum;
    QString m_suffix;
    QSlider *m_slider = nullptr;
    QLabel *m_readout = nullptr;
};
