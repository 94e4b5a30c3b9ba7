#pragma once

#include "Services/Audio/SystemSoundPlayer.h"

#include <QStringList>

// Remembers the names of the sounds it was asked to play.
class FakeSystemSoundPlayer final : public SystemSoundPlayer {
public:
    void play(const QString &name) override { played.append(name); }
    QStringList played;
};
