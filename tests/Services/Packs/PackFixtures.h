#pragma once

#include "Models/SoundPackManifest.h"
#include "Services/Packs/SoundFiles.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <zip.h>

#include <list>
#include <sys/stat.h>

// Packs and archives written for real, the way the studio and other tools write them.
namespace PackFixtures {

// A pack as the studio exports it: "samples/<n>.wav", 32-bit float mono, format version "1".
inline SoundPackManifest studioManifest(const QString &id, SoundPackManifest::PackKind kind, int samples = 3)
{
    SoundPackManifest manifest;
    manifest.id = id;
    manifest.name = "Studio " + id;
    manifest.author = "Tester";
    manifest.switchType = "Custom";
    manifest.version = "1.0";
    manifest.license = "Unknown";
    manifest.kind = kind;
    const KeyGroup group = kind == SoundPackManifest::PackKind::reaction ? KeyGroup::reaction : KeyGroup::regular;
    for (int i = 0; i < samples; ++i) {
        SampleSet &set = manifest.groups[i % 2 == 0 || kind == SoundPackManifest::PackKind::reaction ? group : KeyGroup::space];
        (i % 3 == 1 ? set.up : set.down).append(QStringLiteral("samples/%1.wav").arg(i));
    }
    manifest.metadata = std::map<QString, QString>{{"formatVersion", "1"}, {"createdWith", "Knockwell Sound Studio"}};
    return manifest;
}

inline QStringList listedPaths(const SoundPackManifest &manifest)
{
    QStringList paths;
    for (const auto &[group, set] : manifest.groups)
        paths += set.down + set.up;
    paths.removeDuplicates();
    return paths;
}

// Writes the manifest and a short float WAV for every listed path under `folder`.
inline QString writePack(const QString &folder, const SoundPackManifest &manifest)
{
    QDir().mkpath(folder);
    auto write = [&](const QString &relative, const QByteArray &bytes) {
        const QString path = QDir(folder).filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    };
    write("manifest.json", manifest.toJson(SoundPackManifest::KeyOrder::sorted));
    for (const QString &path : listedPaths(manifest))
        write(path, SoundFiles::floatWav(2400));
    return folder;
}

// Every item in `folder`, hidden ones included.
inline QStringList everythingIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Writes a ZIP archive with libzip, entry by entry.
class ZipBuilder {
public:
    explicit ZipBuilder(const QString &path)
    {
        int error = 0;
        m_archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    }
    ZipBuilder(const ZipBuilder &) = delete;
    ZipBuilder &operator=(const ZipBuilder &) = delete;
    ~ZipBuilder()
    {
        if (m_archive)
            zip_discard(m_archive);
    }

    enum class Compression { deflate, store };

    zip_int64_t addFile(const QString &name, const QByteArray &bytes, Compression compression = Compression::deflate)
    {
        const QByteArray &kept = m_buffers.emplace_back(bytes);
        zip_source_t *source = zip_source_buffer(m_archive, kept.constData(), zip_uint64_t(kept.size()), 0);
        const zip_int64_t index = zip_file_add(m_archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            return index;
        }
        zip_set_file_compression(m_archive, zip_uint64_t(index),
                                 compression == Compression::store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 9);
        return index;
    }

    // A Unix entry of another type: a link (its content the target), a device, a FIFO.
    zip_int64_t addSpecial(const QString &name, mode_t type, const QByteArray &content = {})
    {
        const zip_int64_t index = addFile(name, content, Compression::store);
        zip_file_set_external_attributes(m_archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                         zip_uint32_t(type | 0777) << 16);
        return index;
    }

    void addDirectory(const QString &name) { zip_dir_add(m_archive, name.toUtf8().constData(), ZIP_FL_ENC_UTF_8); }

    bool encrypt(zip_int64_t index, const char *password)
    {
        return zip_file_set_encryption(m_archive, zip_uint64_t(index), ZIP_EM_AES_256, password) == 0;
    }

    // Every file of `folder` under `prefix` in the archive.
    void addFolder(const QString &folder, const QString &prefix)
    {
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            addFile(prefix + QDir(folder).relativeFilePath(path), file.readAll());
        }
    }

    bool close()
    {
        const bool closed = zip_close(m_archive) == 0;
        if (closed)
            m_archive = nullptr;
        return closed;
    }

private:
    zip_t *m_archive = nullptr;
    std::list<QByteArray> m_buffers;
};

}
