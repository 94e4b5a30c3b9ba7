#pragma once

#include "Foundation/ApplicationId.h"

#include <QObject>
#include <QString>

// Starting Plinkly at login through an XDG autostart entry named after the application id, in
// the autostart folder of the user's configuration, that runs this executable.
class LaunchAtLoginManager final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isEnabled READ isEnabled NOTIFY isEnabledChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)

public:
    static inline const QString entryName = applicationId + QStringLiteral(".desktop");
    // The entry's name in earlier versions. An active one found at start is replaced by the
    // current entry, so an upgrade keeps the choice and Plinkly still starts once.
    static inline const QString legacyEntryName = QStringLiteral("plinkly.desktop");

    // $XDG_CONFIG_HOME/autostart and the running executable.
    explicit LaunchAtLoginManager(QObject *parent = nullptr);
    LaunchAtLoginManager(QString autostartFolder, QString executablePath, QObject *parent = nullptr);

    bool isEnabled() const { return m_isEnabled; }
    // The last failure's description; empty after a success.
    QString errorMessage() const { return m_errorMessage; }
    void setEnabled(bool enabled);

    // Called once Plinkly runs as the only copy: while launch at login is on, the entry (or an
    // earlier version's) is written again to start the executable running now, so a build
    // that replaced another, or an entry left by a removed package, starts this program.
    void renewEntry();

    QString entryPath() const;
    // The Exec value that runs a program at this path, quoted and escaped as desktop entries
    // require.
    static QString execValue(const QString &executablePath);
    // The program an Exec value starts: its first argument, unquoted.
    static QString programOf(const QString &execValue);

signals:
    void changed();
    void isEnabledChanged(bool value);
    void errorMessageChanged(const QString &value);

private:
    QByteArray entryText() const;
    // The entry for this executable, written atomically; a failure's description, or empty.
    QString writeEntry() const;
    void removeLegacyEntry() const;
    bool readRegistration() const;
    void publish(bool enabled, const QString &error);

    QString m_autostartFolder;
    QString m_executablePath;
    bool m_isEnabled = false;
    QString m_errorMessage;
};
