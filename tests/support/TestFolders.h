#pragma once

#include "Platform/UserDefaults.h"
#include "Services/SettingsStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

// A throw-away folder that is removed with everything in it when the test ends.
class TestFolder {
public:
    TestFolder() { m_dir.setAutoRemove(true); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString makeDir(const QString &relative) const
    {
        QDir(path()).mkpath(relative);
        return filePath(relative);
    }
    QString write(const QString &relative, const QByteArray &bytes) const
    {
        const QString full = filePath(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return full;
    }

private:
    QTemporaryDir m_dir;
};

// A user-defaults domain in a temporary INI file, and a settings store over it.
struct TestSettings {
    TestFolder folder;
    std::unique_ptr<UserDefaults> defaults = std::make_unique<UserDefaults>(folder.filePath("defaults.ini"));
    std::unique_ptr<SettingsStore> store = std::make_unique<SettingsStore>(*defaults);

    // Re-reads everything from the file, as a new launch would.
    void reopen()
    {
        store.reset();
        defaults->sync();
        defaults = std::make_unique<UserDefaults>(folder.filePath("defaults.ini"));
        store = std::make_unique<SettingsStore>(*defaults);
    }
};
