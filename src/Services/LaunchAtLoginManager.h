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

    QString entryPath() const;
    // The Exec value that runs a program at this path, quoted and escaped as desktop entries
    // require.
    static QString execValue(const QString &executablePath);

signals:
    void changed();
    void isEnabledChanged(bool value);
    void errorMessageChanged(const QString &value);

private:
    void replaceLegacyEntry();
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
