#pragma once

#include "Platform/ReduceMotionProbe.h"

#include <QString>

#include <optional>

// GNOME's "enable-animations" switch, else KDE's animation speed factor (0 means none),
// else no wish for less motion.
class DesktopReduceMotionProbe final : public ReduceMotionProbe {
public:
    // `kdeGlobalsPath` defaults to kdeglobals in the user's configuration folder.
    explicit DesktopReduceMotionProbe(QString kdeGlobalsPath = {});
    bool reduceMotion() const override;

    // KDE's setting from the text of a kdeglobals file; none when it does not say.
    static std::optional<bool> fromKdeGlobals(const QString &path);

private:
    QString m_kdeGlobalsPath;
};
