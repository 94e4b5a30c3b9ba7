#include "Services/Packs/ZipArchive.h"

#include "Foundation/DynamicLibrary.h"
#include "Services/Packs/ImportProgress.h"
#include "Services/Packs/PackFileReader.h"
#include "Services/Packs/PackImportErrors.h"

#include <zip.h>

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::unexpected<Error> refuse(ZipImportError::Code code)
{
    return std::unexpected(ZipImportError::make(code));
}

// libzip, and the crypto library it brings along (1.4 MiB resident), is loaded with the first
// archive opened rather than at start: most runs never import one.
struct LibZip {
    decltype(&zip_fdopen) fdopen = nullptr;
    decltype(&zip_discard) discard = nullptr;
    decltype(&zip_get_num_entries) getNumEntries = nullptr;
    decltype(&zip_get_name) getName = nullptr;
    decltype(&zip_stat_init) statInit = nullptr;
    decltype(&zip_stat_index) statIndex = nullptr;
    decltype(&zip_file_get_external_attributes) externalAttributes = nullptr;
    decltype(&zip_compression_method_supported) compressionSupported = nullptr;
    decltype(&zip_fopen_index) fopenIndex = nullptr;
    decltype(&zip_fread) fread = nullptr;
    decltype(&zip_fclose) fclose = nullptr;
};

const std::expected<LibZip, QString> &libZipLibrary()
{
    static const auto loaded = DynamicLibrary::load<LibZip>("libzip.so.4", [](DynamicLibrary &library, LibZip &zip) {
        library.bind(zip.fdopen, "zip_fdopen");
        library.bind(zip.discard, "zip_discard");
        library.bind(zip.getNumEntries, "zip_get_num_entries");
        library.bind(zip.getName, "zip_get_name");
        library.bind(zip.statInit, "zip_stat_init");
        library.bind(zip.statIndex, "zip_stat_index");
        library.bind(zip.externalAttributes, "zip_file_get_external_attributes");
        library.bind(zip.compressionSupported, "zip_compression_method_supported");
        library.bind(zip.fopenIndex, "zip_fopen_index");
        library.bind(zip.fread, "zip_fread");
        library.bind(zip.fclose, "zip_fclose");
    });
    return loaded;
}

// Only reached through an archive, which exists only once the library loaded.
const LibZip &libZip()
{
    return *libZipLibrary();
}

constexpr std::array<quint32, 256> crcTable = [] {
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

ZipArchive::EntryType entryType(zip_t *archive, zip_uint64_t index, const QString &path)
{
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (libZip().externalAttributes(archive, index, 0, &system, &attributes) == 0 && system == ZIP_OPSYS_UNIX) {
        const mode_t mode = mode_t(attributes >> 16);
        switch (mode & S_IFMT) {
        case 0:
            break;
        case S_IFREG:
            return ZipArchive::EntryType::file;
        case S_IFDIR:
            return ZipArchive::EntryType::directory;
        case S_IFLNK:
            return ZipArchive::EntryType::symbolicLink;
        default:
            return ZipArchive::EntryType::special;
        }
    }
    return path.endsWith(u'/') ? ZipArchive::EntryType::directory : ZipArchive::EntryType::file;
}

quint32 littleEndian(const QByteArray &bytes, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
}

QByteArray readAt(int fd, qint64 offset, qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, bytes.data() + done, std::size_t(size - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return {};
        done += got;
    }
    return bytes;
}

// Whether the central directory declares a name as UTF-8 whose bytes are not, which libzip
// reports only as an inconsistent archive.
bool hasUndecodableName(int fd)
{
    constexpr qint64 endRecordSize = 22;
    struct stat info{};
    if (::fstat(fd, &info) != 0 || info.st_size < endRecordSize)
        return false;
    const qint64 tailSize = std::min<qint64>(info.st_size, endRecordSize + 0xFFFF);
    const QByteArray tail = readAt(fd, info.st_size - tailSize, tailSize);
    const qsizetype end = tail.lastIndexOf(QByteArrayView("PK\x05\x06", 4));
    if (end < 0 || end + endRecordSize > tail.size())
        return false;
    const qint64 directorySize = littleEndian(tail, end + 12, 4);
    const qint64 directoryOffset = littleEndian(tail, end + 16, 4);
    if (directoryOffset + directorySize > info.st_size)
        return false;
    const QByteArray directory = readAt(fd, directoryOffset, directorySize);
    constexpr qsizetype headerSize = 46;
    constexpr quint32 utf8Flag = 0x800;
    for (qsizetype at = 0; at + headerSize <= directory.size() && littleEndian(directory, at, 4) == 0x02014b50;) {
        const quint32 flags = littleEndian(directory, at + 8, 2);
        const qsizetype nameSize = littleEndian(directory, at + 28, 2);
        if (at + headerSize + nameSize > directory.size())
            return false;
        if (flags & utf8Flag) {
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString name = decoder.decode(QByteArrayView(directory).sliced(at + headerSize, nameSize));
            if (decoder.hasError())
                return true;
        }
        at += headerSize + nameSize + littleEndian(directory, at + 30, 2) + littleEndian(directory, at + 32, 2);
    }
    return false;
}

struct ZipFileCloser {
    void operator()(zip_file_t *file) const { libZip().fclose(file); }
};

}

