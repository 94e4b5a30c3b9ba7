#pragma once

#include "Foundation/Error.h"

#include <QString>

// A hidden folder (".import-<UUID>") in a library root where an import is assembled; removed
// with everything in it when the object goes away, so no exit path leaves it behind. Being on
// the library's own file system, its finished content moves into place in one rename.
class StagingFolder {
public:
    static inline const QString prefix = QStringLiteral(".import-");

    // Fails with "Knockwell.PackImport" libraryNotWritable.
    static Result<StagingFolder> create(const QString &root);

    StagingFolder(StagingFolder &&other) noexcept;
    StagingFolder &operator=(StagingFolder &&other) = delete;
    StagingFolder(const StagingFolder &) = delete;
    StagingFolder &operator=(const StagingFolder &) = delete;
    ~StagingFolder();

    const QString &path() const { return m_path; }
    QString filePath(const QString &relative) const;

private:
    explicit StagingFolder(QString path) : m_path(std::move(path)) {}

    QString m_path;
};
