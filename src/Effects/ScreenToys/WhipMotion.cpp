#include "Effects/ScreenToys/WhipMotion.h"

#include <algorithm>
#include <cmath>

namespace {
double length(QPointF v)
{
    return std::hypot(v.x(), v.y());
}

double dot(QPointF a, QPointF b)
{
    return a.x() * b.x() + a.y() * b.y();
}

bool isFinite(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

constexpr double maximumJointSpeed = 42;
constexpr double pullbackCosine = -0.55;
constexpr double crackKick = 12;
constexpr double settleDistance = 1.5;
constexpr int relaxationPasses = 3;
}

QPointF WhipMotion::restPoint(int i) const
{
    return {anchor.x() - 0.88 * segmentLength * i, anchor.y() - std::min(5.0 * i, 48.0)};
}

void WhipMotion::begin(QPointF at, double time)
{
    // A point that is not on any screen would poison every joint for good.
    if (!isFinite(at))
        return;
    anchor = at;
    lastDragPoint = at;
    lastDragTime = time;
    isDragging = true;
    isSettled = false;
    swingDirection.reset();
    swingDistance = 0;
    pullbackDistance = 0;
    pendingCrack.reset();
    if (points.empty()) {
        for (int i = 0; i < jointCount; ++i)
            points.emplace_back(at.x() - segmentLength * i, at.y() - std::min(3.0 * i, 30.0));
        previousPoints = points;
    }
}

void WhipMotion::drag(QPointF to, double time)
{
    if (!isFinite(to))
        return;
    if (points.empty()) {
        begin(to, time);
        return;
    }
    const QPointF delta = to - lastDragPoint;
    const double distance = length(delta);
    const double previousTime = lastDragTime;
    swingDistance += distance;
    anchor = to;
    points[0] = to;
    if (!previousPoints.empty())
        previousPoints[0] = to;
    lastDragPoint = to;
    lastDragTime = time;
    isDragging = true;
    isSettled = false;

    if (!(distance > 0) || pendingCrack)
        return;
    const double speed = distance / std::max(time - previousTime, 1.0 / 240.0);
    const QPointF direction = delta / distance;

    if (swingDirection) {
        if (time - armedAt <= swingWindowSeconds) {
            if (dot(direction, *swingDirection) < pullbackCosine && speed >= armingSpeed) {
                pullbackDistance += distance;
                if (pullbackDistance < pullbackDistanceNeeded || time - lastLashTime < swingWindowSeconds)
                    return;
                pendingCrack = crackDelaySeconds;
                crackDirection = *swingDirection;
                lastLashTime = time;
                lastLashSpeed = speed;
                swingDirection.reset();
                swingDistance = 0;
                pullbackDistance = 0;
                return;
            }
            pullbackDistance = 0;
            return;
        }
        swingDirection.reset();
        pullbackDistance = 0;
        swingDistance = distance;
    }

    if (speed >= armingSpeed && swingDistance >= armingDistance) {
        swingDirection = direction;
        armedAt = time;
    }
}

bool WhipMotion::advance(double dt)
{
    const auto n = std::ssize(points);
    if (n < 2 || isSettled || std::ssize(previousPoints) != n)
        return false;
    dt = std::isnan(dt) ? 1.0 / 240.0 : std::clamp(dt, 1.0 / 240.0, 1.0 / 30.0);

    bool cracked = false;
    if (pendingCrack) {
        if (*pendingCrack <= dt) {
            pendingCrack.reset();
            ++lashCount;
            cracked = true;
            for (int k = 1; k <= 3; ++k) {
                const auto joint = n - 4 + k;
                if (joint >= 0)
                    previousPoints[joint] = points[joint] - crackDirection * (crackKick * k);
            }
        } else {
            *pendingCrack -= dt;
        }
    }

    const double damping = isDragging ? 0.86 : 0.62;
    const double gravity = isDragging ? 180 : 0;
    const double pull = std::min(9 * dt, 1.0);
    for (qsizetype i = 1; i < n; ++i) {
        QPointF velocity = (points[i] - previousPoints[i]) * damping;
        if (const double speed = length(velocity); speed > maximumJointSpeed)
            velocity *= maximumJointSpeed / speed;
        QPointF next = points[i] + velocity;
        next.ry() -= gravity * dt * dt;
        if (!isDragging)
            next += (restPoint(int(i)) - next) * pull;
        previousPoints[i] = points[i];
        points[i] = next;
    }
    points[0] = anchor;

    for (int pass = 0; pass < relaxationPasses; ++pass) {
        for (qsizetype i = 1; i < n; ++i) {
            const QPointF span = points[i] - points[i - 1];
            const double distance = length(span);
            if (distance > segmentLength && distance > 0)
                points[i] = points[i - 1] + span * (segmentLength / distance);
        }
    }

    if (isDragging)
        return cracked;
    isSettled = true;
    for (qsizetype i = 1; i < n && isSettled; ++i) {
        isSettled = length(points[i] - restPoint(int(i))) <= settleDistance
            && length(points[i] - previousPoints[i]) < settleDistance;
    }
    return cracked;
}