quint32 ZipArchive::crc32(quint32 crc, QByteArrayView bytes)
{
    crc = ~crc;
    for (char byte : bytes)
        crc = crcTable[(crc ^ quint8(byte)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

Result<ZipArchive> ZipArchive::open(const QString &path, qint64 maxBytes)
{
    auto handle = PackFileReader::open(path, maxBytes, PackFileReader::Ownership::currentUser);
    if (!handle)
        return refuse(handle.error().code == CocoaError::fileReadTooLarge ? ZipImportError::archiveTooLarge
                                                                          : ZipImportError::unreadableArchive);
    if (!libZipLibrary())
        return refuse(ZipImportError::unreadableArchive);
    // libzip closes the descriptor it is given, also when it fails; ours stays open to tell why.
    const int own = ::fcntl(handle->get(), F_DUPFD_CLOEXEC, 0);
    if (own < 0)
        return refuse(ZipImportError::unreadableArchive);
    int error = 0;
    zip_t *archive = libZip().fdopen(own, ZIP_CHECKCONS, &error);
    if (!archive) {
        if (error == ZIP_ER_EXISTS)
            return refuse(ZipImportError::duplicateEntry);
        if (error == ZIP_ER_INCONS && hasUndecodableName(handle->get()))
            return refuse(ZipImportError::undecodableName);
        return refuse(ZipImportError::unreadableArchive);
    }
    return ZipArchive(archive);
}

ZipArchive::ZipArchive(ZipArchive &&other) noexcept : m_archive(std::exchange(other.m_archive, nullptr)) {}

ZipArchive &ZipArchive::operator=(ZipArchive &&other) noexcept
{
    if (this != &other) {
        if (m_archive)
            libZip().discard(m_archive);
        m_archive = std::exchange(other.m_archive, nullptr);
    }
    return *this;
}

ZipArchive::~ZipArchive()
{
    // Discard, never close: closing would try to write the archive back.
    if (m_archive)
        libZip().discard(m_archive);
}

qint64 ZipArchive::entryCount() const
{
    return libZip().getNumEntries(m_archive, 0);
}

Result<ZipArchive::Entry> ZipArchive::entry(qint64 index) const
{
    const char *name = libZip().getName(m_archive, zip_uint64_t(index), ZIP_FL_ENC_GUESS);
    zip_stat_t stat;
    libZip().statInit(&stat);
    if (!name || libZip().statIndex(m_archive, zip_uint64_t(index), 0, &stat) != 0)
        return refuse(ZipImportError::damagedEntry);

    Entry entry;
    entry.index = index;
    entry.path = QString::fromUtf8(name);
    entry.type = entryType(m_archive, zip_uint64_t(index), entry.path);
    entry.uncompressedSize = (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0;
    entry.crc32 = (stat.valid & ZIP_STAT_CRC) ? stat.crc : 0;
    entry.encrypted = (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
    entry.compressionSupported =
        !(stat.valid & ZIP_STAT_COMP_METHOD) || libZip().compressionSupported(stat.comp_method, 0);
    return entry;
}

Result<void> ZipArchive::extract(const Entry &entry, qint64 maxBytes, const Sink &sink,
                                 const ImportProgress *cancellation) const
{
    if (entry.encrypted)
        return refuse(ZipImportError::encrypted);
    if (!entry.compressionSupported)
        return refuse(ZipImportError::unsupportedCompression);
    std::unique_ptr<zip_file_t, ZipFileCloser> file(libZip().fopenIndex(m_archive, zip_uint64_t(entry.index), 0));
    if (!file)
        return refuse(ZipImportError::damagedEntry);

    std::vector<char> buffer(64 * 1024);
    qint64 produced = 0;
    quint32 crc = 0;
    for (;;) {
        if (cancellation && cancellation->isCancelled())
            return std::unexpected(PackImportError::make(PackImportError::cancelled));
        const zip_int64_t got = libZip().fread(file.get(), buffer.data(), buffer.size());
        if (got < 0)
            return refuse(ZipImportError::damagedEntry);
        if (got == 0)
            break;
        produced += got;
        if (produced > maxBytes)
            return refuse(ZipImportError::entryTooLarge);
        const QByteArrayView chunk(buffer.data(), qsizetype(got));
        crc = crc32(crc, chunk);
        if (auto accepted = sink(chunk); !accepted)
            return accepted;
    }
    if (libZip().fclose(file.release()) != 0 || quint64(produced) != entry.uncompressedSize || crc != entry.crc32)
        return refuse(ZipImportError::damagedEntry);
    return {};
}
