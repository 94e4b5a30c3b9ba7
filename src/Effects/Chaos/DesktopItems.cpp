#include "Effects/Chaos/DesktopItems.h"

#include "Foundation/SafeFiles.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>

#include <algorithm>
#include <array>

namespace {
// Icons are drawn 46 points wide; twice that keeps them sharp on dense screens.
constexpr int iconPixels = 92;

struct PlaceholderRow {
    const char *name;
    const char *iconName;
};
constexpr std::array<PlaceholderRow, 6> placeholderRows{{
    {"Project", "folder"},
    {"Notes", "text-x-generic"},
    {"Photos", "image-x-generic"},
    {"Ideas", "dialog-information"},
    {"Archive", "package-x-generic"},
    {"Music", "audio-x-generic"},
}};

QImage themedImage(const QStringList &iconNames)
{
    // Desktops without a configured theme still have the standard one installed.
    if (QIcon::fallbackThemeName() == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    for (const QString &name : iconNames) {
        QIcon icon = QIcon::fromTheme(name);
        if (icon.isNull())
            continue;
        // Qt keeps themed icons for the whole process, each with the largest file it drew
        // from (1 MiB for a 512-pixel one); a copy of our own reads it and lets it go.
        icon.detach();
        return icon.pixmap(iconPixels, iconPixels).toImage();
    }
    return {};
}

QStringView withoutLeadingZeros(QStringView digits)
{
    while (digits.size() > 1 && digits.front() == QLatin1Char('0'))
        digits = digits.mid(1);
    return digits;
}

// Runs of digits compare as numbers and the text between them by the collator, so "b9"
// comes before "b10" whatever the collator's own numeric support (none in the C locale).
int naturalCompare(const QString &a, const QString &b, const QCollator &collator)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const bool digitA = a[i].isDigit(), digitB = b[j].isDigit();
        qsizetype endA = i, endB = j;
        while (endA < a.size() && a[endA].isDigit() == digitA)
            ++endA;
        while (endB < b.size() && b[endB].isDigit() == digitB)
            ++endB;
        const QStringView runA = QStringView(a).mid(i, endA - i), runB = QStringView(b).mid(j, endB - j);
        int order = 0;
        if (digitA && digitB) {
            const QStringView numberA = withoutLeadingZeros(runA), numberB = withoutLeadingZeros(runB);
            order = numberA.size() != numberB.size() ? (numberA.size() < numberB.size() ? -1 : 1)
                                                     : numberA.compare(numberB);
        } else {
            order = collator.compare(runA, runB);
        }
        if (order != 0)
            return order;
        i = endA;
        j = endB;
    }
    return collator.compare(QStringView(a).mid(i), QStringView(b).mid(j));
}

QImage fileIcon(const QFileInfo &entry)
{
    if (entry.isDir())
        return themedImage({QStringLiteral("folder"), QStringLiteral("inode-directory")});
    // The content is looked at through the careful reader: the item may be a FIFO, a link to
    // a device or a huge file, and only its start tells anything.
    const QMimeDatabase types;
    const std::optional<QByteArray> head = SafeFiles::readForeign(entry.filePath(), ForeignFiles::desktopItemHead);
    const QMimeType type = head ? types.mimeTypeForFileNameAndData(entry.fileName(), *head)
                                : types.mimeTypeForFile(entry.fileName(), QMimeDatabase::MatchExtension);
    return themedImage({type.iconName(), type.genericIconName(), QStringLiteral("text-x-generic")});
}
}

QStringList DesktopItems::sortedEntryNames(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    if (!dir.exists())
        return {};
    QStringList names = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::NoSort);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(),
                     [&collator](const QString &a, const QString &b) { return naturalCompare(a, b, collator) < 0; });
    return names;
}

std::vector<DesktopVisualItem> DesktopItems::load(const QString &folder, const QHash<QString, QRectF> &iconFrames)
{
    std::vector<DesktopVisualItem> items;
    const QDir dir(folder);
    for (const QString &fileName : sortedEntryNames(folder).mid(0, maxItems)) {
        const QFileInfo entry(dir.filePath(fileName));
        DesktopVisualItem item;
        // Only the last extension goes, as the file manager hides it: "a.tar.gz" shows "a.tar".
        const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
        item.name = dot > 0 ? fileName.left(dot) : fileName;
        item.image = fileIcon(entry);
        item.url = QUrl::fromLocalFile(entry.absoluteFilePath());
        if (const auto found = iconFrames.constFind(fileName); found != iconFrames.cend())
            item.axBounds = *found;
        else if (const auto bare = iconFrames.constFind(item.name); bare != iconFrames.cend())
            item.axBounds = *bare;
        items.push_back(std::move(item));
    }
    return items;
}

DesktopVisualItem DesktopItems::placeholder(int k)
{
    const PlaceholderRow &row = placeholderRows[size_t(k) % placeholderRows.size()];
    return {QString::fromLatin1(row.name), themedImage({QString::fromLatin1(row.iconName)}), std::nullopt, std::nullopt};
}

std::vector<DesktopVisualItem> DesktopItems::expandedItems(const std::vector<DesktopVisualItem> &items, int count)
{
    const size_t wanted = size_t(std::max(count, 0));
    std::vector<DesktopVisualItem> result(items.begin(), items.begin() + std::min(wanted, items.size()));
    for (int k = 0; result.size() < wanted; ++k)
        result.push_back(placeholder(k));
    return result;
}
