#include "Services/LaunchAtLoginManager.h"
#include "support/TestFolders.h"

#include <QDir>
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
    QFile entry(autostart + QStringLiteral("/io.github.plinkly.Plinkly.desktop"));
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
    const QString entry = QStringLiteral("autostart/") + LaunchAtLoginManager::entryName;
    folder.write(entry, "[Desktop Entry]\nType=Application\nExec=plinkly\nX-GNOME-Autostart-enabled=false\n");
    EXPECT_FALSE(LaunchAtLoginManager(folder.filePath(QStringLiteral("autostart")), QStringLiteral("/x")).isEnabled());
    folder.write(entry, "[Desktop Entry]\nType=Application\nHidden=true\n");
    EXPECT_FALSE(LaunchAtLoginManager(folder.filePath(QStringLiteral("autostart")), QStringLiteral("/x")).isEnabled());
}

TEST(LaunchAtLoginManager, ReplacesTheEntryOfAnEarlierVersion)
{
    const QByteArray active = "[Desktop Entry]\nType=Application\nExec=/home/u/.local/bin/plinkly\n";
    const QByteArray switchedOff = "[Desktop Entry]\nType=Application\nExec=plinkly\nHidden=true\n";
    const struct {
        const char *name;
        QByteArray legacy;
        QByteArray current; // empty: none
        bool enabled;
    } cases[]{
        {"an active old entry", active, {}, true},
        {"an old entry the desktop switched off", switchedOff, {}, false},
        {"an old entry beside the current one", active, "[Desktop Entry]\nType=Application\nExec=/usr/bin/plinkly\n", true},
    };
    for (const auto &c : cases) {
        TestFolder folder;
        const QString autostart = folder.makeDir(QStringLiteral("autostart"));
        folder.write(QStringLiteral("autostart/plinkly.desktop"), c.legacy);
        if (!c.current.isEmpty())
            folder.write(QStringLiteral("autostart/") + LaunchAtLoginManager::entryName, c.current);

        LaunchAtLoginManager login(autostart, QStringLiteral("/usr/bin/plinkly"));
        EXPECT_EQ(login.isEnabled(), c.enabled) << c.name;
        // One entry at most, so Plinkly is started once.
        const QStringList expected = c.enabled ? QStringList{LaunchAtLoginManager::entryName} : QStringList{};
        EXPECT_EQ(QDir(autostart).entryList(QDir::Files), expected) << c.name;
        if (c.enabled) {
            QFile entry(login.entryPath());
            ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
            EXPECT_TRUE(entry.readAll().contains("\nExec=/usr/bin/plinkly\n")) << c.name;
        }
        login.setEnabled(false);
        EXPECT_TRUE(QDir(autostart).entryList(QDir::Files).isEmpty()) << c.name;
    }
}

TEST(LaunchAtLoginManager, KeepsAnOldEntryItCannotReplace)
{
    TestFolder folder;
    const QString autostart = folder.makeDir(QStringLiteral("autostart"));
    folder.write(QStringLiteral("autostart/plinkly.desktop"), "[Desktop Entry]\nType=Application\nExec=plinkly\n");
    // A folder where the new entry belongs makes writing it fail.
    folder.makeDir(QStringLiteral("autostart/") + LaunchAtLoginManager::entryName);
    LaunchAtLoginManager login(autostart, QStringLiteral("/usr/bin/plinkly"));
    EXPECT_TRUE(QFile::exists(autostart + QStringLiteral("/plinkly.desktop")));
    EXPECT_TRUE(login.isEnabled());
    login.setEnabled(false);
    EXPECT_FALSE(login.isEnabled());
    EXPECT_FALSE(QFile::exists(autostart + QStringLiteral("/plinkly.desktop")));
}

TEST(LaunchAtLoginManager, ReportsAFolderItCannotCreate)
{
    TestFolder folder;
    // A file where the configuration folder should be.
    const QString blocked = folder.write(QStringLiteral("config"), "not a folder");
    LaunchAtLoginManager login(blocked + QStringLiteral("/autostart"), QStringLiteral("/x"));
    login.setEnabled(true);
    EXPECT_FALSE(login.isEnabled());
    EXPECT_TRUE(login.errorMessage().startsWith(QStringLiteral("Couldn’t add Plinkly to the login items (")));
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
