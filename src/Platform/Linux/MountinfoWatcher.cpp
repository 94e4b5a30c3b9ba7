#include "Platform/Linux/MountinfoWatcher.h"

#include "Foundation/SafeFiles.h"

#include <QFile>
#include <QSocketNotifier>

#include <unistd.h>

namespace {

// mountinfo escapes space, tab, newline and backslash as three octal digits.
QString unescape(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(char(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QFile::decodeName(out);
}

}

MountinfoWatcher::MountinfoWatcher(QString path, QObject *parent) : QObject(parent), m_path(std::move(path)) {}

MountinfoWatcher::~MountinfoWatcher()
{
    stop();
}

bool MountinfoWatcher::start(Handler onChange)
{
    stop();
    m_fd = SafeFiles::openForeign(m_path, ForeignFiles::kernelTable);
    if (!m_fd)
        return false;
    m_onChange = std::move(onChange);
    m_notifier = std::make_unique<QSocketNotifier>(m_fd.get(), QSocketNotifier::Exception);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        // The change flag is cleared by reading the file again from the start.
        char scratch[4096];
        ::lseek(m_fd.get(), 0, SEEK_SET);
        while (::read(m_fd.get(), scratch, sizeof scratch) > 0) {
        }
        if (m_onChange)
            m_onChange();
    });
    return true;
}

void MountinfoWatcher::stop()
{
    m_notifier.reset();
    m_fd.reset();
    m_onChange = nullptr;
}

QList<MountEntry> MountinfoWatcher::mounts() const
{
    return parse(SafeFiles::readForeign(m_path, ForeignFiles::kernelTable).value_or(QByteArray()));
}

QList<MountEntry> MountinfoWatcher::parse(const QByteArray &text)
{
    // "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw,errors=continue"
    QList<MountEntry> entries;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf(QByteArrayLiteral("-"));
        if (fields.size() < 6 || separator < 6 || separator + 2 >= fields.size())
            continue;
        entries.append({unescape(fields[4]), unescape(fields[separator + 2]), unescape(fields[separator + 1])});
    }
    return entries;
}
