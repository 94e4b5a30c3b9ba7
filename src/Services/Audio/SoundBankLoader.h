#pragma once

#include "Models/LoadedSoundPack.h"
#include "Services/Audio/SoundBank.h"

#include <atomic>
#include <memory>

// Reads, decodes and converts every sample a pack lists, on the calling thread (never the
// GUI's), so that the engine later only swaps a pointer.
namespace SoundBankLoader {
enum Code : int { tooLarge = 12, cancelled = 13 };

// All decoded samples of one pack together, in bytes.
inline constexpr qint64 maxDecodedBytes = 512LL * 1024 * 1024;

// Every listed sample must load, or the pack does not. `cancelled` is checked between samples.
Result<std::shared_ptr<const SoundBank>> load(const LoadedSoundPack &pack, int sampleRate,
                                              const std::atomic<bool> *cancelled = nullptr);
}
