#include "Effects/Chaos/ChaosPanel.h"

#include "Effects/Chaos/ChaosPhysicsTuning.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QStyleHints>

namespace {
constexpr int fadeInMs = 280;
constexpr int stepIntervalMs = 16;
// A late timer catches up with at most this many steps, rather than spiralling.
constexpr int maxStepsPerTick = 4;

Qt::WindowFlags panelFlags(bool takesFocusOnClick)
{
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint | Qt::NoDropShadowWindowHint;
    if (!takesFocusOnClick)
        flags |= Qt::WindowDoesNotAcceptFocus;
    return flags;
}
}

ChaosPanel::ChaosPanel(std::unique_ptr<ChaosScene> scene, bool takesFocusOnClick, QWidget *parent)
    : QWidget(parent, panelFlags(takesFocusOnClick))
    , m_scene(std::move(scene))
    , m_takesFocusOnClick(takesFocusOnClick)
    , m_clicks(QGuiApplication::styleHints()->mouseDoubleClickInterval(),
               QGuiApplication::styleHints()->mouseDoubleClickDistance())
{
    setWindowTitle(windowTitle);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(takesFocusOnClick ? Qt::ClickFocus : Qt::NoFocus);
    m_stepTimer.setTimerType(Qt::PreciseTimer);
    m_stepTimer.setInterval(stepIntervalMs);
    connect(&m_stepTimer, &QTimer::timeout, this, &ChaosPanel::tick);
}

void ChaosPanel::present(const QRect &geometry)
{
    setGeometry(geometry);
    setWindowOpacity(0);
    show();
    auto *fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(fadeInMs);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->setEasingCurve(QEasingCurve::OutCubic);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void ChaosPanel::dismiss()
{
    m_stepTimer.stop();
    m_scene->clear();
    hide();
    deleteLater();
}

void ChaosPanel::showEvent(QShowEvent *)
{
    m_clock.start();
    m_pendingSeconds = 0;
    m_stepTimer.start();
}

void ChaosPanel::hideEvent(QHideEvent *)
{
    m_stepTimer.stop();
}

void ChaosPanel::tick()
{
    m_pendingSeconds += double(m_clock.restart()) / 1000.0;
    int steps = 0;
    while (m_pendingSeconds >= ChaosPhysicsTuning::stepSeconds && steps < maxStepsPerTick) {
        m_scene->step();
        m_pendingSeconds -= ChaosPhysicsTuning::stepSeconds;
        ++steps;
    }
    if (steps == maxStepsPerTick)
        m_pendingSeconds = 0;
    if (steps > 0)
        update();
}

QPointF ChaosPanel::scenePoint(QPointF widgetPoint) const
{
    return {widgetPoint.x(), height() - widgetPoint.y()};
}

void ChaosPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_scene->paint(painter);
}

void ChaosPanel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_takesFocusOnClick)
        activateWindow();
    m_pressClickCount = m_clicks.press(event->globalPosition(), qint64(event->timestamp()));
    m_scene->mouseDown(scenePoint(event->position()));
}

void ChaosPanel::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        m_scene->mouseDragged(scenePoint(event->position()));
}

void ChaosPanel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_scene->mouseUp(scenePoint(event->position()), m_pressClickCount);
}

void ChaosPanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && onEscape) {
        onEscape();
        return;
    }
    QWidget::keyPressEvent(event);
}
