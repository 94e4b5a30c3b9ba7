#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

#include <memory>

// The user-defaults domain: one INI file at the XDG config location (a temporary file in
// tests). Every store that persists preferences or records goes through it.
class UserDefaults {
public:
    // The standard domain of this user.
    UserDefaults();
    // A domain kept in the given file.
    explicit UserDefaults(const QString &filePath);

    QVariant value(const QString &key) const;
    // The value of a top-level key as the file spells it, for a value Qt cannot decode (an
    // "@Variant(...)" of a type it does not know reads as no value at all); empty when absent.
    QByteArray storedText(const QString &key) const;
    bool contains(const QString &key) const;
    void setValue(const QString &key, const QVariant &value);
    void remove(const QString &key);
    void sync();
    QString filePath() const;

private:
    std::unique_ptr<QSettings> m_settings;
};
