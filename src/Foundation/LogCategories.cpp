#include "Foundation/LogCategories.h"

Q_LOGGING_CATEGORY(logInput, "plinkly.input", QtWarningMsg)
Q_LOGGING_CATEGORY(logAudio, "plinkly.audio", QtWarningMsg)
Q_LOGGING_CATEGORY(logPacks, "plinkly.packs", QtWarningMsg)
Q_LOGGING_CATEGORY(logDesktop, "plinkly.desktop", QtWarningMsg)
Q_LOGGING_CATEGORY(logSystem, "plinkly.system", QtWarningMsg)
