#include "Effects/Pet/View/DesktopPetView.h"

#include "Effects/BandPainting.h"
#include "Effects/OpaqueBounds.h"
#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/DirectPaint.h"
#include "Effects/Pet/View/PetFigure.h"
#include "Effects/Pet/View/PetPictures.h"
#include "Effects/Pet/View/PetScroll.h"
#include "Effects/Pet/View/WrappedLines.h"
#include "Foundation/Appearance.h"
#include "Foundation/Scheduler.h"

#include <QGuiApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
// Frames come no closer together than this, however fast the pose moves.
constexpr int frameIntervalMs = 16;
constexpr std::size_t keptFigures = 4;
// A late frame moves the pose by at most this much beyond its due time, so a stalled loop
// does not jump.
constexpr double longestLateSeconds = 0.1;
constexpr double changeWaitsForMotionSeconds = 0.1;
constexpr double capsulePaddingX = 8;
constexpr double capsulePaddingY = 5;
constexpr int pageFadeMs = 160;

const PetCurve hoverCurve = PetCurve::easeInOut(0.18);
const PetCurve bobCurve = PetCurve::spring(0.38, 0.62);
const PetCurve stretchCurve = PetCurve::spring(0.45, 0.55);
const PetCurve physicsModeCurve = PetCurve::spring(0.30, 0.64);
const PetCurve walkStepCurve = PetCurve::easeInOut(0.14);
const PetCurve physicsBeatCurve = PetCurve::easeInOut(0.22);
const PetCurve momentCurve = PetCurve::spring(0.25, 0.58);
const PetCurve tapCurve = PetCurve::spring(0.28, 0.62);

constexpr double cardShadowRadius = 18;
// Everything the figure draws, sparkles and countdown included, in figure coordinates.
const QRectF figureBounds(-85, -62, 170, 112);

// The card's drop shadow, blurred once per card size.
const QImage &cardShadow(QSizeF size)
{
    static QHash<QPair<int, int>, QImage> cache;
    const QPair<int, int> key(qRound(size.width()), qRound(size.height()));
    auto found = cache.find(key);
    if (found == cache.end()) {
        QImage shape(size.toSize() * 2, QImage::Format_ARGB32_Premultiplied);
        shape.setDevicePixelRatio(2);
        shape.fill(Qt::transparent);
        QPainter painter(&shape);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRectF(QPointF(), size), PetMenuCard::cornerRadius, PetMenuCard::cornerRadius);
        painter.end();
        found = cache.insert(key, PetPictures::blurredShape(shape, QColor(0, 0, 0, 61), cardShadowRadius));
    }
    return *found;
}

std::chrono::milliseconds millis(double seconds)
{
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

QFont capsuleFont()
{
    return Appearance::font(FontRole::caption, QFont::DemiBold);
}
}

DesktopPetView::DesktopPetView(PetPresentation &presentation, Scheduler &scheduler, PetPanelCallbacks callbacks,
                               QWidget *parent)
    : QWidget(parent), m_presentation(presentation), m_scheduler(scheduler), m_callbacks(std::move(callbacks))
{
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
    m_pageFade.setDuration(pageFadeMs);
    m_pageFade.setStartValue(0.0);
    m_pageFade.setEndValue(1.0);
    m_pageFade.setEasingCurve(QEasingCurve::InOutCubic);
    connect(&m_pageFade, &QVariantAnimation::valueChanged, this, [this] { update(); });
    m_frameTimer.setSingleShot(true);
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_frameTimer, &QTimer::timeout, this, &DesktopPetView::frameTick);

    m_wasSleeping = presentation.mood() == PetMood::sleeping;
    m_wasStretching = presentation.mood() == PetMood::stretching;
    m_shownMoment = presentation.moment();
    connect(&presentation, &PetPresentation::moodChanged, this, [this] {
        const bool sleeping = m_presentation.mood() == PetMood::sleeping;
        const bool stretching = m_presentation.mood() == PetMood::stretching;
        retarget(stretching != m_wasStretching ? stretchCurve : PetCurve::immediate());
        m_wasStretching = stretching;
        if (sleeping != m_wasSleeping) {
            m_wasSleeping = sleeping;
            if (isVisible())
                startIdleTask();
        }
    });
    connect(&presentation, &PetPresentation::isWalkingChanged, this, [this] {
        if (isVisible())
            startWalkTask();
    });
    connect(&presentation, &PetPresentation::physicsModeChanged, this, [this] {
        retarget(physicsModeCurve);
        if (isVisible())
            startPhysicsTask();
    });
    connect(&presentation, &PetPresentation::lidProgressChanged, this, [this] { retarget(PetCurve::immediate()); });
    connect(&presentation, &PetPresentation::momentChanged, this, [this] {
        // The badge that leaves keeps being drawn while it shrinks away.
        if (const auto moment = m_presentation.moment())
            m_shownMoment = moment;
        retarget(momentCurve);
    });
    connect(&presentation, &PetPresentation::messageChanged, this, &DesktopPetView::updateAccessibleName);
    // Only a tap animates the card in; any other opening or closing swaps it at once.
    connect(&presentation, &PetPresentation::isDialogueVisibleChanged, this,
            [this] { retarget(m_tapping ? tapCurve : PetCurve::immediate()); });
    connect(&presentation, &PetPresentation::changed, this, &DesktopPetView::refresh);
    updateAccessibleName();
    retarget(PetCurve::immediate());
}

