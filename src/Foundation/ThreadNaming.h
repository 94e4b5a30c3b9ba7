#pragma once

#include <QString>

// Linux limits OS thread names to 15 bytes; the full label stays on the owning object.
namespace ThreadNaming {
enum class Priority { high, normal, low };

// "local.knockwell.keyboard" becomes "kw.keyboard".
QString shortName(const QString &label);
void nameCurrentThread(const QString &label);
// Best effort: raising priority needs privileges an ordinary user may not have.
void applyPriority(Priority priority);
}
