#include "Platform/Linux/LinuxDesktopPictureSource.h"

#include <gtest/gtest.h>

TEST(LinuxDesktopPictureSource, ReadsEachDesktopsWayOfNamingThePicture)
{
    EXPECT_EQ(LinuxDesktopPictureSource::fromGSettingsValue(QStringLiteral("'file:///usr/share/backgrounds/a%20b.png'\n")),
              QStringLiteral("/usr/share/backgrounds/a b.png"));
    EXPECT_EQ(LinuxDesktopPictureSource::fromGSettingsValue(QStringLiteral("''")), QString());

    const QByteArray xfce = R"(<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-desktop" version="1.0">
  <property name="backdrop" type="empty">
    <property name="screen0" type="empty">
      <property name="monitorVirtual1" type="empty">
        <property name="workspace0" type="empty">
          <property name="color-style" type="int" value="0"/>
          <property name="last-image" type="string" value="/home/me/sea.jpg"/>
        </property>
      </property>
    </property>
  </property>
</channel>)";
    EXPECT_EQ(LinuxDesktopPictureSource::fromXfconfChannel(xfce), QStringLiteral("/home/me/sea.jpg"));
    EXPECT_EQ(LinuxDesktopPictureSource::fromXfconfChannel("<channel"), QString());

    const QString plasma = QStringLiteral("[Containments][1]\nImage=file:///wrong/group.png\n"
                                          "[Containments][1][Wallpaper][org.kde.image][General]\n"
                                          "Image=file:///home/me/hills.png\nSlidePaths=/x\n");
    EXPECT_EQ(LinuxDesktopPictureSource::fromPlasmaConfig(plasma), QStringLiteral("/home/me/hills.png"));
}