QRectF DesktopPetView::figureFrame() const
{
    return {(width() - PetPose::frameWidth) / 2, height() - bottomInset - PetPose::frameHeight, PetPose::frameWidth,
            PetPose::frameHeight};
}

QPolygonF DesktopPetView::figureHitArea() const
{
    return figureHitArea(poseValues());
}

QPolygonF DesktopPetView::figureHitArea(const PetPoseValues &values) const
{
    const QRectF frame = figureFrame();
    const QTransform pose = PetPose::transform(values) * QTransform::fromTranslate(frame.x(), frame.y());
    return pose.map(QPolygonF(QRectF(0, 0, PetPose::frameWidth, PetPose::frameHeight)));
}

QTransform DesktopPetView::figurePlacement() const
{
    const QRectF frame = figureFrame();
    return QTransform::fromTranslate(frame.width() / 2, frame.height() / 2) * PetPose::transform(poseValues())
        * QTransform::fromTranslate(frame.x(), frame.y());
}

QRegion DesktopPetView::inputRegion() const
{
    QRegion region(figureHitArea(m_animator.targets()).boundingRect().toAlignedRect());
    if (const auto card = cardRect())
        region += card->toAlignedRect();
    return region;
}

QStringList DesktopPetView::capsuleLines() const
{
    const auto line = m_presentation.reactionLine();
    if (!line)
        return {};
    if (line == m_capsuleText)
        return m_capsuleLines;
    // The second line carries the rest of the text, cut at the end when it is too long.
    const QStringList lines = wrappedLines(*line, capsuleFont(), capsuleMaxWidth - 2 * capsulePaddingX, 2);
    m_capsuleText = line;
    m_capsuleLines = lines;
    return lines;
}

