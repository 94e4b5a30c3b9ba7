#pragma once

#include "Services/Studio/WaveformEnvelope.h"
#include "Views/Studio/WaveformHandleDrag.h"

#include <QWidget>

#include <vector>

// The loaded clip's envelope as vertical min/max lines with the crop selection shaded over it,
// and two handles that move the crop start and end. It edits nothing itself: it shows the
// selection it is given and announces the one a drag makes.
class StudioWaveformView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int viewHeight = 140;
    static inline const QString accessibleText =
        QStringLiteral("Audio waveform. Crop using the handles or Start and End sliders.");

    explicit StudioWaveformView(QWidget *parent = nullptr);

    void setEnvelope(std::vector<WaveformBin> bins, qint64 totalFrames);
    WaveformSelection selection() const { return m_selection; }
    // Shows `selection` without announcing it.
    void setSelection(WaveformSelection selection);

    QWidget *startHandle() const { return m_startHandle; }
    QWidget *endHandle() const { return m_endHandle; }

signals:
    void selectionChanged(WaveformSelection selection);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *makeHandle(const QString &name, const QString &help);
    void placeHandles();

    std::vector<WaveformBin> m_bins;
    qint64 m_totalFrames = 0;
    WaveformSelection m_selection;
    QWidget *m_startHandle = nullptr;
    QWidget *m_endHandle = nullptr;
};
