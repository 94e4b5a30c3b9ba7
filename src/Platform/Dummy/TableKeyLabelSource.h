#pragma once

#include "Foundation/KeyLabelTable.h"
#include "Platform/KeyLabelSource.h"

// Key labels of the built-in table, for systems that offer no keyboard layout.
class TableKeyLabelSource final : public KeyLabelSource {
public:
    std::optional<QString> label(std::uint16_t keyCode) const override { return KeyLabelTable::label(keyCode); }
};
