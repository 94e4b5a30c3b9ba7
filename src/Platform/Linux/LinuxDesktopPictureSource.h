#pragma once

#include "Platform/DesktopPictureSource.h"

#include <QByteArray>

// Asks the desktops that publish their picture: GNOME's background settings, XFCE's
// desktop channel and Plasma's desktop applet configuration, in that order.
class LinuxDesktopPictureSource final : public DesktopPictureSource {
public:
    QString pictureFile() const override;

    // The path in a settings value such as 'file:///usr/share/backgrounds/a.png'.
    static QString fromGSettingsValue(const QString &printedValue);
    // The first backdrop image named in XFCE's xfce4-desktop channel file.
    static QString fromXfconfChannel(const QByteArray &xml);
    // The image of the first desktop containment's wallpaper in Plasma's applet configuration.
    static QString fromPlasmaConfig(const QString &text);
};
