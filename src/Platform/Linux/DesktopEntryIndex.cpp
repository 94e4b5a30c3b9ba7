#include "Platform/Linux/DesktopEntryIndex.h"

#include "Foundation/SafeFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

namespace {

const QString desktopSuffix = QStringLiteral(".desktop");

QString unescape(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i].unicode()) {
        case 's': out += u' '; break;
        case 'n': out += u'\n'; break;
        case 't': out += u'\t'; break;
        case 'r': out += u'\r'; break;
        default: out += value[i]; break;
        }
    }
    return out;
}

QString withoutDesktopSuffix(QString id)
{
    if (id.endsWith(desktopSuffix))
        id.chop(desktopSuffix.size());
    return id;
}

}

DesktopEntryIndex::DesktopEntryIndex(QStringList applicationFolders, QString language)
    : m_folders(std::move(applicationFolders))
    , m_language(std::move(language))
{
}

QStringList DesktopEntryIndex::defaultFolders()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    QStringList folders{dataHome + QStringLiteral("/applications")};
    for (const QString &dir : dataDirs.split(u':', Qt::SkipEmptyParts))
        folders.append(dir + QStringLiteral("/applications"));
    return folders;
}

std::optional<DesktopEntryIndex::Entry> DesktopEntryIndex::parse(const QString &id, const QByteArray &text,
                                                                 const QString &language)
{
    // Name keys from the best match up: "Name", "Name[pt]", "Name[pt_BR]".
    const QStringList nameKeys{QStringLiteral("Name"), QStringLiteral("Name[%1]").arg(language.section(u'_', 0, 0)),
                               QStringLiteral("Name[%1]").arg(language)};
    qsizetype nameRank = -1;
    Entry entry{id, {}, {}};
    bool inMainGroup = false;
    bool application = false;
    for (const QByteArray &rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inMainGroup = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inMainGroup || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = unescape(line.mid(equals + 1).trimmed());
        const qsizetype rank = nameKeys.lastIndexOf(key);
        if (rank > nameRank) {
            entry.name = value;
            nameRank = rank;
        } else if (key == QStringLiteral("Type"))
            application = value == QStringLiteral("Application");
        else if (key == QStringLiteral("Hidden") && value == QStringLiteral("true"))
            return std::nullopt;
        else if (key == QStringLiteral("StartupWMClass"))
            entry.startupWMClass = value;
    }
    if (!application)
        return std::nullopt;
    return entry;
}

QList<QDateTime> DesktopEntryIndex::folderStamps() const
{
    QList<QDateTime> stamps;
    for (const QString &folder : m_folders)
        stamps.append(QFileInfo(folder).lastModified());
    return stamps;
}

DesktopEntryIndex::Snapshot DesktopEntryIndex::read(const QStringList &folders, const QString &language,
                                                    QList<QDateTime> stamps)
{
    Snapshot snapshot{std::move(stamps), {}};
    QSet<QString> seen;
    for (const QString &folder : folders) {
        const QDir root(folder);
        QDirIterator files(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            const QString id = withoutDesktopSuffix(root.relativeFilePath(path)).replace(u'/', u'-');
            // A hidden entry in an earlier folder hides the same id in later ones.
            if (seen.contains(id))
                continue;
            seen.insert(id);
            const std::optional<QByteArray> text = SafeFiles::readForeign(path, ForeignFiles::desktopEntry);
            if (std::optional<Entry> entry = text ? parse(id, *text, language) : std::nullopt)
                snapshot.entries.insert(id, *entry);
        }
    }
    return snapshot;
}

void DesktopEntryIndex::prefetch()
{
    if (m_loaded || m_pending.isValid())
        return;
    m_pending = QtConcurrent::run(&DesktopEntryIndex::read, m_folders, m_language, folderStamps());
}

void DesktopEntryIndex::refresh()
{
    const QList<QDateTime> stamps = folderStamps();
    if (m_pending.isValid()) {
        m_snapshot = m_pending.result();
        m_pending = {};
        m_loaded = true;
    }
    if (m_loaded && stamps == m_snapshot.folderStamps)
        return;
    m_snapshot = read(m_folders, m_language, stamps);
    m_loaded = true;
}

std::optional<DesktopEntryIndex::Entry> DesktopEntryIndex::entry(const QString &id)
{
    refresh();
    if (const auto found = m_snapshot.entries.constFind(id); found != m_snapshot.entries.cend())
        return *found;
    return std::nullopt;
}

std::optional<DesktopEntryIndex::Entry> DesktopEntryIndex::matchWindowClass(const QString &windowClass)
{
    if (windowClass.isEmpty())
        return std::nullopt;
    std::optional<Entry> byID;
    for (const Entry &entry : std::as_const(m_snapshot.entries)) {
        if (entry.startupWMClass == windowClass)
            return entry;
        if (!byID && entry.id.compare(windowClass, Qt::CaseInsensitive) == 0)
            byID = entry;
    }
    return byID;
}

WorkspaceApplication DesktopEntryIndex::application(const WindowIdentity &window)
{
    refresh();
    for (const QString &named : {window.gtkApplicationID, window.kdeDesktopFile}) {
        if (named.isEmpty())
            continue;
        const QString id = withoutDesktopSuffix(named);
        const auto found = m_snapshot.entries.constFind(id);
        return {id, found != m_snapshot.entries.cend() ? found->name : window.className};
    }
    for (const QString &windowClass : {window.className, window.instanceName}) {
        if (const std::optional<Entry> found = matchWindowClass(windowClass))
            return {found->id, found->name.isEmpty() ? window.className : found->name};
    }
    if (window.className.isEmpty())
        return {};
    return {QStringLiteral("wmclass:") + window.className, window.className};
}
