#include "App/AppController.h"
#include "App/AppWindows.h"
#include "Focus/FocusJournalStore.h"
#include "Services/Packs/SoundPackManager.h"
#include "Views/ControlWindow.h"
#include "Views/Kit/WindowPlacement.h"
#include "Services/InterfaceTheme.h"
#include "Views/ControlHeader.h"
#include "Views/Kit/ElidedLabel.h"
#include "Views/Kit/StatusPill.h"
#include "Views/Kit/VolumeControl.h"
#include "Views/MenuBarPanel.h"
#include "Views/Pages/ControlPage.h"
#include "Views/PageBar.h"
#include "fakes/FakeReactionSources.h"
#include "fakes/FakeWorkspace.h"
#include "Services/Packs/SoundFiles.h"
#include "support/LabelText.h"
#include "support/TestPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QScreen>
#include <QLineEdit>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A controller over a real settings file written before it starts.
struct WindowRig {
    TestFolder folder;
    std::unique_ptr<AppController> controller;
    std::unique_ptr<AppWindows> windows;

    explicit WindowRig(const QStringList &settings = {}, std::unique_ptr<Workspace> workspace = nullptr,
                       const std::function<void(Platform &)> &adjust = {})
    {
        writeSettledDefaults(folder, settings);
        TestPlatform base(folder);
        base.platform.packLibraryRoot = folder.makeDir(QStringLiteral("packs"));
        if (workspace)
            base.platform.workspace = std::move(workspace);
        if (adjust)
            adjust(base.platform);
        controller = std::make_unique<AppController>(std::move(base.platform));
        windows = std::make_unique<AppWindows>(*controller);
    }

    ControlWindow &open(SettingsPage page)
    {
        controller->showControlPanel(page);
        QCoreApplication::processEvents();
        return *windows->controlWindow();
    }

    // The window on the Sounds page with its studio presented.
    ControlWindow &openWithStudio()
    {
        ControlWindow &window = open(SettingsPage::sounds);
        window.state().setClipStudioPresented(true);
        return window;
    }

    QMap<QString, QVariant> storedSettings()
    {
        controller->defaults().sync();
        QSettings file(folder.filePath(QStringLiteral("defaults.ini")), QSettings::IniFormat);
        QMap<QString, QVariant> values;
        for (const QString &key : file.allKeys())
            values.insert(key, file.value(key));
        return values;
    }
};

void clickPageBar(ControlWindow &window, SettingsPage page)
{
    for (QAbstractButton *button : window.findChild<PageBar *>()->findChildren<QAbstractButton *>()) {
        if (button->accessibleName() == rawValue(page))
            button->click();
    }
}

}

TEST(ControlWindow, EveryRequestShowsItsPageEvenAfterAnInPageJump)
{
    WindowRig rig;
    AppController &app = *rig.controller;
    AppWindows &windows = *rig.windows;
    ControlWindow &window = rig.open(SettingsPage::privacy);
    EXPECT_EQ(window.page(), SettingsPage::privacy);
    EXPECT_EQ(window.size(), QSize(760, 680));

    // The page bar publishes what it shows; a button inside a page only moves the window.
    clickPageBar(window, SettingsPage::home);
    EXPECT_EQ(window.page(), SettingsPage::home);
    EXPECT_EQ(app.requestedSettingsPage(), SettingsPage::home);
    window.state().setPage(SettingsPage::focus);
    EXPECT_EQ(window.page(), SettingsPage::focus);
    EXPECT_EQ(app.requestedSettingsPage(), SettingsPage::home);

    // Asking again for the page requested last still switches back to it.
    app.showControlPanel(SettingsPage::home);
    EXPECT_EQ(window.page(), SettingsPage::home);
    EXPECT_EQ(windows.controlWindow(), &window);

    clickPageBar(window, SettingsPage::sounds);
    app.showControlPanel(SettingsPage::sounds);
    EXPECT_EQ(window.page(), SettingsPage::sounds);
    window.state().setPage(SettingsPage::toys);
    app.showControlPanel(SettingsPage::sounds);
    EXPECT_EQ(window.page(), SettingsPage::sounds);
}

