#pragma once

#include <QDateTime>
#include <QString>

// How long ago something happened, in the short form the journal's lists use: "just now",
// "2 min ago", "3 hr ago", "1 day ago", "2 wk ago", "4 mo ago", "1 yr ago"; a moment ahead of
// `now` reads "in 5 min". Whole units only, counted down (59 s is "just now").
namespace RelativeDate {
QString text(const QDateTime &date, const QDateTime &now);
}
