#include "Effects/Pet/View/DesktopPetView.h"

#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/PetFigure.h"
#include "Foundation/Scheduler.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {
constexpr int frameIntervalMs = 16;
// A late frame moves the pose by at most this much, so a stalled loop does not jump.
constexpr double longestFrameSeconds = 0.1;
constexpr double capsulePaddingX = 8;
constexpr double capsulePaddingY = 5;
constexpr double cardWidth = 214;
constexpr double cardHeight = 120;

const PetCurve hoverCurve = PetCurve::easeInOut(0.18);
const PetCurve bobCurve = PetCurve::spring(0.38, 0.62);
const PetCurve stretchCurve = PetCurve::spring(0.45, 0.55);
const PetCurve physicsModeCurve = PetCurve::spring(0.30, 0.64);
const PetCurve walkStepCurve = PetCurve::easeInOut(0.14);
const PetCurve physicsBeatCurve = PetCurve::easeInOut(0.22);
const PetCurve momentCurve = PetCurve::spring(0.25, 0.58);

std::chrono::milliseconds millis(double seconds)
{
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

QFont capsuleFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    font.setWeight(QFont::DemiBold);
    return font;
}
}

DesktopPetView::DesktopPetView(PetPresentation &presentation, Scheduler &scheduler, PetPanelCallbacks callbacks,
                               QWidget *parent)
    : QWidget(parent), m_presentation(presentation), m_scheduler(scheduler), m_callbacks(std::move(callbacks))
{
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
    m_frameTimer.setInterval(frameIntervalMs);
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
    const QRectF frame = figureFrame();
    const QTransform pose = PetPose::transform(poseValues()) * QTransform::fromTranslate(frame.x(), frame.y());
    return pose.map(QPolygonF(QRectF(0, 0, PetPose::frameWidth, PetPose::frameHeight)));
}

QRegion DesktopPetView::inputRegion() const
{
    QRegion region(figureHitArea().boundingRect().toAlignedRect());
    if (const auto card = cardRect())
        region += card->toAlignedRect();
    return region;
}

QStringList DesktopPetView::capsuleLines() const
{
    const auto line = m_presentation.reactionLine();
    if (!line)
        return {};
    const QFont font = capsuleFont();
    const double textWidth = capsuleMaxWidth - 2 * capsulePaddingX;
    QTextLayout layout(*line, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine textLine = layout.createLine(); textLine.isValid(); textLine = layout.createLine()) {
        textLine.setLineWidth(textWidth);
        if (lines.size() == 1) {
            // The second line carries the rest of the text, cut at the end when it is too long.
            const QString rest = line->mid(textLine.textStart()).trimmed();
            lines << QFontMetricsF(font).elidedText(rest, Qt::ElideRight, textWidth);
            break;
        }
        lines << line->mid(textLine.textStart(), textLine.textLength()).trimmed();
    }
    layout.endLayout();
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

std::optional<QRectF> DesktopPetView::cardRect() const
{
    if (!m_presentation.isDialogueVisible())
        return std::nullopt;
    const double bottom = figureFrame().top() - slotSpacing;
    const double height = std::min(cardHeight, bottom);
    return QRectF((width() - cardWidth) / 2, bottom - height, cardWidth, height);
}

PetPoseState DesktopPetView::poseState() const
{
    return {m_presentation.mood(),        m_presentation.lidProgress(), m_hovering,
            m_presentation.isWalking(),   m_walkingStep,                m_bobbing,
            m_presentation.physicsMode(), m_physicsBeat,                m_presentation.moment().has_value()};
}

PetFigureState DesktopPetView::figureState() const
{
    const PetPresentation &p = m_presentation;
    return {p.mood(),        p.colorID(),   p.accessoryID(), p.faceID(),
            p.facingDirection(), p.isWalking(), m_walkingStep,  m_bobbing,
            m_blinking,      m_gaze,        m_shownMoment,   poseValues().momentProgress,
            p.focusTimeLabel(), p.focusIsPaused()};
}

void DesktopPetView::retarget(PetCurve curve)
{
    m_animator.setTargets(PetPose::targets(poseState()), curve);
    if (!m_animator.isSettled() && !m_frameTimer.isActive()) {
        m_frameClock.start();
        m_frameTimer.start();
    }
    refresh();
}

void DesktopPetView::advanceAnimation(double seconds)
{
    if (!m_animator.advance(seconds))
        m_frameTimer.stop();
    refresh();
}

void DesktopPetView::frameTick()
{
    advanceAnimation(std::min(double(m_frameClock.restart()) / 1000.0, longestFrameSeconds));
}

void DesktopPetView::refresh()
{
    update();
    emit appearanceChanged();
}

void DesktopPetView::updateAccessibleName()
{
    setAccessibleName(QStringLiteral("Plinkly focus pet: ") + m_presentation.message());
}

void DesktopPetView::tap()
{
    m_presentation.petTapped();
    if (m_presentation.isDialogueVisible())
        m_menuCategory.reset();
}

void DesktopPetView::hoverAt(QPointF viewPoint)
{
    const QRectF frame = figureFrame();
    const QTransform pose = PetPose::transform(poseValues()) * QTransform::fromTranslate(frame.x(), frame.y());
    const QPointF local = pose.inverted().map(viewPoint);
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
    if (event->button() != Qt::LeftButton || !figureHitArea().containsPoint(event->position(), Qt::OddEvenFill))
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
    if (figureHitArea().containsPoint(event->position(), Qt::OddEvenFill))
        hoverAt(event->position());
    else
        endHover();
}

void DesktopPetView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressGlobal)
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
            retarget(bobCurve);
            break;
        default:
            m_blinking = step == 2;
            refresh();
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

void DesktopPetView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    paintContent(painter);
}

void DesktopPetView::paintContent(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    if (const auto card = cardRect())
        paintCard(painter, *card);
    else if (const auto capsule = capsuleRect())
        paintCapsule(painter, *capsule);

    const QRectF frame = figureFrame();
    painter.save();
    painter.translate(frame.topLeft());
    painter.setTransform(PetPose::transform(poseValues()), true);
    painter.translate(frame.width() / 2, frame.height() / 2);
    PetFigure::paint(painter, figureState());
    painter.restore();
}

void DesktopPetView::paintCapsule(QPainter &painter, const QRectF &rect) const
{
    painter.setPen(QPen(QColor(0, 0, 0, 30), 0.5));
    painter.setBrush(QColor(246, 246, 248, 235));
    painter.drawRoundedRect(rect, rect.height() / 2, rect.height() / 2);
    painter.setPen(QColor(28, 28, 30));
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
    painter.setPen(QPen(QColor(255, 255, 255, 77), 1));
    painter.setBrush(QColor(246, 246, 248, 240));
    painter.drawRoundedRect(rect, 18, 18);
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(13);
    title.setWeight(QFont::DemiBold);
    painter.setFont(title);
    painter.setPen(QColor(28, 28, 30));
    const QRectF content = rect.adjusted(12, 12, -12, -12);
    painter.drawText(content, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_presentation.name());
    painter.setFont(capsuleFont());
    painter.drawText(content.adjusted(0, 24, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     m_presentation.message());
}
