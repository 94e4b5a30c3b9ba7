#pragma once

#include <QString>

#include <functional>

// Files that newly appear complete in one folder: moved in under their name, or created while
// watched and then closed after writing. Later writes to a file already there are not
// reported, nor are sub-folders. Reports on the GUI thread with the file's name inside the folder.
class DirectoryWatcher {
public:
    using Handler = std::function<void(const QString &fileName)>;

    virtual ~DirectoryWatcher() = default;
    // False when the folder cannot be watched; a running watch is replaced.
    virtual bool start(const QString &folder, Handler handler) = 0;
    virtual void stop() = 0;
};
