#include "PackWriter.h"

#include "Synth.h"
#include "WavFile.h"

#include <QDir>
#include <QFile>

PackWriter::PackWriter(QString folder, SoundPackManifest manifest)
    : m_folder(std::move(folder)), m_manifest(std::move(manifest))
{
    m_ok = QDir().mkpath(m_folder);
}

void PackWriter::add(KeyGroup group, KeyPhase phase, const std::vector<float> &samples)
{
    SampleSet &set = m_manifest.groups[group];
    QStringList &list = phase == KeyPhase::down ? set.down : set.up;
    const QString path = QStringLiteral("samples/%1-%2-%3.wav").arg(rawValue(group), rawValue(phase)).arg(list.size() + 1);
    m_ok = WavFile::write(QDir(m_folder).filePath(path), samples, Synth::sampleRate) && m_ok;
    list.append(path);
}

bool PackWriter::finish() const
{
    QFile file(QDir(m_folder).filePath(QStringLiteral("manifest.json")));
    const QByteArray json = m_manifest.toJson();
    return m_ok && file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(json) == json.size();
}

std::uint64_t seedFor(const QString &identity)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (char byte : identity.toUtf8()) {
        hash ^= std::uint8_t(byte);
        hash *= 0x100000001b3ull;
    }
    return hash;
}