// Every way onto the Focus page lists what runs at that moment, and again on the next visit.
TEST(ControlWindow, EveryDoorOntoTheFocusPageListsTheApplicationsRunningNow)
{
    // A button of the Home page itself: the page bar has a "Focus" tab of its own.
    const auto clickButton = [](ControlWindow &window, const QString &name) {
        for (QAbstractButton *button : window.pageView(SettingsPage::home)->findChildren<QAbstractButton *>())
            if (button->accessibleName() == name)
                return button->click();
        FAIL() << "no button " << name.toStdString();
    };
    const struct {
        const char *door;
        std::function<void(WindowRig &, ControlWindow &)> enter;
    } doors[] = {
        {"the page bar's tab", [](WindowRig &, ControlWindow &window) { clickPageBar(window, SettingsPage::focus); }},
        {"Home's Focus button", [&](WindowRig &, ControlWindow &window) { clickButton(window, QStringLiteral("Focus")); }},
        {"the Focus Buddy card",
         [&](WindowRig &, ControlWindow &window) { clickButton(window, QStringLiteral("Focus Buddy")); }},
        {"a request from the panel or the pet",
         [](WindowRig &rig, ControlWindow &) { rig.controller->showControlPanel(SettingsPage::focus); }},
    };
    const WorkspaceApplication editor{QStringLiteral("org.editor"), QStringLiteral("Editor")};
    const WorkspaceApplication browser{QStringLiteral("org.browser"), QStringLiteral("Browser")};
    for (const auto &d : doors) {
        auto owned = std::make_unique<FakeWorkspace>();
        FakeWorkspace &workspace = *owned;
        WindowRig rig({}, std::move(owned));
        const auto listed = [&rig] {
            QStringList names;
            for (const FocusAppOption &option : rig.controller->focusController().session().availableApplications())
                names.append(option.name);
            return names;
        };
        ControlWindow &window = rig.open(SettingsPage::home);
        workspace.running = {editor};
        clickPageBar(window, SettingsPage::sounds);
        EXPECT_TRUE(listed().isEmpty()) << d.door << ": only the Focus page looks";

        clickPageBar(window, SettingsPage::home);
        d.enter(rig, window);
        QCoreApplication::processEvents();
        EXPECT_EQ(window.page(), SettingsPage::focus) << d.door;
        EXPECT_EQ(listed(), QStringList{QStringLiteral("Editor")}) << d.door;

        // The editor quit and a browser started before the next visit.
        workspace.running = {browser};
        clickPageBar(window, SettingsPage::home);
        d.enter(rig, window);
        QCoreApplication::processEvents();
        EXPECT_EQ(listed(), QStringList{QStringLiteral("Browser")}) << d.door;
    }

    // The tab of the page already shown looks again too.
    auto owned = std::make_unique<FakeWorkspace>();
    FakeWorkspace &workspace = *owned;
    WindowRig rig({}, std::move(owned));
    ControlWindow &window = rig.open(SettingsPage::focus);
    workspace.running = {editor};
    clickPageBar(window, SettingsPage::focus);
    ASSERT_EQ(rig.controller->focusController().session().availableApplications().size(), 1);
}

