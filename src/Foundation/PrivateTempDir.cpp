#include "Foundation/PrivateTempDir.h"

#include "Foundation/SafeFiles.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>

Result<PrivateTempDir> PrivateTempDir::create(const QString &prefix)
{
    // mkdtemp makes the folder with mode 0700 under a name nobody can guess in advance.
    QByteArray pattern = QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + prefix + QStringLiteral("XXXXXX"));
    if (!::mkdtemp(pattern.data()))
        return std::unexpected(PosixError::fromErrno(errno));
    return PrivateTempDir(QFile::decodeName(pattern));
}

PrivateTempDir::PrivateTempDir(QString path)
    : m_path(std::move(path))
{
}

PrivateTempDir::PrivateTempDir(PrivateTempDir &&other) noexcept
    : m_path(std::exchange(other.m_path, {}))
{
}

PrivateTempDir &PrivateTempDir::operator=(PrivateTempDir &&other) noexcept
{
    if (this != &other) {
        if (!m_path.isEmpty())
            SafeFiles::removeAll(m_path);
        m_path = std::exchange(other.m_path, {});
    }
    return *this;
}

PrivateTempDir::~PrivateTempDir()
{
    if (!m_path.isEmpty())
        SafeFiles::removeAll(m_path);
}

QString PrivateTempDir::filePath(const QString &name) const
{
    return m_path + QLatin1Char('/') + name;
}
