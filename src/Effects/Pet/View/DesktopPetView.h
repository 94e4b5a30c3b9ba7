#pragma once

#include "Effects/Pet/PetAnimator.h"
#include "Effects/Pet/PetMenuCategory.h"
#include "Effects/Pet/PetPanel.h"
#include "Effects/Pet/PetPose.h"
#include "Effects/Pet/View/PetFigure.h"
#include "Effects/Pet/View/PetMenuCard.h"

#include <QElapsedTimer>
#include <QPointF>
#include <QPolygonF>
#include <QRegion>
#include <QTimer>
#include <QVariantAnimation>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

class PetPresentation;
class Scheduler;

// The pet's panel content: the menu card or a reaction capsule above the dolphin, the pose
// the pet's state and the view's own flags give the figure, and the pointer on the figure.
// It draws itself; a frame comes only when something drawn has moved a whole device pixel.
class DesktopPetView final : public QWidget {
    Q_OBJECT

public:
    static constexpr double capsuleMaxWidth = 165;
    static constexpr double slotSpacing = 7;
    static constexpr double bottomInset = 4;
    static constexpr double dragThreshold = 3;

    DesktopPetView(PetPresentation &presentation, Scheduler &scheduler, PetPanelCallbacks callbacks,
                   QWidget *parent = nullptr);

    // Where the figure's 82 x 76 frame sits in the view, before the pose.
    QRectF figureFrame() const;
    // The figure's hit area after the pose, in view coordinates.
    QPolygonF figureHitArea() const;
    // The part of the view that catches the pointer: the figure where its pose is heading, so
    // the region changes with a new pose rather than with every frame, and the open card.
    QRegion inputRegion() const;
    std::optional<QRectF> capsuleRect() const;
    std::optional<QRectF> cardRect() const;
    // The open menu card as laid out now.
    std::optional<PetMenuCard> menuCard() const;
    std::optional<PetMenuCategory> menuCategory() const { return m_menuCategory; }

    PetPoseState poseState() const;
    PetFigureState figureState() const;
    const PetPoseValues &poseValues() const { return m_animator.values(); }
    QPointF gaze() const { return m_gaze; }
    bool isAnimating() const { return m_frameTimer.isActive(); }
    // Which sides of the figure have room on screen for its badge and countdown.
    void setRoomBeside(bool left, bool right);
    // Moves the animation on by `seconds`, as the frame timer does.
    void advanceAnimation(double seconds);
    void paintContent(QPainter &painter);

signals:
    // The region that catches the pointer or the drawn picture may have changed.
    void appearanceChanged();
    // Only the drawn figure changed or moved; the region that catches the pointer did not.
    void pictureMoved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // When a new course starts: now, or back as far as its first pixel of movement lies ahead.
    enum class Start { now, atFirstPixel };
    void retarget(PetCurve curve, Start start = Start::now);
    // Times the next frame; returns how far away it is, none when the pose came to rest.
    std::optional<double> planFrame();
    // Real time since the last frame, at most a little past the frame's due time.
    double elapsedSinceFrame();
    void refresh();
    // What a paint of `area` draws, on a painter clipped to it.
    void paintArea(QPainter &painter, const QRect &area);
    // Repaints only where the figure was and now is, unless the card, which moves with the
    // pose too, is open.
    void refreshFigure();
    QPolygonF figureHitArea(const PetPoseValues &values) const;
    // From the figure's own coordinates to the view's, with the pose.
    QTransform figurePlacement() const;
    void frameTick();
    void tap();
    void hoverAt(QPointF viewPoint);
    void endHover();
    void startIdleTask();
    void idleStep(int step, std::uint64_t generation);
    void startWalkTask();
    void walkStep(std::uint64_t generation);
    void startPhysicsTask();
    void physicsStep(std::uint64_t generation);
    void stopTasks();
    void updateAccessibleName();
    void paintCapsule(QPainter &painter, const QRectF &rect) const;
    void paintCard(QPainter &painter, const QRectF &rect) const;
    double cardRoom() const;
    // The index of the card's item under a point in view coordinates.
    std::optional<std::size_t> cardItemAt(QPointF point) const;
    void activate(const PetMenuItem &item);
    void showPage(std::optional<PetMenuCategory> category);
    QStringList capsuleLines() const;

    PetPresentation &m_presentation;
    Scheduler &m_scheduler;
    PetPanelCallbacks m_callbacks;
    PetAnimator m_animator;
    QTimer m_frameTimer;
    QElapsedTimer m_frameClock;

    bool m_bobbing = false;
    bool m_blinking = false;
    bool m_roomOnLeft = true;
    bool m_roomOnRight = true;
    bool m_hovering = false;
    QPointF m_gaze;
    bool m_walkingStep = false;
    bool m_physicsBeat = false;
    std::optional<PetMenuCategory> m_menuCategory;
    std::optional<PetMoment> m_shownMoment;
    bool m_wasSleeping = false;
    bool m_wasStretching = false;

    std::uint64_t m_idleGeneration = 0;
    std::uint64_t m_walkGeneration = 0;
    std::uint64_t m_physicsGeneration = 0;

    // A press on the figure, in global coordinates: the panel moves under the pointer while
    // it is dragged, so view coordinates would chase themselves.
    std::optional<QPointF> m_pressGlobal;
    bool m_dragging = false;
    bool m_tapping = false;
    // The card item a press began on; it acts when the press ends over it.
    std::optional<std::size_t> m_pressedItem;
    QVariantAnimation m_pageFade;

    // What the cached picture of the card shows.
    struct CardKey {
        QString name;
        std::optional<QString> reactionLine;
        bool staysPut = false;
        std::optional<PetMenuCategory> category;
        std::optional<std::size_t> pressed;
        QSizeF size;
        double ratio = 0;
        // The application palette the card was drawn in: a new scheme draws it again.
        qint64 palette = 0;
        friend bool operator==(const CardKey &, const CardKey &) = default;
    };
    mutable CardKey m_cardKey;
    mutable QImage m_cardImage;
    // The capsule's lines as last broken, and the text they came from.
    mutable std::optional<QString> m_capsuleText;
    mutable QStringList m_capsuleLines;
    // The figure as lately drawn, newest first, and what each picture shows.
    struct DrawnFigure {
        PetFigureState state;
        double ratio = 0;
        QImage image;
        // What the picture covers, in figure coordinates, and in its own pixels.
        QRectF drawnBounds;
        QRect opaquePixels;
    };
    std::vector<DrawnFigure> m_figures;
    const DrawnFigure &figurePicture(double ratio);
    QRect figureArea(const DrawnFigure &picture) const;
    // Where the figure was last painted, in view coordinates, and for which pixel ratio.
    QRect m_paintedFigure;
    double m_paintedRatio = 0;
    // Where the picture's pixels lie, in device pixels, for a pose that only moves it.
    QPoint placedAt(double ratio) const;
    std::optional<QRect> placedPixels(const DrawnFigure &picture) const;
    // Shows a frame by moving the pixels the window shows; false when that cannot show it.
    bool scrollFigure(const DrawnFigure &picture);
    // The figure as the window shows it after this view's own frames, until Qt paints it.
    struct ShownFigure {
        PetFigureState state;
        double ratio = 0;
        QRect pixels;
    };
    std::optional<ShownFigure> m_shown;
};
