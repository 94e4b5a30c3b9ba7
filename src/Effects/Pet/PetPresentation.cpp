#include "Effects/Pet/PetPresentation.h"

#include "Effects/Pet/PetDialogue.h"
#include "Foundation/Scheduler.h"

#include <QPointer>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
constexpr double tapReactionSeconds = 2.4;
constexpr double celebrationSeconds = 4.5;

std::chrono::milliseconds millis(double seconds)
{
    return std::chrono::milliseconds(std::llround(std::max(seconds, 0.0) * 1000));
}

template <std::size_t N>
QString line(const std::array<std::u16string_view, N> &table, std::int64_t index)
{
    const auto &text = table[std::size_t(index % std::int64_t(N))];
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}
}

PetPresentation::PetPresentation(Scheduler &scheduler, QObject *parent) : QObject(parent), m_scheduler(scheduler) {}

template <typename T>
void PetPresentation::publish(T &field, T value, void (PetPresentation::*signal)(), bool always)
{
    if (!always && field == value)
        return;
    field = std::move(value);
    emit(this->*signal)();
    emit changed();
}

std::optional<QString> PetPresentation::focusTimeLabel() const
{
    if (!m_focusRemainingSeconds)
        return std::nullopt;
    const int seconds = *m_focusRemainingSeconds;
    return QString::asprintf("%d:%02d", seconds / 60, seconds % 60);
}

void PetPresentation::setName(const QString &name)
{
    publish(m_name, name, &PetPresentation::nameChanged);
}

void PetPresentation::setDialogueVisible(bool visible)
{
    publish(m_isDialogueVisible, visible, &PetPresentation::isDialogueVisibleChanged);
}

void PetPresentation::setWalking(bool walking)
{
    publish(m_isWalking, walking, &PetPresentation::isWalkingChanged);
}

void PetPresentation::setLidProgress(double progress)
{
    publish(m_lidProgress, std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 0.0,
            &PetPresentation::lidProgressChanged);
}

void PetPresentation::setStaysPut(bool staysPut)
{
    publish(m_staysPut, staysPut, &PetPresentation::staysPutChanged);
}

void PetPresentation::setMood(PetMood mood)
{
    publish(m_mood, mood, &PetPresentation::moodChanged);
}

void PetPresentation::setMessage(const QString &message)
{
    publish(m_message, message, &PetPresentation::messageChanged);
}

void PetPresentation::setReactionLine(std::optional<QString> line)
{
    publish(m_reactionLine, std::move(line), &PetPresentation::reactionLineChanged);
}

void PetPresentation::setMoment(std::optional<PetMoment> moment)
{
    publish(m_moment, moment, &PetPresentation::momentChanged);
}

void PetPresentation::update(PetMood mood, const QString &message)
{
    const PetMood oldMood = m_mood;
    setMood(mood);
    setMessage(message);
    setDialogueVisible(false);
    if (mood == PetMood::celebrating) {
        showReaction(message, celebrationSeconds);
    } else if (m_focusRemainingSeconds && mood == PetMood::suspicious) {
        showReaction(message, tapReactionSeconds);
    } else if (oldMood == PetMood::suspicious && mood == PetMood::focused) {
        ++m_reactionGeneration;
        setReactionLine(std::nullopt);
    }
}

void PetPresentation::showReaction(const QString &line, double durationSeconds)
{
    setMessage(line);
    setReactionLine(line);
    const std::int64_t generation = ++m_reactionGeneration;
    m_scheduler.schedule(millis(durationSeconds), this, [this, generation] {
        if (m_reactionGeneration == generation)
            setReactionLine(std::nullopt);
    });
}

void PetPresentation::petTapped()
{
    setDialogueVisible(!m_isDialogueVisible);
    if (!m_focusRemainingSeconds)
        setMood(PetMood::celebrating);
    showReaction(line(PetDialogue::tapLines, m_nudgeIndex), tapReactionSeconds);
    ++m_nudgeIndex;
}

void PetPresentation::cursorNudged()
{
    if (m_focusRemainingSeconds)
        return;
    showReaction(line(PetDialogue::nudgeLines, m_nudgeIndex), tapReactionSeconds);
    ++m_nudgeIndex;
    setMood(m_nudgeIndex % 3 == 0 ? PetMood::celebrating : PetMood::bored);
    setDialogueVisible(false);
}

void PetPresentation::dragged()
{
    showReaction(line(PetDialogue::dragLines, m_nudgeIndex), tapReactionSeconds);
    ++m_nudgeIndex;
    if (!m_focusRemainingSeconds)
        setMood(PetMood::celebrating);
}

void PetPresentation::becomeBored()
{
    if (m_mood != PetMood::idle)
        return;
    setMood(PetMood::bored);
    setMessage(QStringLiteral("Psst… got anything fun?"));
}

void PetPresentation::rest()
{
    if (m_mood != PetMood::bored)
        return;
    setWalking(false);
    setMood(PetMood::sleeping);
    setMessage(QStringLiteral("Zzz… boop to wake me"));
}

void PetPresentation::stretch()
{
    if (m_mood != PetMood::sleeping)
        return;
    setMood(PetMood::stretching);
    setMessage(QStringLiteral("Big stretch…"));
}

void PetPresentation::finishStretch()
{
    if (m_mood != PetMood::stretching)
        return;
    setMood(PetMood::sleeping);
    setMessage(QStringLiteral("Zzz… boop to wake me"));
}

void PetPresentation::setMovement(double horizontalDelta)
{
    if (std::abs(horizontalDelta) > 0.5)
        publish(m_facingDirection, horizontalDelta < 0 ? 1.0 : -1.0, &PetPresentation::facingDirectionChanged);
    setWalking(true);
}

void PetPresentation::showMoment(PetMoment moment, double durationSeconds)
{
    const std::int64_t generation = ++m_momentGeneration;
    setMoment(moment);
    m_scheduler.schedule(millis(durationSeconds), this, [this, generation] {
        if (m_momentGeneration == generation)
            setMoment(std::nullopt);
    });
}

void PetPresentation::reset()
{
    update(PetMood::idle, QString::fromUtf8(defaultMessage));
    m_nudgeIndex = 0;
    ++m_momentGeneration;
    setMoment(std::nullopt);
    setLidProgress(0);
    setPhysicsMode(std::nullopt);
    publish(m_focusRemainingSeconds, std::optional<int>(), &PetPresentation::focusRemainingSecondsChanged);
    publish(m_focusIsPaused, false, &PetPresentation::focusIsPausedChanged);
    setReactionLine(std::nullopt);
}

void PetPresentation::setAppearance(const QString &colorID, const QString &accessoryID, const QString &faceID)
{
    publish(m_colorID, colorID, &PetPresentation::colorIDChanged, true);
    publish(m_accessoryID, accessoryID, &PetPresentation::accessoryIDChanged, true);
    publish(m_faceID, faceID, &PetPresentation::faceIDChanged, true);
}

void PetPresentation::setFocusRemainingSeconds(std::optional<int> seconds, bool paused)
{
    const bool hadNone = !m_focusRemainingSeconds;
    if (seconds)
        seconds = std::max(*seconds, 0);
    publish(m_focusRemainingSeconds, seconds, &PetPresentation::focusRemainingSecondsChanged);
    publish(m_focusIsPaused, seconds ? paused : false, &PetPresentation::focusIsPausedChanged);
    if (seconds && hadNone)
        setReactionLine(std::nullopt);
}

void PetPresentation::setPhysicsMode(std::optional<ChaosMode> mode)
{
    publish(m_physicsMode, mode, &PetPresentation::physicsModeChanged);
}
