#pragma once

#include "Services/Audio/AudioEngine.h"
#include "Services/Audio/SoundBank.h"
#include "Services/Audio/SystemSoundPlayer.h"

#include <QHash>
#include <QString>

#include <memory>

// Plays the system sounds of the resource bundle ("SystemSounds/<name>.wav") on an engine
// of their own, so a reaction never takes a voice from typing. Each sound is decoded on the
// engine's queue the first time it is asked for and kept there.
class BuiltInSystemSoundPlayer final : public SystemSoundPlayer {
public:
    BuiltInSystemSoundPlayer(QString resourceFolder, std::unique_ptr<AudioEngine> engine);

    void play(const QString &name) override;

    static bool isKnownName(const QString &name);

private:
    // On the engine's queue.
    std::shared_ptr<const SoundBank> bank(const QString &name, int sampleRate);

    QString m_resourceFolder;
    QHash<QString, std::shared_ptr<const SoundBank>> m_banks;
    // Last, so its queue stops before the banks it fills go.
    std::unique_ptr<AudioEngine> m_engine;
};