std::optional<QRectF> DesktopPetView::capsuleRect() const
{
    if (m_presentation.isDialogueVisible())
        return std::nullopt;
    const QStringList lines = capsuleLines();
    if (lines.isEmpty())
        return std::nullopt;
    const QFontMetricsF metrics(capsuleFont());
    double textWidth = 0;
    for (const QString &line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    const double width = std::min(textWidth + 2 * capsulePaddingX, capsuleMaxWidth);
    const double height = lines.size() * metrics.lineSpacing() + 2 * capsulePaddingY;
    const double bottom = figureFrame().top() - slotSpacing;
    return QRectF((this->width() - width) / 2, bottom - height, width, height);
}

double DesktopPetView::cardRoom() const
{
    return figureFrame().top() - slotSpacing;
}

std::optional<PetMenuCard> DesktopPetView::menuCard() const
{
    if (!m_presentation.isDialogueVisible())
        return std::nullopt;
    return PetMenuCard({m_presentation.name(), m_presentation.reactionLine(), m_presentation.staysPut(), m_menuCategory});
}

std::optional<QRectF> DesktopPetView::cardRect() const
{
    const auto card = menuCard();
    if (!card)
        return std::nullopt;
    // A card taller than the room above the figure keeps its header at the panel's top edge and
    // reaches down towards the figure instead.
    const double top = std::max(cardRoom() - card->height(), 0.0);
    return QRectF((width() - PetMenuCard::width) / 2, top, PetMenuCard::width, card->height());
}

std::optional<std::size_t> DesktopPetView::cardItemAt(QPointF point) const
{
    const auto card = menuCard();
    const auto rect = cardRect();
    if (!card || !rect)
        return std::nullopt;
    const QPointF local = point - rect->topLeft();
    for (std::size_t i = 0; i < card->items().size(); ++i) {
        if (card->items()[i].rect.contains(local))
            return i;
    }
    return std::nullopt;
}

void DesktopPetView::showPage(std::optional<PetMenuCategory> category)
{
    m_menuCategory = category;
    m_pageFade.stop();
    m_pageFade.start();
    refresh();
}

void DesktopPetView::activate(const PetMenuItem &item)
{
    switch (item.kind) {
    case PetMenuItem::Kind::back:
        showPage(std::nullopt);
        break;
    case PetMenuItem::Kind::tile:
        showPage(item.category);
        break;
    case PetMenuItem::Kind::close:
        m_presentation.setDialogueVisible(false);
        break;
    case PetMenuItem::Kind::pause:
    case PetMenuItem::Kind::row:
        if (item.action && m_callbacks.onAction)
            m_callbacks.onAction(*item.action);
        break;
    }
}

PetPoseState DesktopPetView::poseState() const
{
    return {m_presentation.mood(),        m_presentation.lidProgress(), m_hovering,
            m_presentation.isWalking(),   m_walkingStep,                m_bobbing,
            m_presentation.physicsMode(), m_physicsBeat,                m_presentation.moment().has_value(),
            m_presentation.isDialogueVisible()};
}

PetFigureState DesktopPetView::figureState() const
{
    const PetPresentation &p = m_presentation;
    return {p.mood(),        p.colorID(),   p.accessoryID(), p.faceID(),
            p.facingDirection(), p.isWalking(), m_walkingStep,  m_bobbing,
            m_blinking,      m_gaze,        m_shownMoment,   poseValues().momentProgress,
            p.focusTimeLabel(), p.focusIsPaused(), m_roomOnLeft, m_roomOnRight};
}

void DesktopPetView::setRoomBeside(bool left, bool right)
{
    if (left == m_roomOnLeft && right == m_roomOnRight)
        return;
    m_roomOnLeft = left;
    m_roomOnRight = right;
    refresh();
}

void DesktopPetView::retarget(PetCurve curve, Start start)
{
    // A moving pose is brought up to now first, so the new course starts from where it is.
    if (m_frameTimer.isActive())
        m_animator.advance(elapsedSinceFrame());
    m_animator.setTargets(PetPose::targets(poseState()), curve);
    // A new course, and the picture that came with it, shows with its first whole pixel of
    // movement when that is near, rather than in a frame of its own.
    auto next = planFrame();
    if (start == Start::atFirstPixel && next && *next <= changeWaitsForMotionSeconds) {
        m_animator.advance(*next);
        planFrame();
        next.reset();
    }
    if (!next || *next > changeWaitsForMotionSeconds)
        refreshFigure();
    emit appearanceChanged();
}

void DesktopPetView::advanceAnimation(double seconds)
{
    m_animator.advance(seconds);
    planFrame();
    refreshFigure();
}

void DesktopPetView::frameTick()
{
    advanceAnimation(elapsedSinceFrame());
}

double DesktopPetView::elapsedSinceFrame()
{
    const double due = m_frameTimer.interval() / 1000.0;
    return std::min(double(m_frameClock.restart()) / 1000.0, due + longestLateSeconds);
}

std::optional<double> DesktopPetView::planFrame()
{
    // The next frame comes when something drawn has moved a whole device pixel; when the rest
    // of the motion stays within one, the pose is drawn at rest now and nothing more runs.
    m_animator.setDevicePixelRatio(devicePixelRatioF());
    const auto next = m_animator.secondsToNextPixel();
    if (next) {
        m_frameClock.start();
        m_frameTimer.start(std::max(frameIntervalMs, int(std::lround(*next * 1000))));
    } else {
        m_animator.finish();
        m_frameTimer.stop();
    }
    return next;
}

void DesktopPetView::refresh()
{
    update();
    emit appearanceChanged();
}

void DesktopPetView::refreshFigure()
{
    if (!isVisible() || cardRect()) {
        refresh();
        return;
    }
    // Painted at once rather than through a posted request: a frame is the whole of its wakeup.
    const DrawnFigure &picture = figurePicture(devicePixelRatioF());
    if (!scrollFigure(picture)) {
        const QRect area = m_paintedFigure.united(figureArea(picture));
        // Taken before painting, which may keep another picture and so move this one.
        const auto pixels = placedPixels(picture);
        const ShownFigure shown{picture.state, picture.ratio, pixels.value_or(QRect())};
        m_shown.reset();
        if (DirectPaint::paint(*this, area, [&](QPainter &painter) { paintArea(painter, area); })) {
            if (pixels && m_paintedRatio == shown.ratio)
                m_shown = shown;
        } else {
            repaint(area);
        }
    }
    emit pictureMoved();
}

std::optional<QRect> DesktopPetView::placedPixels(const DrawnFigure &picture) const
{
    if (figurePlacement().type() > QTransform::TxTranslate)
        return std::nullopt;
    return picture.opaquePixels.translated(placedAt(picture.ratio));
}

bool DesktopPetView::scrollFigure(const DrawnFigure &picture)
{
    // The same picture moved by whole pixels is the pixels the window already shows, moved.
    // Backing stores scroll by whole points, so this is for screens of one pixel a point.
    const auto pixels = placedPixels(picture);
    if (!m_shown || !pixels || m_shown->state != picture.state || m_shown->ratio != 1 || picture.ratio != 1)
        return false;
    const auto scroll = PetScroll::between(m_shown->pixels, *pixels, rect());
    if (!scroll)
        return false;
    QRect touched = scroll->move.from.united(scroll->move.from.translated(scroll->move.delta));
    if (scroll->blank)
        touched |= scroll->blank->from.united(scroll->blank->from.translated(scroll->blank->delta));
    if (const auto capsule = capsuleRect(); capsule && capsule->intersects(touched))
        return false;
    if (!scroll->move.delta.isNull() && !DirectPaint::scroll(*this, scroll->move.from, scroll->move.delta))
        return false;
    // A blank that cannot follow the move leaves the frame to a paint of both places.
    if (scroll->blank && !DirectPaint::scroll(*this, scroll->blank->from, scroll->blank->delta))
        return false;
    m_shown->pixels = *pixels;
    m_paintedFigure = figureArea(picture);
    return true;
}

void DesktopPetView::updateAccessibleName()
{
    setAccessibleName(QStringLiteral("Plinkly focus pet: ") + m_presentation.message());
}

void DesktopPetView::tap()
{
    m_tapping = true;
    m_presentation.petTapped();
    m_tapping = false;
    if (m_presentation.isDialogueVisible()) {
        m_menuCategory.reset();
        m_pageFade.stop();
    }
}

void DesktopPetView::hoverAt(QPointF viewPoint)
{
    // Measured in the figure's layout frame, which the pose never moves.
    const QPointF local = viewPoint - figureFrame().topLeft();
    const bool wasHovering = m_hovering;
    m_hovering = true;
    m_gaze = {std::clamp((local.x() - 41) / 12, -4.0, 4.0), std::clamp((local.y() - 40) / 14, -3.0, 3.0)};
    if (!wasHovering) {
        retarget(hoverCurve);
        if (!m_presentation.isDialogueVisible())
            m_presentation.cursorNudged();
    }
    refresh();
}

void DesktopPetView::endHover()
{
    if (!m_hovering)
        return;
    m_hovering = false;
    m_gaze = {};
    retarget(hoverCurve);
}

void DesktopPetView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (const auto item = cardItemAt(event->position())) {
        m_pressedItem = item;
        update();
        return;
    }
    if (!figureHitArea().containsPoint(event->position(), Qt::OddEvenFill))
        return;
    m_pressGlobal = event->globalPosition();
    m_dragging = false;
}

