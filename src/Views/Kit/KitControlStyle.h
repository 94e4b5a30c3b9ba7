#pragma once

#include <QProxyStyle>

// The kit's look for Qt's own controls over the desktop's style: round-handled sliders with
// an accent fill, arrowless scroll bars that widen on hover, a chevron for pickers, check
// boxes with the kit's edge, a capsule progress bar and message boxes on the card with a symbolic icon and a heading,
// dialogs' buttons as the kit's, rounded menus without pictures, tooltips on the card, and
// file dialogs wide enough for their columns. Colours are read from the palette of the control
// being drawn when it paints, as Qt's own styles read them; the application palette is that
// palette's source, so a change of scheme reaches every control without rebuilding it.
class KitControlStyle final : public QProxyStyle {
    Q_OBJECT

public:
    // Over the style named `baseKey` (a QStyleFactory key).
    explicit KitControlStyle(const QString &baseKey);

    // Puts the kit's style over the style the application uses now.
    static void install();

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                         const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    void polish(QWidget *widget) override;
    void unpolish(QWidget *widget) override;
    using QProxyStyle::polish;
    using QProxyStyle::unpolish;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
