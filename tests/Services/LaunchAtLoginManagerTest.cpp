#include "Services/LaunchAtLoginManager.h"
#include "support/TestFolders.h"

#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>


TEST(LaunchAtLoginManager, WritesAndRemovesTheAutostartEntry)
{
    TestFolder folder;
    const QString autostart = folder.filePath(QStringLiteral("config/autostart"));
    LaunchAtLoginManager login(autostart, QStringLiteral("/opt/plinkly/bin/plinkly"));
    QSignalSpy changed(&login, &LaunchAtLoginManager::changed);
    EXPECT_FALSE(login.isEnabled());

    login.setEnabled(true);
    EXPECT_TRUE(login.isEnabled());
    EXPECT_TRUE(login.errorMessage().isEmpty());
    QFile entry(autostart + QStringLiteral("/plinkly.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nType=Application\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=/opt/plinkly/bin/plinkly\n")));
    // A new process sees the same registration.
    EXPECT_TRUE(LaunchAtLoginManager(autostart, QStringLiteral("/x")).isEnabled());

    login.setEnabled(false);
    EXPECT_FALSE(login.isEnabled());
    EXPECT_FALSE(QFile::exists(entry.fileName()));
    EXPECT_EQ(changed.count(), 2);
}

TEST(LaunchAtLoginManager, ReadsAnEntryTheDesktopSwitchedOff)
{
    TestFolder folder;
    folder.write(QStringLiteral("autostart/plinkly.desktop"),
                 "[Desktop Entry]\nType=Application\nExec=plinkly\nX-GNOME-Autostart-enabled=false\n");
    EXPECT_FALSE(LaunchAtLoginManager(folder.filePath(QStringLiteral("autostart")), QStringLiteral("/x")).isEnabled());
    folder.write(QStringLiteral("autostart/plinkly.desktop"), "[Desktop Entry]\nType=Application\nHidden=true\n");
    EXPECT_FALSE(LaunchAtLoginManager(folder.filePath(QStringLiteral("autostart")), QStringLiteral("/x")).isEnabled());
}

TEST(LaunchAtLoginManager, ReportsAFolderItCannotCreate)
{
    TestFolder folder;
    // A file where the configuration folder should be.
    const QString blocked = folder.write(QStringLiteral("config"), "not a folder");
    LaunchAtLoginManager login(blocked + QStringLiteral("/autostart"), QStringLiteral("/x"));
    login.setEnabled(true);
    EXPECT_FALSE(login.isEnabled());
    EXPECT_TRUE(login.errorMessage().startsWith(QStringLiteral("Couldn’t add Plinkly to the programs started at login (")));
}

TEST(LaunchAtLoginManager, QuotesExecutablePathsAsDesktopEntriesRequire)
{
    const std::vector<std::pair<QString, QString>> cases{
        {QStringLiteral("/usr/bin/plinkly"), QStringLiteral("/usr/bin/plinkly")},
        {QStringLiteral("/home/a b/plinkly"), QStringLiteral("\"/home/a b/plinkly\"")},
        {QStringLiteral("/home/$x/plinkly"), QStringLiteral("\"/home/\\\\$x/plinkly\"")},
        {QStringLiteral("/opt/100%/plinkly"), QStringLiteral("/opt/100%%/plinkly")},
        {QStringLiteral("/opt/a\"b"), QStringLiteral("\"/opt/a\\\\\"b\"")},
    };
    for (const auto &[path, exec] : cases)
        EXPECT_EQ(LaunchAtLoginManager::execValue(path), exec) << path.toStdString();
}