void DesktopPetView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressGlobal) {
        const QPointF translation = event->globalPosition() - *m_pressGlobal;
        if (!m_dragging && std::hypot(translation.x(), translation.y()) >= dragThreshold)
            m_dragging = true;
        if (m_dragging && m_callbacks.onDragChanged)
            m_callbacks.onDragChanged(QSizeF(translation.x(), translation.y()));
        return;
    }
    if (!cardItemAt(event->position()) && figureHitArea().containsPoint(event->position(), Qt::OddEvenFill))
        hoverAt(event->position());
    else
        endHover();
}

void DesktopPetView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_pressedItem) {
        const std::size_t pressed = *m_pressedItem;
        m_pressedItem.reset();
        update();
        const auto card = menuCard();
        if (card && cardItemAt(event->position()) == pressed)
            activate(card->items()[pressed]);
        return;
    }
    if (!m_pressGlobal)
        return;
    const bool dragged = m_dragging;
    m_pressGlobal.reset();
    m_dragging = false;
    if (dragged) {
        if (m_callbacks.onDragEnded)
            m_callbacks.onDragEnded();
    } else {
        tap();
    }
}

void DesktopPetView::leaveEvent(QEvent *)
{
    endHover();
}

void DesktopPetView::showEvent(QShowEvent *)
{
    startIdleTask();
    startWalkTask();
    startPhysicsTask();
}

