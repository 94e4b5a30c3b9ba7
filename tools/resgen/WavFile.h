#pragma once

#include <QString>

#include <vector>

// Writes mono 16-bit PCM WAV files.
namespace WavFile {
bool write(const QString &path, const std::vector<float> &samples, int sampleRate);
}
