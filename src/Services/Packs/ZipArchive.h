#pragma once

#include "Foundation/Error.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

class ImportProgress;
struct zip;

// Read-only view of a ZIP archive: its entries with path, type, size and CRC-32, and extraction
// of one entry in 64 KiB chunks whose CRC-32 is checked. Failures are "Knockwell.ZIPImport" errors.
class ZipArchive {
public:
    enum class EntryType { file, directory, symbolicLink, special };

    struct Entry {
        qint64 index = 0;
        QString path; // as stored; directories keep their trailing "/"
        EntryType type = EntryType::file;
        quint64 uncompressedSize = 0; // as declared, which extraction never trusts
        quint32 crc32 = 0;
        bool encrypted = false;
        bool compressionSupported = true;
    };

    // Receives each extracted chunk; an error stops the extraction and is passed on.
    using Sink = std::function<Result<void>(QByteArrayView chunk)>;

    // The archive must be a plain file of the user's, at most `maxBytes` long.
    static Result<ZipArchive> open(const QString &path, qint64 maxBytes);

    ZipArchive(ZipArchive &&other) noexcept;
    ZipArchive &operator=(ZipArchive &&other) noexcept;
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;
    ~ZipArchive();

    qint64 entryCount() const;
    Result<Entry> entry(qint64 index) const;

    // Streams the entry's bytes to `sink`, failing once more than `maxBytes` come out, when the
    // output differs from the declared size or CRC-32, or when `cancellation` is set.
    Result<void> extract(const Entry &entry, qint64 maxBytes, const Sink &sink,
                         const ImportProgress *cancellation) const;

    static quint32 crc32(quint32 crc, QByteArrayView bytes);

private:
    explicit ZipArchive(zip *archive) : m_archive(archive) {}

    zip *m_archive = nullptr;
};
