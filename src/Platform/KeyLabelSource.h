#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The label printed on a key under the active keyboard layout. Called on the keyboard
// reader's thread: implementations are safe to call from any thread.
class KeyLabelSource {
public:
    virtual ~KeyLabelSource() = default;
    virtual std::optional<QString> label(std::uint16_t keyCode) const = 0;
};
