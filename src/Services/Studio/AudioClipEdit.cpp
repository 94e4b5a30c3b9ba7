#include "Services/Studio/AudioClipEdit.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace {
// The codes a keyed decoder or encoder reports in the Cocoa domain.
constexpr int coderReadCorrupt = 4864;
constexpr int coderValueNotFound = 4865;
constexpr int coderInvalidValue = 4866;

const char *const startKey = "startFrame";
const char *const endKey = "endFrame";
const char *const gainKey = "gain";
const char *const fadeInKey = "fadeInFrames";
const char *const fadeOutKey = "fadeOutFrames";

void appendInteger(QByteArray &out, qint64 value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
}

void appendFloat(QByteArray &out, float value)
{
    // Shortest text that reads back as the same 32-bit value.
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
}

std::optional<qint64> wholeNumber(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const qint64 integer = value.toInteger();
    if (double(integer) != value.toDouble())
        return std::nullopt;
    return integer;
}

std::unexpected<Error> missingKey(const char *key)
{
    return failure(CocoaError::domain, coderValueNotFound,
                   QStringLiteral("The clip edit is missing its “%1” value.").arg(QLatin1StringView(key)));
}

std::unexpected<Error> badValue(const char *key)
{
    return failure(CocoaError::domain, coderReadCorrupt,
                   QStringLiteral("The clip edit’s “%1” value isn’t a valid number.").arg(QLatin1StringView(key)));
}
}

AudioClipEdit AudioClipEdit::wholeClip(qint64 frameCount)
{
    return AudioClipEdit{0, frameCount, 1.0f, 0, 0};
}

Result<QByteArray> AudioClipEdit::toJson() const
{
    if (!std::isfinite(gain))
        return failure(CocoaError::domain, coderInvalidValue,
                       QStringLiteral("The clip edit’s gain isn’t a number and can’t be saved."));
    QByteArray out;
    out.reserve(128);
    out.append("{\"").append(startKey).append("\":");
    appendInteger(out, startFrame);
    out.append(",\"").append(endKey).append("\":");
    appendInteger(out, endFrame);
    out.append(",\"").append(gainKey).append("\":");
    appendFloat(out, gain);
    out.append(",\"").append(fadeInKey).append("\":");
    appendInteger(out, fadeInFrames);
    out.append(",\"").append(fadeOutKey).append("\":");
    appendInteger(out, fadeOutFrames);
    out.append('}');
    return out;
}

Result<AudioClipEdit> AudioClipEdit::fromJson(const QByteArray &json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return failure(CocoaError::domain, coderReadCorrupt, QStringLiteral("The clip edit isn’t valid JSON."));
    const QJsonObject object = document.object();

    // Read in declaration order, so the first missing or broken key is the one reported.
    const auto frame = [&object](const char *key) -> Result<qint64> {
        const QJsonValue value = object.value(QLatin1StringView(key));
        if (value.isUndefined())
            return missingKey(key);
        const auto integer = wholeNumber(value);
        if (!integer)
            return badValue(key);
        return *integer;
    };
    const auto start = frame(startKey);
    if (!start)
        return std::unexpected(start.error());
    const auto end = frame(endKey);
    if (!end)
        return std::unexpected(end.error());
    const QJsonValue gain = object.value(QLatin1StringView(gainKey));
    if (gain.isUndefined())
        return missingKey(gainKey);
    if (!gain.isDouble() || std::abs(gain.toDouble()) > double(std::numeric_limits<float>::max()))
        return badValue(gainKey);
    const auto fadeIn = frame(fadeInKey);
    if (!fadeIn)
        return std::unexpected(fadeIn.error());
    const auto fadeOut = frame(fadeOutKey);
    if (!fadeOut)
        return std::unexpected(fadeOut.error());
    return AudioClipEdit{*start, *end, float(gain.toDouble()), *fadeIn, *fadeOut};
}
