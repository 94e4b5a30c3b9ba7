#pragma once

#include "Models/KeyPhase.h"
#include "Models/SoundPackManifest.h"

#include <QString>

#include <cstdint>
#include <vector>

// Collects the sounds of one pack as WAV files and finally writes its manifest.json.
class PackWriter {
public:
    PackWriter(QString folder, SoundPackManifest manifest);

    void add(KeyGroup group, KeyPhase phase, const std::vector<float> &samples);
    // Writes the manifest; false when any file could not be written.
    bool finish() const;

private:
    QString m_folder;
    SoundPackManifest m_manifest;
    bool m_ok = true;
};

// A seed that depends only on the sound's identity, not on the order of generation.
std::uint64_t seedFor(const QString &identity);
