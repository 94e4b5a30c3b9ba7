#pragma once

#include <QString>

#include <functional>

// Files that become complete in one folder: written and closed, or moved in. Sub-folders
// are not reported. Reports on the GUI thread with the file's name inside the folder.
class DirectoryWatcher {
public:
    using Handler = std::function<void(const QString &fileName)>;

    virtual ~DirectoryWatcher() = default;
    // False when the folder cannot be watched; a running watch is replaced.
    virtual bool start(const QString &folder, Handler handler) = 0;
    virtual void stop() = 0;
};