// A closed window is freed; the one built when it opens again shows what the user left.
TEST(ControlWindow, AWindowBuiltAgainAfterClosingShowsTheSameState)
{
    WindowRig rig;
    ControlWindow &window = rig.open(SettingsPage::focus);
    const auto taskField = [&rig] {
        for (QLineEdit *field : rig.windows->controlWindow()->findChildren<QLineEdit *>())
            if (field->accessibleName() == QStringLiteral("Add one clear next step"))
                return field;
        return static_cast<QLineEdit *>(nullptr);
    };
    ASSERT_NE(taskField(), nullptr);
    QTest::keyClicks(taskField(), QStringLiteral("Write the report"));
    window.state().appChoicesExpanded = true;
    window.move(window.pos() + QPoint(40, 30));
    const QRect placed = window.geometry();
    window.close();
    EXPECT_EQ(rig.windows->controlWindow(), nullptr);

    ControlWindow &again = rig.open(SettingsPage::focus);
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(again.page(), SettingsPage::focus);
    EXPECT_EQ(again.geometry(), placed);
    ASSERT_NE(taskField(), nullptr);
    EXPECT_EQ(taskField()->text(), "Write the report");
    EXPECT_TRUE(again.state().appChoicesExpanded);
}

TEST(ControlWindow, ImportAlertClearsTheErrorAndReturnsForTheNextOne)
{
    WindowRig rig;
    ControlWindow &window = rig.open(SettingsPage::sounds);
    SoundPackManager &packs = rig.controller->packs();

    packs.setLastError(QStringLiteral("That folder has no manifest."));
    QCoreApplication::processEvents();
    QMessageBox *alert = window.importAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(alert->windowTitle(), "Couldn’t import that sound pack");
    // The heading stands in the box itself, not only in a title bar some desktops do not draw.
    EXPECT_EQ(alert->text(), "Couldn’t import that sound pack");
    EXPECT_EQ(alert->informativeText(), "That folder has no manifest.");
    alert->button(QMessageBox::Ok)->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(packs.lastError().has_value());
    EXPECT_FALSE(alert->isVisible());

    packs.setLastError(QStringLiteral("Second failure."));
    QCoreApplication::processEvents();
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(alert->informativeText(), "Second failure.");
    // Dismissing it any other way clears the error as well.
    alert->reject();
    QCoreApplication::processEvents();
    EXPECT_FALSE(packs.lastError().has_value());
}

TEST(ControlWindow, AccentFollowsTheStoredThemeAndFallsBackToViolet)
{
    WindowRig rig({QStringLiteral("interfaceThemeID=nonsense")});
    ControlWindow &window = rig.open(SettingsPage::home);
    const QColor violet = QColor::fromRgbF(0.51f, 0.29f, 0.82f);
    EXPECT_EQ(window.palette().color(QPalette::Highlight), violet);
    rig.controller->settings().setInterfaceThemeID(QStringLiteral("ocean"));
    QCoreApplication::processEvents();
    EXPECT_EQ(window.palette().color(QPalette::Highlight), QColor::fromRgbF(0.13f, 0.40f, 0.69f));
    rig.controller->settings().setInterfaceThemeID(QString());
    QCoreApplication::processEvents();
    EXPECT_EQ(window.palette().color(QPalette::Highlight), violet);
}

TEST(ControlWindow, ShowingEveryPageAndThePanelWritesNoSetting)
{
    WindowRig rig({QStringLiteral("keyboardVolume=1.8"), QStringLiteral("cooldown=9"),
                   QStringLiteral("toyVolume=-1")});
    const QMap<QString, QVariant> before = rig.storedSettings();
    SettingsStore &settings = rig.controller->settings();

    ControlWindow &window = rig.open(SettingsPage::home);
    for (SettingsPage page : allCases<SettingsPage>()) {
        rig.controller->showControlPanel(page);
        window.sync();
    }
    window.resize(620, 500);
    QCoreApplication::processEvents();
    MenuBarPanel panel(*rig.controller);
    panel.show();
    QCoreApplication::processEvents();
    VolumeControl volume(QStringLiteral("Keyboard"), {[&] { return settings.keyboardVolume(); },
                                                      [&](double value) { settings.setKeyboardVolume(value); }});
    volume.show();
    QCoreApplication::processEvents();

    EXPECT_EQ(volume.readoutText(), "180%  BOOST");
    EXPECT_EQ(settings.keyboardVolume(), 1.8);
    EXPECT_EQ(rig.storedSettings(), before);
}