void DesktopPetView::hideEvent(QHideEvent *)
{
    stopTasks();
}

void DesktopPetView::stopTasks()
{
    ++m_idleGeneration;
    ++m_walkGeneration;
    ++m_physicsGeneration;
    m_bobbing = m_blinking = m_walkingStep = m_physicsBeat = false;
    m_hovering = false;
    m_gaze = {};
    retarget(PetCurve::immediate());
}

void DesktopPetView::startIdleTask()
{
    const std::uint64_t generation = ++m_idleGeneration;
    if (m_presentation.mood() == PetMood::sleeping) {
        m_bobbing = m_blinking = false;
        retarget(bobCurve);
        return;
    }
    idleStep(0, generation);
}

void DesktopPetView::idleStep(int step, std::uint64_t generation)
{
    // Wait, raise the bob, wait, drop it, wait, blink, wait, open the eyes: 3.07 s a cycle.
    static constexpr double waits[] = {1.9, 0.32, 0.72, 0.13};
    m_scheduler.schedule(millis(waits[step]), this, [this, step, generation] {
        if (generation != m_idleGeneration)
            return;
        switch (step) {
        case 0:
        case 1:
            m_bobbing = step == 0;
            // The cycle's waits are not kept to the millisecond: the bob starts as far back as
            // its first pixel of movement lies ahead, so that pixel is this wakeup's frame.
            retarget(bobCurve, Start::atFirstPixel);
            break;
        default:
            m_blinking = step == 2;
            refreshFigure();
            break;
        }
        idleStep((step + 1) % 4, generation);
    });
}

void DesktopPetView::startWalkTask()
{
    const std::uint64_t generation = ++m_walkGeneration;
    walkStep(generation);
}

void DesktopPetView::walkStep(std::uint64_t generation)
{
    if (generation != m_walkGeneration)
        return;
    if (!m_presentation.isWalking()) {
        if (m_walkingStep) {
            m_walkingStep = false;
            retarget(PetCurve::immediate());
        }
        return;
    }
    m_walkingStep = !m_walkingStep;
    retarget(walkStepCurve);
    m_scheduler.schedule(millis(0.14), this, [this, generation] { walkStep(generation); });
}

void DesktopPetView::startPhysicsTask()
{
    const std::uint64_t generation = ++m_physicsGeneration;
    physicsStep(generation);
}

void DesktopPetView::physicsStep(std::uint64_t generation)
{
    if (generation != m_physicsGeneration)
        return;
    if (!m_presentation.physicsMode()) {
        if (m_physicsBeat) {
            m_physicsBeat = false;
            retarget(physicsModeCurve);
        }
        return;
    }
    m_physicsBeat = !m_physicsBeat;
    retarget(physicsBeatCurve);
    m_scheduler.schedule(millis(0.24), this, [this, generation] { physicsStep(generation); });
}

void DesktopPetView::paintEvent(QPaintEvent *event)
{
    // What Qt paints is its own: the next frame paints rather than moves pixels.
    m_shown.reset();
    QPainter painter(this);
    paintArea(painter, event->rect());
}

void DesktopPetView::paintArea(QPainter &painter, const QRect &area)
{
    // The backing store hands over the area cleared to transparent.
    if (!cardRect() && figurePlacement().type() <= QTransform::TxTranslate)
        paintContent(painter);
    else
        BandPainting::paintInBands(painter, area, [&] { paintContent(painter); });
}

