#include "Platform/TimedOpen.h"

OpenError TimedOpen::error(OpenFailure failure, const QString &party, const QString &detail)
{
    const auto withDetail = [&](QString text) {
        return detail.isEmpty() ? text : QStringLiteral("%1 (%2)").arg(text, detail);
    };
    switch (failure) {
    case OpenFailure::unavailable:
        return {failure, withDetail(QStringLiteral("%1 could not start").arg(party))};
    case OpenFailure::noServer:
        return {failure, QStringLiteral("%1 is not running").arg(party)};
    case OpenFailure::refused:
        return {failure, QStringLiteral("%1 refused the connection").arg(party)};
    case OpenFailure::silent:
        return {failure, withDetail(QStringLiteral("%1 did not answer within %2 s").arg(party).arg(allowed.count()))};
    case OpenFailure::gone:
        return {failure, QStringLiteral("%1 went away").arg(party)};
    case OpenFailure::failed:
        return {failure, withDetail(QStringLiteral("%1 failed").arg(party))};
    case OpenFailure::avoided:
        return {failure, QStringLiteral("not tried: %1 did not answer").arg(party)};
    case OpenFailure::abandoned:
        break;
    }
    return {OpenFailure::abandoned, QStringLiteral("abandoned")};
}

void TimedOpen::syncAbandoningOpens(SerialQueue &queue, AudioOutput *output, const std::function<void()> &task)
{
    if (output)
        output->abandonOpens(true);
    queue.sync([&] {
        task();
        if (output)
            output->abandonOpens(false);
    });
}
