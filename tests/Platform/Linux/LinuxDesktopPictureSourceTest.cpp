#include "Platform/Linux/LinuxDesktopPictureSource.h"
#include "support/HostileFiles.h"
#include "support/TestFolders.h"

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

TEST(LinuxDesktopPictureSource, AHostileDesktopSettingsFileIsSkippedWithoutWaiting)
{
    // The tests' standard paths keep the configuration under $HOME/.qttest.
    TestFolder home;
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedDesktop = qgetenv("XDG_CURRENT_DESKTOP");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CURRENT_DESKTOP", "XFCE");
    const QString channelPath = QStringLiteral(".qttest/config/xfce4/xfconf/xfce-perchannel-xml/xfce4-desktop.xml");
    const QString channel = home.filePath(channelPath);
    QDir().mkpath(QFileInfo(channel).path());
    const HostileFiles hostile(home.filePath("hostile"), QString());
    const QString picture = home.write("sea.png", "png");
    const LinuxDesktopPictureSource source;

    FifoWatchdog watchdog(hostile.fifos);
    for (const QString &target : hostile.paths) {
        QFile::remove(channel);
        QFile::link(target, channel);
        EXPECT_EQ(source.pictureFile(), QString()) << target.toStdString();
    }
    QFile::remove(channel);
    home.write(channelPath,
               "<channel><property name=\"last-image\" value=\"" + picture.toUtf8() + "\"/></channel>");
    EXPECT_EQ(source.pictureFile(), picture) << "a plain channel file is still read";
    EXPECT_FALSE(watchdog.finish()) << "reading the desktop's settings waited on a FIFO";
    qputenv("HOME", savedHome);
    qputenv("XDG_CURRENT_DESKTOP", savedDesktop);
}
