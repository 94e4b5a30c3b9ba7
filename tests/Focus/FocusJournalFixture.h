#pragma once

#include "Focus/FocusJournalStore.h"
#include "Platform/UserDefaults.h"
#include "fakes/ManualClock.h"
#include "support/TestFolders.h"

#include <memory>

// A journal over a throw-away user-defaults file, with a clock the test sets.
struct FocusJournalFixture {
    TestFolder folder;
    ManualClock clock;
    std::unique_ptr<UserDefaults> defaults = std::make_unique<UserDefaults>(folder.filePath("defaults.ini"));
    std::unique_ptr<FocusJournalStore> store;

    FocusJournalFixture() { clock.setNow(QDateTime(QDate(2026, 3, 14), QTime(10, 0))); }

    FocusJournalStore &open()
    {
        store = std::make_unique<FocusJournalStore>(*defaults, clock);
        return *store;
    }

    // Drops the store and reads everything back from the file, as a new launch would.
    FocusJournalStore &reopen()
    {
        store.reset();
        defaults->sync();
        defaults = std::make_unique<UserDefaults>(folder.filePath("defaults.ini"));
        return open();
    }

    QByteArray stored(const QString &key) const { return defaults->value(key).toByteArray(); }
};
