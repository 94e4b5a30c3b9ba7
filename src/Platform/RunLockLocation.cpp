#include "Platform/RunLockLocation.h"

#include <QDir>

#include <unistd.h>

QString RunLockLocation::defaultPath()
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/plinkly-%1.lock").arg(::getuid());
}
