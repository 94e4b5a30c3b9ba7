#pragma once

#include "Views/Kit/Bind.h"

class QLabel;
class QSlider;

// A labelled slider of the panel: the title on the leading side and the slider at the end.
// A volume row adds a speaker before a 108 px slider over 0…150 % in hundredths and the
// truncated percent after it; a plain row is a continuous 130 px slider with no readout.
// sync() never writes the value back, so a stored 1.8 stays 1.8 and reads 180%.
class PanelSliderRow final : public QWidget {
    Q_OBJECT

public:
    static PanelSliderRow *volume(const QString &title, Binding<double> value, QWidget *parent = nullptr);
    static PanelSliderRow *plain(const QString &title, Binding<double> value, double minimum, double maximum,
                                 QWidget *parent = nullptr);

    void sync();
    QSlider *slider() const { return m_slider; }
    // Empty for a plain row.
    QString readoutText() const;

private:
    PanelSliderRow(const QString &title, Binding<double> value, double minimum, double maximum, int steps, bool volume,
                   QWidget *parent);

    Binding<double> m_value;
    double m_minimum;
    double m_maximum;
    int m_steps;
    QSlider *m_slider = nullptr;
    QLabel *m_readout = nullptr;
};