const DesktopPetView::DrawnFigure &DesktopPetView::figurePicture(double ratio)
{
    // The figure changes far less often than its pose: it is drawn once into a picture that
    // each frame then places with the pose. The idle cycle only goes between a few pictures
    // (resting, bobbing, blinking), so the last few are kept.
    const PetFigureState figure = figureState();
    auto drawn = std::find_if(m_figures.begin(), m_figures.end(),
                              [&](const DrawnFigure &f) { return f.state == figure && f.ratio == ratio; });
    if (drawn != m_figures.end())
        return *drawn;
    QImage image((figureBounds.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter figurePainter(&image);
    figurePainter.translate(-figureBounds.topLeft());
    BandPainting::paintInBands(figurePainter, figureBounds.toAlignedRect(),
                               [&] { PetFigure::paint(figurePainter, figure); });
    figurePainter.end();
    const QRect pixels = opaqueBounds(image);
    const QRectF bounds(figureBounds.topLeft() + QPointF(pixels.topLeft()) / ratio, QSizeF(pixels.size()) / ratio);
    if (m_figures.size() == keptFigures)
        m_figures.pop_back();
    return *m_figures.insert(m_figures.begin(), {figure, ratio, std::move(image), bounds, pixels});
}

QRect DesktopPetView::figureArea(const DrawnFigure &picture) const
{
    // A pixel more on each side for the edge a smoothed or rounded placement spreads into.
    return figurePlacement().mapRect(picture.drawnBounds).toAlignedRect().adjusted(-1, -1, 1, 1);
}

QPoint DesktopPetView::placedAt(double ratio) const
{
    // A pose that only moves the figure puts its picture on whole device pixels, where Qt copies
    // it as it is, without a filter or its thread pool.
    const QPointF at = figurePlacement().map(figureBounds.topLeft()) * ratio;
    return {int(std::lround(at.x())), int(std::lround(at.y()))};
}

void DesktopPetView::paintContent(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    if (const auto card = cardRect())
        paintCard(painter, *card);
    else if (const auto capsule = capsuleRect())
        paintCapsule(painter, *capsule);

    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const DrawnFigure &picture = figurePicture(ratio);
    const QTransform placement = figurePlacement();
    m_paintedFigure = figureArea(picture);
    m_paintedRatio = ratio;
    painter.save();
    if (placement.type() <= QTransform::TxTranslate) {
        painter.drawImage(QPointF(placedAt(ratio)) / ratio, picture.image);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setTransform(placement, true);
        painter.drawImage(figureBounds.topLeft(), picture.image);
    }
    painter.restore();
}

void DesktopPetView::paintCapsule(QPainter &painter, const QRectF &rect) const
{
    painter.setPen(QPen(Appearance::color(ColorRole::separator), 0.5));
    painter.setBrush(Appearance::color(ColorRole::windowBackground, 0.92));
    painter.drawRoundedRect(rect, rect.height() / 2, rect.height() / 2);
    painter.setPen(Appearance::color(ColorRole::primary));
    painter.setFont(capsuleFont());
    const QFontMetricsF metrics(capsuleFont());
    double y = rect.top() + capsulePaddingY;
    for (const QString &line : capsuleLines()) {
        painter.drawText(QRectF(rect.left(), y, rect.width(), metrics.lineSpacing()), Qt::AlignCenter, line);
        y += metrics.lineSpacing();
    }
}

void DesktopPetView::paintCard(QPainter &painter, const QRectF &rect) const
{
    const auto card = menuCard();
    // The card grows in from 0.85 about its bottom centre while it fades in.
    const double progress = std::clamp(poseValues().cardProgress, 0.0, 1.0);
    const double scale = 0.85 + 0.15 * poseValues().cardProgress;
    painter.save();
    painter.setOpacity(progress);
    painter.translate(rect.center().x(), rect.bottom());
    painter.scale(scale, scale);
    painter.translate(-rect.width() / 2, -rect.height());
    painter.drawImage(QPointF(-cardShadowRadius, -cardShadowRadius + 7), cardShadow(rect.size()));
    if (m_pageFade.state() == QAbstractAnimation::Running) {
        card->paint(painter, m_pressedItem, m_pageFade.currentValue().toDouble());
        painter.restore();
        return;
    }
    // A still card is drawn once and then copied, until what it shows changes.
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const CardKey key{m_presentation.name(), m_presentation.reactionLine(), m_presentation.staysPut(), m_menuCategory,
                      m_pressedItem,         rect.size(),                  ratio,
                      QGuiApplication::palette().cacheKey()};
    if (key != m_cardKey) {
        m_cardKey = key;
        m_cardImage = QImage((rect.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        m_cardImage.setDevicePixelRatio(ratio);
        m_cardImage.fill(Qt::transparent);
        QPainter cardPainter(&m_cardImage);
        card->paint(cardPainter, m_pressedItem, 1.0);
    }
    painter.drawImage(QPointF(0, 0), m_cardImage);
    painter.restore();
}
