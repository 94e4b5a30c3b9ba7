#pragma once

#include <QString>

#include <map>

class UserDefaults;

// Where a file dialog opens: in the folder last used for the same kind of file, else in Music
// for audio and the home folder for the rest; never in the process's working folder.
class DialogFolders {
public:
    enum class Kind { packs, audio, packFolder };

    // Takes the folders `defaults` kept from earlier runs and keeps every new one there too.
    void keepIn(UserDefaults &defaults);
    QString start(Kind kind) const;
    // `folder` is where the dialog should reopen: the folder of a chosen file, or a chosen folder.
    void remember(Kind kind, const QString &folder);

private:
    std::map<Kind, QString> m_last;
    UserDefaults *m_defaults = nullptr;
};
