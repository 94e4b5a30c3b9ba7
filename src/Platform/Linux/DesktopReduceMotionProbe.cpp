#include "Platform/Linux/DesktopReduceMotionProbe.h"

#include "Foundation/IniText.h"
#include "Foundation/SafeFiles.h"

#include <QProcess>
#include <QStandardPaths>

namespace {
// The GNOME setting through its own tool; none when the tool or the schema is absent.
std::optional<bool> gnomeAnimationsEnabled()
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(tool, {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"),
                         QStringLiteral("enable-animations")});
    if (!process.waitForFinished(1000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished(100);
        return std::nullopt;
    }
    const QByteArray answer = process.readAllStandardOutput().trimmed();
    if (answer == "true")
        return true;
    if (answer == "false")
        return false;
    return std::nullopt;
}
}

DesktopReduceMotionProbe::DesktopReduceMotionProbe(QString kdeGlobalsPath)
    : m_kdeGlobalsPath(kdeGlobalsPath.isEmpty()
                           ? QStandardPaths::locate(QStandardPaths::GenericConfigLocation, QStringLiteral("kdeglobals"))
                           : std::move(kdeGlobalsPath))
{
}

std::optional<bool> DesktopReduceMotionProbe::fromKdeGlobals(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    const std::optional<QByteArray> text = SafeFiles::readForeign(path, ForeignFiles::desktopSettings);
    const std::optional<QString> factor =
        text ? IniText::value(*text, QStringLiteral("KDE"), QStringLiteral("AnimationDurationFactor")) : std::nullopt;
    if (!factor)
        return std::nullopt;
    bool ok = false;
    const double value = factor->toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value <= 0.0;
}

bool DesktopReduceMotionProbe::reduceMotion() const
{
    if (const auto enabled = gnomeAnimationsEnabled())
        return !*enabled;
    return fromKdeGlobals(m_kdeGlobalsPath).value_or(false);
}
