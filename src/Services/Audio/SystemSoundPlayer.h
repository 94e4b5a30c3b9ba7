#pragma once

#include <QString>

// Plays one of the built-in system sounds by name ("Glass", "Pop", "Ping", "Basso", "Morse",
// "Hero", "Submarine", "Tink", "Blow").
class SystemSoundPlayer {
public:
    virtual ~SystemSoundPlayer() = default;
    virtual void play(const QString &name) = 0;
};
