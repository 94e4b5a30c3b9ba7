#pragma once

#include "Foundation/Error.h"

#include <QString>

// A folder only this user can enter (mode 0700), made fresh under the system's temporary
// folder; removed with everything in it when the object goes away.
class PrivateTempDir {
public:
    static Result<PrivateTempDir> create(const QString &prefix);

    PrivateTempDir(PrivateTempDir &&other) noexcept;
    PrivateTempDir &operator=(PrivateTempDir &&other) noexcept;
    PrivateTempDir(const PrivateTempDir &) = delete;
    PrivateTempDir &operator=(const PrivateTempDir &) = delete;
    ~PrivateTempDir();

    const QString &path() const { return m_path; }
    QString filePath(const QString &name) const;

private:
    explicit PrivateTempDir(QString path);

    QString m_path;
};
