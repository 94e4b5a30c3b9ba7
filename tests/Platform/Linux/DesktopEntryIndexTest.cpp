#include "Platform/Linux/DesktopEntryIndex.h"
#include "support/HostileFiles.h"
#include "support/TestFolders.h"

#include <gtest/gtest.h>

#include <QThread>

namespace {

QByteArray desktopFile(const QByteArray &name, const QByteArray &extra = {})
{
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=true\n" + extra;
}

struct Installed {
    TestFolder user;
    TestFolder system;
    DesktopEntryIndex index{{user.filePath("applications"), system.filePath("applications")}, "pt_BR"};

    Installed()
    {
        system.write("applications/org.example.Editor.desktop", desktopFile("Editor"));
        system.write("applications/writer.desktop", desktopFile("Writer", "StartupWMClass=WriterMain\n"));
        system.write("applications/tools/calc.desktop", desktopFile("Calculator", "Name[pt]=Calculadora\n"));
        system.write("applications/paint.desktop",
                     desktopFile("Paint", "Name[pt_BR]=Pintura\nName[pt]=Pintar\nName[de]=Malen\n"));
        system.write("applications/mixer.desktop", desktopFile("Mixer"));
        // The user's copy hides the system's.
        user.write("applications/mixer.desktop", desktopFile("Mixer", "Hidden=true\n"));
        user.write("applications/notes.desktop",
                   "# notes\n[Desktop Entry]\nType=Application\nName=My\\sNotes\n[Desktop Action new]\nName=New note\n");
        system.write("applications/link.desktop", "[Desktop Entry]\nType=Link\nName=Site\n");
    }
};

TEST(DesktopEntryIndexTest, NamesWindowsByTheirDesktopFile)
{
    Installed installed;
    struct Case {
        WindowIdentity window;
        WorkspaceApplication expected;
    };
    const Case cases[] = {
        {{"org.example.Editor", {}, "editor", "Editor-bin"}, {"org.example.Editor", "Editor"}},
        {{{}, "org.example.Editor.desktop", {}, "X"}, {"org.example.Editor", "Editor"}},
        {{"org.example.Missing", {}, "m", "Missing"}, {"org.example.Missing", "Missing"}},
        {{{}, {}, "writer", "WriterMain"}, {"writer", "Writer"}},
        {{{}, {}, "ORG.EXAMPLE.EDITOR", "Unrelated"}, {"org.example.Editor", "Editor"}},
        {{{}, {}, "x", "tools-calc"}, {"tools-calc", "Calculadora"}},
        {{{}, {}, "paint", "Paint"}, {"paint", "Pintura"}},
        {{{}, {}, "notes", "Notes"}, {"notes", "My Notes"}},
        {{{}, {}, "mixer", "Mixer"}, {"wmclass:Mixer", "Mixer"}},
        {{{}, {}, "link", "Link"}, {"wmclass:Link", "Link"}},
        {{}, {}},
    };
    for (const Case &c : cases) {
        const WorkspaceApplication found = installed.index.application(c.window);
        EXPECT_EQ(found.identifier, c.expected.identifier) << c.window.className.toStdString();
        EXPECT_EQ(found.name, c.expected.name) << c.window.className.toStdString();
    }
}

TEST(DesktopEntryIndexTest, SeesApplicationsInstalledAfterTheFirstLookUp)
{
    Installed installed;
    EXPECT_FALSE(installed.index.entry("draw"));
    // Folder times have a resolution the next write must get past.
    QThread::msleep(20);
    installed.system.write("applications/draw.desktop", desktopFile("Draw"));
    ASSERT_TRUE(installed.index.entry("draw"));
    EXPECT_EQ(installed.index.entry("draw")->name, "Draw");
}

TEST(DesktopEntryIndexTest, HostileEntriesAreSkippedWhetherReadAheadOrOnDemand)
{
    Installed installed;
    const HostileFiles hostile(installed.user.filePath("applications"), QStringLiteral(".desktop"));
    FifoWatchdog watchdog(hostile.fifos);
    DesktopEntryIndex ahead{{installed.user.filePath("applications"), installed.system.filePath("applications")}, "pt_BR"};
    ahead.prefetch();
    for (DesktopEntryIndex *index : {&ahead, &installed.index}) {
        ASSERT_TRUE(index->entry("paint"));
        EXPECT_EQ(index->entry("paint")->name, "Pintura");
        for (const char *id : {"fifo", "fifo-link", "zero-link", "urandom-link", "huge"})
            EXPECT_FALSE(index->entry(QLatin1String(id))) << id;
    }
    EXPECT_FALSE(watchdog.finish()) << "reading the entries waited on a FIFO";

    // A folder that changes after the read ahead is read again.
    QThread::msleep(20);
    installed.system.write("applications/draw.desktop", desktopFile("Draw"));
    ASSERT_TRUE(ahead.entry("draw"));
}


// Flatpak exports its entries as relative links through links of its own ("current",
// "active"); Snap and others link absolutely to files elsewhere. Both are read; a link that
// leads nowhere or to a folder is skipped.
TEST(DesktopEntryIndexTest, EntriesThatAreLinksToFilesElsewhereAreRead)
{
    TestFolder flatpak;
    const QString exported = flatpak.makeDir("exports/share/applications");
    flatpak.write("app/org.example.Flat/x86_64/stable/1a2b/export/share/applications/org.example.Flat.desktop",
                  desktopFile("Flat", "StartupWMClass=flat-main\n"));
    QFile::link("x86_64/stable", flatpak.filePath("app/org.example.Flat/current"));
    QFile::link("1a2b", flatpak.filePath("app/org.example.Flat/current/active"));
    QFile::link("../../../app/org.example.Flat/current/active/export/share/applications/org.example.Flat.desktop",
                exported + "/org.example.Flat.desktop");
    TestFolder snap;
    const QString snapped = snap.write("snap/calc/current/meta/gui/calc.desktop", desktopFile("Snap Calc"));
    QFile::link(snapped, exported + "/calc_calc.desktop");
    QFile::link(snap.filePath("gone.desktop"), exported + "/gone.desktop");
    QFile::link(snap.makeDir("folder.desktop"), exported + "/folder.desktop");

    for (bool ahead : {false, true}) {
        DesktopEntryIndex index{{exported}, "en_US"};
        if (ahead)
            index.prefetch();
        ASSERT_TRUE(index.entry("org.example.Flat")) << "read ahead: " << ahead;
        EXPECT_EQ(index.entry("org.example.Flat")->name, "Flat");
        EXPECT_EQ(index.application({{}, {}, "flat", "flat-main"}).identifier, "org.example.Flat");
        ASSERT_TRUE(index.entry("calc_calc"));
        EXPECT_EQ(index.entry("calc_calc")->name, "Snap Calc");
        EXPECT_FALSE(index.entry("gone"));
        EXPECT_FALSE(index.entry("folder"));
    }
}
}
