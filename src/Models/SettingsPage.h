#pragma once

#include "Foundation/RawEnum.h"

// The control window's pages; the raw value is the page title.
enum class SettingsPage { home, sounds, reactions, toys, system, focus, privacy };

template <>
struct RawEnumTable<SettingsPage> {
    static constexpr std::array entries{
        RawEnumEntry{SettingsPage::home, "Home"},       RawEnumEntry{SettingsPage::sounds, "Sounds"},
        RawEnumEntry{SettingsPage::reactions, "Reactions"}, RawEnumEntry{SettingsPage::toys, "Toys"},
        RawEnumEntry{SettingsPage::system, "System"},   RawEnumEntry{SettingsPage::focus, "Focus"},
        RawEnumEntry{SettingsPage::privacy, "Privacy"},
    };
};