TEST(ControlWindow, EverythingFitsAtTheMinimumSize)
{
    WindowRig rig({QStringLiteral("effectsPaused=true")});
    ControlWindow &window = rig.open(SettingsPage::home);
    for (const QSize size : {QSize(760, 680), QSize(620, 500)}) {
        window.resize(size);
        for (SettingsPage page : allCases<SettingsPage>()) {
            rig.controller->showControlPanel(page);
            QCoreApplication::processEvents();
            EXPECT_EQ(window.size(), size);
            EXPECT_LE(window.minimumSizeHint().width(), 620);
            const auto *view = static_cast<const QScrollArea *>(window.pageView(page));
            EXPECT_FALSE(view->horizontalScrollBar()->isVisible()) << rawValue(page).toStdString();
            // The bar shows only when the page scrolls.
            EXPECT_EQ(view->verticalScrollBar()->isVisible(), view->widget()->height() > view->viewport()->height())
                << rawValue(page).toStdString();
            EXPECT_LE(view->widget()->minimumSizeHint().width(), view->viewport()->width());
        }
    }
}

namespace {

// A pack in the library whose name and description run far past a card.
void addLongPack(const QString &root, const QString &id, SoundPackManifest::PackKind kind, const QString &longText)
{
    QDir().mkpath(root + QLatin1Char('/') + id);
    QFile sample(root + QLatin1Char('/') + id + QStringLiteral("/press.wav"));
    ASSERT_TRUE(sample.open(QIODevice::WriteOnly));
    sample.write(SoundFiles::encode(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 1, std::vector<float>(480, 0.2f)));
    sample.close();
    SoundPackManifest manifest;
    manifest.id = id;
    manifest.name = longText.left(70);
    manifest.author = QStringLiteral("Tests");
    manifest.switchType = longText;
    manifest.kind = kind;
    manifest.metadata = std::map<QString, QString>{{QStringLiteral("description"), longText}};
    const bool keyboard = kind == SoundPackManifest::PackKind::keyboard;
    manifest.groups[keyboard ? KeyGroup::regular : KeyGroup::reaction].down = {QStringLiteral("press.wav")};
    QFile file(root + QLatin1Char('/') + id + QStringLiteral("/manifest.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(manifest.toJson());
}

// Labels on a page that are cut without an ellipsis: a line wider than the label, lines taller
// than it (a wrapped text cut through its last line), a label running off the page, or a cut
// text whose tooltip does not tell the whole of it.
// The part of a widget its parents leave visible, up to `root`, in the widget's coordinates.
QRect unclipped(const QWidget *widget, const QWidget *root)
{
    QRect shown = widget->rect();
    QPoint offset;
    for (const QWidget *child = widget; child != root; child = child->parentWidget()) {
        offset += child->pos();
        shown &= child->parentWidget()->rect().translated(-offset);
    }
    return shown;
}

QStringList cutLabels(const QScrollArea *view)
{
    const QWidget *root = view->widget();
    const QRect visible = view->viewport()->rect();
    QStringList found;
    for (const QLabel *label : root->findChildren<QLabel *>()) {
        if (!label->isVisibleTo(root) || label->text().isEmpty() || Qt::mightBeRichText(label->text()))
            continue;
        const QString text = label->text();
        const QRect box = label->contentsRect();
        const QRect onPage(label->mapTo(view->viewport(), box.topLeft()), box.size());
        if (onPage.right() > visible.right())
            found << text.left(40) + QStringLiteral(" (runs off the page)");
        const auto *elided = qobject_cast<const ElidedLabel *>(label);
        if (elided) {
            static const QRegularExpression blank(QStringLiteral("[\\s\u200B]"));
            const QString shown = QString(text).remove(blank);
            if (shown != QString(elided->fullText()).remove(blank)
                && (!shown.endsWith(QChar(0x2026)) || elided->toolTip() != elided->fullText()))
                found << text.left(40) + QStringLiteral(" (cut without ellipsis or tooltip)");
        }
        // Only a label that knows its whole text can tell it when cut.
        if (!elided && text.contains(QChar(0x2026)))
            found << text.left(40) + QStringLiteral(" (an ellipsis with no whole text)");
        const QFontMetrics metrics = label->fontMetrics();
        if (label->wordWrap()) {
            if (label->height() < label->heightForWidth(label->width()))
                found << text.left(40) + QStringLiteral(" (lines cut: %1 of %2 high)").arg(label->height())
                                             .arg(label->heightForWidth(label->width()));
            continue;
        }
        const QStringList lines = text.split(QLatin1Char('\n'));
        const int shownHeight = (box & unclipped(label, root)).height();
        const int drawnHeight = metrics.boundingRect(QRect(QPoint(), box.size()), int(Qt::AlignLeft | Qt::AlignTop), text).height();
        if (shownHeight < drawnHeight)
            found << text.left(40) + QStringLiteral(" (%1 lines in %2 px)").arg(lines.size()).arg(shownHeight);
        for (const QString &line : lines) {
            const int need = metrics.horizontalAdvance(line);
            if (need > box.width() + 1)
                found << line.left(40) + QStringLiteral(" (%1 of %2)").arg(box.width()).arg(need);
        }
    }
    return found;
}

}

// Every page at the smallest and the usual width, with long texts where users and their files
// put them: no label is cut without an ellipsis and every page-bar tab shows its whole title.
TEST(ControlWindow, NoTextIsCutWithoutAnEllipsis)
{
    // The font the pictures are made with, so what is measured here is what they show.
    const QFont before = QApplication::font();
    QFont pinned(QStringLiteral("DejaVu Sans"));
    pinned.setPixelSize(13);
    QApplication::setFont(pinned);
    const auto restore = qScopeGuard([&before] { QApplication::setFont(before); });
    const QString longText = QStringLiteral("Write the whole introduction of the quarterly report, then a paragraph "
                                            "on every chapter and the closing summary");
    const QString longName = QStringLiteral("Holiday Photographs From The Long Summer Trip Along The Coast");
    WindowRig rig({QStringLiteral("focusGoal=") + longText,
                   QStringLiteral("focusAllowedBundleIDs=org.example.MusicPlayerWithAVeryLongNameIndeedForSure"),
                   QStringLiteral("arrivalReactionsEnabled=true"), QStringLiteral("screenshotReactionsEnabled=true")},
                  nullptr, [&longName](Platform &platform) {
                      platform.reactions.mounts = std::make_unique<FakeMountWatcher>();
                      platform.reactions.downloads = std::make_unique<FakeDirectoryWatcher>();
                      platform.reactions.screenshots = std::make_unique<FakeDirectoryWatcher>();
                      platform.reactions.downloadsFolder = QStringLiteral("/home/u/Downloads");
                      platform.reactions.screenshotFolder = ScreenshotLocation::Folder{QStringLiteral("/home/u/") + longName, false};
                  });
    SoundPackManager &packs = rig.controller->packs();
    addLongPack(packs.keyboardRoot(), QStringLiteral("long-keys"), SoundPackManifest::PackKind::keyboard, longText);
    addLongPack(packs.reactionRoot(), QStringLiteral("long-taps"), SoundPackManifest::PackKind::reaction, longText);
    ASSERT_TRUE(packs.reload().has_value());
    ASSERT_EQ(packs.keyboardPacks().size(), 1);
    ASSERT_EQ(packs.reactionPacks().size(), 1);
    rig.controller->effectsController().start();
    rig.controller->arrivalReactions().setLastEventText(longName + QStringLiteral(".tar.gz downloaded"));
    FocusJournalStore &journal = rig.controller->journal();
    const QDateTime end = QDateTime::currentDateTime();
    const QString reflection = longText + QStringLiteral(", ") + longText + QStringLiteral(" and every appendix");
    journal.saveReflection(reflection, journal.recordSession({longText, end.addSecs(-1500), end, 25, true, 1500}));
    journal.recordSession({QString(), end.addSecs(-600), end, 10, false, 600});
    journal.addCheckIn(longText.repeated(3), QString());
    journal.saveSetup(longText, 50, {QStringLiteral("org.example.editor")});
    // The long writing is on its page, so the walk measures it.
    const QMultiMap<SettingsPage, QString> planted{{SettingsPage::sounds, longText.left(70)},
                                                   {SettingsPage::sounds, longText},
                                                   {SettingsPage::reactions, longText},
                                                   {SettingsPage::system, longName + QStringLiteral(".tar.gz downloaded")},
                                                   {SettingsPage::system, QStringLiteral("Watching ") + longName},
                                                   {SettingsPage::focus, longText.repeated(3)},
                                                   {SettingsPage::focus, reflection}};
    ControlWindow &window = rig.open(SettingsPage::home);
    for (const int width : {620, 760}) {
        window.resize(width, 600);
        for (SettingsPage page : allCases<SettingsPage>()) {
            rig.controller->showControlPanel(page);
            QCoreApplication::processEvents();
            const auto *view = static_cast<const QScrollArea *>(window.pageView(page));
            EXPECT_EQ(cutLabels(view).join(QStringLiteral("; ")).toStdString(), "")
                << rawValue(page).toStdString() << " at " << width;
            QStringList shown;
            for (const QLabel *label : view->widget()->findChildren<QLabel *>()) {
                if (label->isVisibleTo(view->widget()))
                    shown << QString(wholeText(label)).remove(QChar(0x200B));
            }
            for (const QString &text : planted.values(page))
                EXPECT_TRUE(shown.contains(text)) << text.left(40).toStdString() << " at " << width;
            for (QAbstractButton *tab : window.findChild<PageBar *>()->findChildren<QAbstractButton *>())
                EXPECT_GE(tab->width() - 6, tab->fontMetrics().horizontalAdvance(tab->text()))
                    << tab->text().toStdString() << " at " << width;
        }
    }
}

TEST(ControlWindow, StudioOpensAsAFreshDialogAndCloseDismissesIt)
{
    WindowRig rig;
    ControlWindow &window = rig.openWithStudio();
    QPointer<StudioSheet> first = window.studioSheet();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowModality(), Qt::WindowModal);

    for (QPushButton *button : first->findChildren<QPushButton *>()) {
        if (button->text() == "Close")
            button->click();
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window.state().clipStudioPresented());
    EXPECT_TRUE(first.isNull());

    window.state().setClipStudioPresented(true);
    ASSERT_NE(window.studioSheet(), nullptr);
    EXPECT_TRUE(window.studioSheet()->isVisible());
    window.state().setClipStudioPresented(false);
    QCoreApplication::processEvents();

    // A window smaller than the studio's ideal page, down to the smallest: the sheet's frame
    // lies inside the window's client area, and the page scrolls.
    for (const QSize size : {QSize(760, 705), QSize(760, 500), QSize(620, 500)}) {
        window.resize(size);
        window.state().setClipStudioPresented(true);
        ASSERT_NE(window.studioSheet(), nullptr);
        const QRect client(window.mapToGlobal(QPoint(0, 0)), window.size());
        EXPECT_TRUE(client.contains(window.studioSheet()->frameGeometry()))
            << size.width() << "x" << size.height();
        window.state().setClipStudioPresented(false);
        QCoreApplication::processEvents();
    }
}

TEST(WindowPlacement, ASheetsFrameLiesInsideItsWindowsClientAreaAndKeepsItsCentre)
{
    const QMargins frame(2, 24, 2, 2);
    for (const QRect client : {QRect(100, 80, 760, 680), QRect(100, 80, 620, 500), QRect(-300, 0, 620, 500)}) {
        for (const QSize wanted : {QSize(680, 740), QSize(300, 200), QSize(900, 300)}) {
            const QRect placed = WindowPlacement::sheetFrame(client, frame, wanted);
            EXPECT_TRUE(client.contains(placed)) << client.width() << " " << wanted.width() << "x" << wanted.height();
            EXPECT_LE((placed.center() - client.center()).manhattanLength(), 2);
            // Where the window has room, the sheet gets its whole wish.
            if (wanted.grownBy(frame).width() <= client.width()) {
                EXPECT_EQ(placed.width(), wanted.grownBy(frame).width());
            }
        }
    }
}

// A window closed with its studio open is freed; the one built when it opens again brings the
// studio back in the window's accent of the moment, and follows the app as the first did.
TEST(ControlWindow, AWindowBuiltAgainBringsBackItsStudioAndKeepsInStep)
{
    WindowRig rig;
    ControlWindow &first = rig.openWithStudio();
    QPointer<StudioSheet> firstStudio = first.studioSheet();
    ASSERT_NE(firstStudio, nullptr);
    first.close();
    rig.controller->settings().setInterfaceThemeID(QStringLiteral("rose"));
    rig.controller->settings().setEffectsPaused(true);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(firstStudio.isNull());
    const QColor rose = InterfaceThemes::accent(InterfaceTheme::rose);

    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        ControlWindow &again = rig.open(SettingsPage::sounds);
        EXPECT_EQ(again.palette().color(QPalette::Highlight), rose);
        EXPECT_EQ(again.header()->effectsPill()->text(), "Paused");
        ASSERT_NE(again.studioSheet(), nullptr);
        EXPECT_TRUE(again.studioSheet()->isVisible());
        EXPECT_EQ(again.studioSheet()->palette().color(QPalette::Highlight), rose);

        // The rebuilt window follows later changes too.
        rig.controller->settings().setEffectsPaused(false);
        QCoreApplication::processEvents();
        EXPECT_EQ(again.header()->effectsPill()->text(), "Effects live");
        rig.controller->settings().setEffectsPaused(true);
        QCoreApplication::processEvents();
        again.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Put away before the window closed, the studio stays away.
    ControlWindow &third = rig.open(SettingsPage::sounds);
    third.state().setClipStudioPresented(false);
    QCoreApplication::processEvents();
    third.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(rig.open(SettingsPage::sounds).studioSheet(), nullptr);
}

TEST(ControlWindow, ChangesRedrawOnceTheEventLoopTurns)
{
    WindowRig rig;
    ControlWindow &window = rig.open(SettingsPage::home);
    StatusPill *effects = window.header()->effectsPill();
    EXPECT_EQ(effects->text(), "Effects live");
    rig.controller->settings().setEffectsPaused(true);
    rig.controller->settings().setInterfaceThemeID(QStringLiteral("rose"));
    EXPECT_EQ(effects->text(), "Effects live");
    QCoreApplication::processEvents();
    EXPECT_EQ(effects->text(), "Paused");
    EXPECT_EQ(effects->color(), KitStyle::color(ColorRole::orange));
    EXPECT_EQ(window.palette().color(QPalette::Highlight), InterfaceThemes::accent(InterfaceTheme::rose));

    // A closed window catches up when it comes back.
    window.close();
    rig.controller->settings().setEffectsPaused(false);
    QCoreApplication::processEvents();
    rig.controller->showControlPanel(SettingsPage::home);
    EXPECT_EQ(rig.windows->controlWindow()->header()->effectsPill()->text(), "Effects live");
}

TEST(ControlWindow, InputPillCountsDownWhileAFocusSessionRuns)
{
    WindowRig rig({QStringLiteral("focusMinutes=25")});
    ControlWindow &window = rig.open(SettingsPage::home);
    StatusPill *input = window.header()->inputPill();
    EXPECT_EQ(input->text(), "App only");

    rig.controller->startFocusSession();
    QCoreApplication::processEvents();
    EXPECT_EQ(input->text(), "25:00");
    rig.controller->focusController().session().stop(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(input->text(), "App only");
}
