#pragma once

#include "Foundation/KeyLabelTable.h"
#include "Platform/KeyLabelSource.h"

#include <map>

// The built-in table, with labels the test overrides.
class FakeKeyLabelSource final : public KeyLabelSource {
public:
    std::optional<QString> label(std::uint16_t keyCode) const override
    {
        if (const auto found = overrides.find(keyCode); found != overrides.end())
            return found->second;
        return KeyLabelTable::label(keyCode);
    }

    std::map<std::uint16_t, QString> overrides;
};
