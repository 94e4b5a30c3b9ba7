#pragma once

#include "Models/SoundPackManifest.h"

#include <QString>

// A pack as found in the library: its manifest and the folder it was read from.
struct LoadedSoundPack {
    SoundPackManifest manifest;
    QString directory;

    const QString &id() const { return manifest.id; }

    bool operator==(const LoadedSoundPack &) const = default;
};
