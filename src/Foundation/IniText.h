#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reading one value from the text of an INI-style settings file another program keeps
// (kdeglobals, spectaclerc), once the text has been read carefully.
namespace IniText {
// The trimmed value of `key` in the group "[group]": the last one when the key repeats.
std::optional<QString> value(const QByteArray &text, const QString &group, const QString &key);
}
