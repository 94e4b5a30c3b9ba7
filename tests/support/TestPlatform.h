#pragma once

#include "Platform/Platform.h"
#include "fakes/FakeAppShell.h"
#include "fakes/ManualClock.h"
#include "support/TestFolders.h"

// A platform bundle for a controller under test: defaults and the run lock in a throw-away
// folder, a fake shell, and a clock and scheduler the test moves by hand. Tests replace
// further members before handing `platform` over.
struct TestPlatform {
    Platform platform;
    FakeAppShell *shell = nullptr;
    ManualClock *clock = nullptr;
    ManualScheduler *scheduler = nullptr;

    explicit TestPlatform(const TestFolder &folder, const QString &lockName = QStringLiteral("plinkly.lock"))
    {
        platform.defaults = std::make_unique<UserDefaults>(folder.filePath("defaults.ini"));
        auto fakeShell = std::make_unique<FakeAppShell>();
        shell = fakeShell.get();
        platform.shell = std::move(fakeShell);
        platform.runLockPath = folder.filePath(lockName);
        auto manualClock = std::make_unique<ManualClock>();
        clock = manualClock.get();
        auto manualScheduler = std::make_unique<ManualScheduler>(*clock);
        scheduler = manualScheduler.get();
        platform.clock = std::move(manualClock);
        platform.scheduler = std::move(manualScheduler);
    }
};

// Writes the settings file TestPlatform reads: a user past onboarding and the one-time steps,
// followed by the test's own "key=value" lines.
inline void writeSettledDefaults(const TestFolder &folder, const QStringList &extra = {})
{
    const QStringList lines{QStringLiteral("[General]"), QStringLiteral("hasCompletedOnboarding=true"),
                            QStringLiteral("installedCC0AudioUpgrade1=true"),
                            QStringLiteral("didRequestInputMonitoringV2=true")};
    folder.write(QStringLiteral("defaults.ini"), (lines + extra).join(u'\n').toUtf8() + '\n');
}
