#include "Effects/Pet/PetAnimator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
// Half a device pixel: how close a spring must be to its target, and how slowly it must move
// (per second), before it stops.
constexpr double restPixels = 0.5;
// Springs are integrated in steps no longer than this, so a late frame cannot blow them up.
constexpr double springStep = 1.0 / 480;
// The look-ahead for the next whole pixel samples the motion this often, this far.
constexpr double lookStep = 1.0 / 240;
constexpr double lookHorizon = 1.0;

double easeInOut(double t)
{
    return t < 0.5 ? 4 * t * t * t : 1 - std::pow(-2 * t + 2, 3) / 2;
}
}

std::array<PetAnimator::Channel, PetAnimator::channelCount> PetAnimator::initialChannels()
{
    std::array<Channel, channelCount> channels{};
    const PetPoseValues rest;
    for (std::size_t i = 0; i < channelCount; ++i)
        channels[i].target = rest.*PetPoseValues::members[i];
    return channels;
}

PetPoseValues PetAnimator::targets() const
{
    PetPoseValues targets;
    for (std::size_t i = 0; i < channelCount; ++i)
        targets.*PetPoseValues::members[i] = m_channels[i].target;
    return targets;
}

void PetAnimator::setTargets(const PetPoseValues &targets, PetCurve curve)
{
    for (std::size_t i = 0; i < channelCount; ++i) {
        const auto member = PetPoseValues::members[i];
        Channel &channel = m_channels[i];
        if (targets.*member == channel.target)
            continue;
        channel.target = targets.*member;
        channel.curve = curve;
        if (curve.kind == PetCurve::Kind::immediate) {
            m_values.*member = channel.target;
            channel.velocity = 0;
            channel.moving = false;
            continue;
        }
        // A spring keeps its velocity when redirected; an ease starts afresh from here.
        if (curve.kind == PetCurve::Kind::easeInOut)
            channel.velocity = 0;
        channel.from = m_values.*member;
        channel.elapsed = 0;
        channel.moving = true;
    }
}

bool PetAnimator::advance(double seconds)
{
    seconds = std::max(seconds, 0.0);
    for (std::size_t i = 0; i < channelCount; ++i) {
        Channel &channel = m_channels[i];
        if (!channel.moving)
            continue;
        double &value = m_values.*PetPoseValues::members[i];
        channel.elapsed += seconds;
        if (channel.curve.kind == PetCurve::Kind::easeInOut) {
            const double progress = std::min(channel.elapsed / channel.curve.duration, 1.0);
            value = channel.from + (channel.target - channel.from) * easeInOut(progress);
            channel.moving = progress < 1;
            continue;
        }
        const double omega = 2 * std::numbers::pi / channel.curve.response;
        const double stiffness = omega * omega;
        const double damping = 2 * channel.curve.dampingFraction * omega;
        for (double left = seconds; left > 0; left -= springStep) {
            const double dt = std::min(left, springStep);
            channel.velocity += (stiffness * (channel.target - value) - damping * channel.velocity) * dt;
            value += channel.velocity * dt;
        }
        const double pixelsPerUnit = PetPose::reach[i] * m_devicePixelRatio;
        if (std::abs(channel.target - value) * pixelsPerUnit < restPixels
            && std::abs(channel.velocity) * pixelsPerUnit < restPixels) {
            value = channel.target;
            channel.velocity = 0;
            channel.moving = false;
        }
    }
    return !isSettled();
}

bool PetAnimator::isSettled() const
{
    return std::none_of(m_channels.begin(), m_channels.end(), [](const Channel &c) { return c.moving; });
}

void PetAnimator::finish()
{
    for (std::size_t i = 0; i < channelCount; ++i) {
        Channel &channel = m_channels[i];
        m_values.*PetPoseValues::members[i] = channel.target;
        channel.velocity = 0;
        channel.moving = false;
    }
}

std::optional<double> PetAnimator::secondsToNextPixel() const
{
    PetAnimator ahead = *this;
    for (double t = lookStep; t <= lookHorizon; t += lookStep) {
        const bool moving = ahead.advance(lookStep);
        if (PetPose::drawnDistance(ahead.m_values, m_values) * m_devicePixelRatio >= 1)
            return t;
        if (!moving)
            return std::nullopt;
    }
    return lookHorizon;
}
