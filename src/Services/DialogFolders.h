#pragma once

#include <QString>

#include <map>

// Where a file dialog opens: in the folder last used for the same kind of file while the
// application runs, else in Music for audio and the home folder for the rest; never in the
// process's working folder.
class DialogFolders {
public:
    enum class Kind { packs, audio, packFolder };

    QString start(Kind kind) const;
    // `folder` is where the dialog should reopen: the folder of a chosen file, or a chosen folder.
    void remember(Kind kind, const QString &folder);

private:
    std::map<Kind, QString> m_last;
};
