#include "Services/Packs/StagingFolder.h"

#include "Foundation/SafeFiles.h"
#include "Services/Packs/PackImportErrors.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

Result<StagingFolder> StagingFolder::create(const QString &root)
{
    const QString path = QDir(root).filePath(SafeFiles::temporaryName(prefix));
    if (!QDir().mkpath(root) || ::mkdir(QFile::encodeName(path).constData(), 0700) != 0)
        return std::unexpected(PackImportError::make(PackImportError::libraryNotWritable));
    return StagingFolder(path);
}

StagingFolder::StagingFolder(StagingFolder &&other) noexcept : m_path(std::exchange(other.m_path, QString())) {}

StagingFolder::~StagingFolder()
{
    if (!m_path.isEmpty())
        SafeFiles::removeAll(m_path);
}

QString StagingFolder::filePath(const QString &relative) const
{
    return QDir(m_path).filePath(relative);
}
