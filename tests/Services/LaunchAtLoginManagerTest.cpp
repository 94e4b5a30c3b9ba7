#include "Services/LaunchAtLoginManager.h"
#include "support/HostileFiles.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// A program an entry can name: an executable file in the test's folder.
QString fakeProgram(const TestFolder &folder, const QString &relative)
{
    const QString path = folder.write(relative, "#!/bin/sh\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QByteArray entryText(const QString &path)
{
    QFile entry(path);
    return entry.open(QIODevice::ReadOnly) ? entry.readAll() : QByteArray();
}

}


TEST(LaunchAtLoginManager, WritesAndRemovesTheAutostartEntry)
{
    TestFolder folder;
    const QString autostart = folder.filePath(QStringLiteral("config/autostart"));
    const QString program = fakeProgram(folder, QStringLiteral("opt/plinkly/bin/plinkly"));
    LaunchAtLoginManager login(autostart, program);
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
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=") + program + u'\n'));
    // A new process sees the same registration.
    EXPECT_TRUE(LaunchAtLoginManager(autostart, QStringLiteral("/x")).isEnabled());

    login.setEnabled(false);
    EXPECT_FALSE(login.isEnabled());
    EXPECT_FALSE(QFile::exists(entry.fileName()));
    EXPECT_EQ(changed.count(), 2);
}

// Whether an entry reads as on: it must be active and name a program that can run.
TEST(LaunchAtLoginManager, AnEntryIsOnOnlyWhileActiveAndItsProgramExists)
{
    TestFolder folder;
    const QString program = fakeProgram(folder, QStringLiteral("bin/plinkly"));
    const QString notExecutable = folder.write(QStringLiteral("bin/plain"), "data");
    const struct {
        const char *name;
        QByteArray entry;
        bool on;
    } cases[]{
        {"an active entry", "[Desktop Entry]\nType=Application\nExec=" + program.toUtf8() + " --quiet\n", true},
        {"switched off by the desktop",
         "[Desktop Entry]\nType=Application\nExec=" + program.toUtf8() + "\nX-GNOME-Autostart-enabled=false\n", false},
        {"hidden", "[Desktop Entry]\nType=Application\nExec=" + program.toUtf8() + "\nHidden=true\n", false},
        {"not an application", "[Desktop Entry]\nType=Link\nExec=" + program.toUtf8() + "\n", false},
        {"keys outside the entry's group", "[Other]\nType=Application\nExec=" + program.toUtf8() + "\n", false},
        {"a program that was removed", "[Desktop Entry]\nType=Application\nExec=/nonexistent/plinkly\n", false},
        {"a file that is not executable", "[Desktop Entry]\nType=Application\nExec=" + notExecutable.toUtf8() + "\n", false},
        {"a program found on the search path", "[Desktop Entry]\nType=Application\nExec=sh -c true\n", true},
        {"a name not on the search path", "[Desktop Entry]\nType=Application\nExec=plinkly-not-installed\n", false},
    };
    for (const auto &c : cases) {
        for (const QString &name : {LaunchAtLoginManager::entryName, LaunchAtLoginManager::legacyEntryName}) {
            TestFolder autostart;
            autostart.write(name, c.entry);
            EXPECT_EQ(LaunchAtLoginManager(autostart.path(), program).isEnabled(), c.on) << c.name << " as " << name.toStdString();
        }
    }
}

TEST(LaunchAtLoginManager, ReplacesTheEntryOfAnEarlierVersion)
{
    TestFolder programs;
    const QString running = fakeProgram(programs, QStringLiteral("usr/bin/plinkly"));
    const QByteArray active = "[Desktop Entry]\nType=Application\nExec=" + fakeProgram(programs, QStringLiteral("local/plinkly")).toUtf8() + "\n";
    const QByteArray switchedOff = "[Desktop Entry]\nType=Application\nExec=" + running.toUtf8() + "\nHidden=true\n";
    const struct {
        const char *name;
        QByteArray legacy;
        QByteArray current; // empty: none
        bool enabled;
    } cases[]{
        {"an active old entry", active, {}, true},
        {"an old entry the desktop switched off", switchedOff, {}, false},
        {"an old entry beside the current one", active, "[Desktop Entry]\nType=Application\nExec=" + running.toUtf8() + "\n", true},
        {"an old entry beside a current one switched off", active,
         "[Desktop Entry]\nType=Application\nExec=" + running.toUtf8() + "\nHidden=true\n", true},
    };
    for (const auto &c : cases) {
        TestFolder folder;
        const QString autostart = folder.makeDir(QStringLiteral("autostart"));
        folder.write(QStringLiteral("autostart/plinkly.desktop"), c.legacy);
        if (!c.current.isEmpty())
            folder.write(QStringLiteral("autostart/") + LaunchAtLoginManager::entryName, c.current);

        LaunchAtLoginManager login(autostart, running);
        login.renewEntry();
        EXPECT_EQ(login.isEnabled(), c.enabled) << c.name;
        // One entry at most, so Plinkly is started once.
        const QStringList expected = c.enabled ? QStringList{LaunchAtLoginManager::entryName} : QStringList{};
        EXPECT_EQ(QDir(autostart).entryList(QDir::Files), expected) << c.name;
        if (c.enabled) {
            EXPECT_TRUE(entryText(login.entryPath()).contains("\nExec=" + running.toUtf8() + "\n")) << c.name;
        }
        login.setEnabled(false);
        EXPECT_TRUE(QDir(autostart).entryList(QDir::Files).isEmpty()) << c.name;
    }
}

TEST(LaunchAtLoginManager, KeepsAnOldEntryItCannotReplace)
{
    TestFolder folder;
    const QString program = fakeProgram(folder, QStringLiteral("bin/plinkly"));
    const QString autostart = folder.makeDir(QStringLiteral("autostart"));
    folder.write(QStringLiteral("autostart/plinkly.desktop"), "[Desktop Entry]\nType=Application\nExec=" + program.toUtf8() + "\n");
    // A folder where the new entry belongs makes writing it fail.
    folder.makeDir(QStringLiteral("autostart/") + LaunchAtLoginManager::entryName);
    LaunchAtLoginManager login(autostart, program);
    login.renewEntry();
    EXPECT_TRUE(QFile::exists(autostart + QStringLiteral("/plinkly.desktop")));
    EXPECT_TRUE(login.isEnabled());
    EXPECT_TRUE(login.errorMessage().startsWith(QStringLiteral("Couldn’t add Plinkly")));
    // Switching it on again fails the same way and still keeps the old entry.
    login.setEnabled(true);
    EXPECT_TRUE(QFile::exists(autostart + QStringLiteral("/plinkly.desktop")));
    EXPECT_TRUE(login.isEnabled());
    login.setEnabled(false);
    EXPECT_FALSE(login.isEnabled());
    EXPECT_FALSE(QFile::exists(autostart + QStringLiteral("/plinkly.desktop")));
}

// A build started from a checkout, then the installed program, then the package removed and
// the checkout's build started again: each start claims the entry for itself while it is on.
TEST(LaunchAtLoginManager, EachStartWhileOnWritesTheEntryForTheProgramRunning)
{
    TestFolder folder;
    const QString autostart = folder.filePath(QStringLiteral("autostart"));
    const QString checkout = fakeProgram(folder, QStringLiteral("checkout/build/plinkly"));
    const QString installed = fakeProgram(folder, QStringLiteral("usr/bin/plinkly"));
    const QString entry = autostart + u'/' + LaunchAtLoginManager::entryName;
    {
        LaunchAtLoginManager first(autostart, checkout);
        first.renewEntry();
        EXPECT_FALSE(first.isEnabled());
        EXPECT_FALSE(QFile::exists(entry)) << "starting never turns it on";
        first.setEnabled(true);
    }
    {
        LaunchAtLoginManager second(autostart, installed);
        second.renewEntry();
        EXPECT_TRUE(second.isEnabled());
        EXPECT_TRUE(entryText(entry).contains("\nExec=" + installed.toUtf8() + "\n"));
    }
    // The package is removed: its entry names a program that is gone.
    QFile::remove(installed);
    EXPECT_FALSE(LaunchAtLoginManager(autostart, checkout).isEnabled());
    {
        LaunchAtLoginManager third(autostart, checkout);
        QSignalSpy enabled(&third, &LaunchAtLoginManager::isEnabledChanged);
        third.renewEntry();
        EXPECT_TRUE(third.isEnabled());
        EXPECT_EQ(enabled.count(), 1);
        EXPECT_TRUE(entryText(entry).contains("\nExec=" + checkout.toUtf8() + "\n"));
    }
    // Where the entry cannot be written again, one naming a gone program does not read as on.
    TestFolder blocked;
    blocked.write(LaunchAtLoginManager::legacyEntryName, "[Desktop Entry]\nType=Application\nExec=/nonexistent/plinkly\n");
    blocked.makeDir(LaunchAtLoginManager::entryName);
    LaunchAtLoginManager fourth(blocked.path(), checkout);
    fourth.renewEntry();
    EXPECT_FALSE(fourth.isEnabled());
    EXPECT_FALSE(fourth.errorMessage().isEmpty());
}

// The entry's place may hold a link to a FIFO or an endless device: start-up reads past it.
TEST(LaunchAtLoginManager, AHostileEntryNeitherHangsStartUpNorReadsAsOn)
{
    TestFolder folder;
    const QString program = fakeProgram(folder, QStringLiteral("bin/plinkly"));
    const QString autostart = folder.makeDir(QStringLiteral("autostart"));
    const HostileFiles hostile(folder.filePath(QStringLiteral("hostile")), QString());
    for (const QString &target : hostile.paths) {
        for (const QString &name : {LaunchAtLoginManager::entryName, LaunchAtLoginManager::legacyEntryName}) {
            const QString entry = autostart + u'/' + name;
            QFile::remove(entry);
            QFile::link(target, entry);
            FifoWatchdog watchdog(hostile.fifos);
            LaunchAtLoginManager login(autostart, program);
            login.renewEntry();
            EXPECT_FALSE(watchdog.finish()) << "hung on " << target.toStdString() << " as " << name.toStdString();
            EXPECT_FALSE(login.isEnabled()) << target.toStdString();
            QFile::remove(entry);
        }
    }
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

TEST(LaunchAtLoginManager, QuotesExecutablePathsAsDesktopEntriesRequireAndReadsThemBack)
{
    const std::vector<std::pair<QString, QString>> cases{
        {QStringLiteral("/usr/bin/plinkly"), QStringLiteral("/usr/bin/plinkly")},
        {QStringLiteral("/home/a b/plinkly"), QStringLiteral("\"/home/a b/plinkly\"")},
        {QStringLiteral("/home/$x/plinkly"), QStringLiteral("\"/home/\\\\$x/plinkly\"")},
        {QStringLiteral("/opt/100%/plinkly"), QStringLiteral("/opt/100%%/plinkly")},
        {QStringLiteral("/opt/a\"b"), QStringLiteral("\"/opt/a\\\\\"b\"")},
        {QStringLiteral("/opt/a`b\\c"), QStringLiteral("\"/opt/a\\\\`b\\\\\\\\c\"")},
    };
    // Escapes other programs write: \s for a space inside a quoted argument; unquoted, it parts
    // the arguments like any space.
    EXPECT_EQ(LaunchAtLoginManager::programOf(QStringLiteral("\"/opt/my\\sapp/run\" --x")), QStringLiteral("/opt/my app/run"));
    EXPECT_EQ(LaunchAtLoginManager::programOf(QStringLiteral("/opt/my\\sapp/run --x")), QStringLiteral("/opt/my"));
    EXPECT_EQ(LaunchAtLoginManager::programOf(QStringLiteral("\"/opt/my app/run\" --x")), QStringLiteral("/opt/my app/run"));
    for (const auto &[path, exec] : cases) {
        EXPECT_EQ(LaunchAtLoginManager::execValue(path), exec) << path.toStdString();
        EXPECT_EQ(LaunchAtLoginManager::programOf(exec + QStringLiteral(" --flag")), path) << exec.toStdString();
    }
}

TEST(LaunchAtLoginManager, ReadsTheProgramOutOfExecValuesOtherProgramsWrite)
{
    // Exec values as they stand in the file, and the program each starts.
    const std::vector<std::pair<QString, QString>> cases{
        {QStringLiteral(R"(/usr/bin/plinkly %U)"), QStringLiteral("/usr/bin/plinkly")},
        {QStringLiteral(R"("/opt/my app/run" %f --x)"), QStringLiteral("/opt/my app/run")},
        {QStringLiteral(R"("/opt/my\sapp/run")"), QStringLiteral("/opt/my app/run")},
        {QStringLiteral(R"("/opt/a\\"b/run" --x)"), QStringLiteral("/opt/a\"b/run")},
        {QStringLiteral(R"("/opt/a\\\\b/run")"), QStringLiteral("/opt/a\\b/run")},
        {QStringLiteral(R"(/opt/100%%/run %%u)"), QStringLiteral("/opt/100%/run")},
        {QStringLiteral(R"(/opt/100%%%%)"), QStringLiteral("/opt/100%%")},
        // A lone backslash at the end stays as written.
        {QStringLiteral(R"(/opt/run\)"), QStringLiteral("/opt/run\\")},
        // A quote never closed takes the rest of the value, its escapes still applied.
        {QStringLiteral(R"("/opt/a b\\\\)"), QStringLiteral("/opt/a b\\")},
    };
    for (const auto &[exec, program] : cases)
        EXPECT_EQ(LaunchAtLoginManager::programOf(exec), program) << exec.toStdString();
}
