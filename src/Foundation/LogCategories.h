#pragma once

#include <QLoggingCategory>

// Diagnostics for what would otherwise fail silently, off unless asked for, for example with
// QT_LOGGING_RULES="plinkly.*=true". Nothing is written to a file.
Q_DECLARE_LOGGING_CATEGORY(logInput)
Q_DECLARE_LOGGING_CATEGORY(logAudio)
Q_DECLARE_LOGGING_CATEGORY(logPacks)
Q_DECLARE_LOGGING_CATEGORY(logDesktop)
Q_DECLARE_LOGGING_CATEGORY(logSystem)
