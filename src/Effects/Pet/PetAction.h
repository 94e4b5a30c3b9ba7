#pragma once

#include "Foundation/RawEnum.h"

#include <QHashFunctions>

// The commands of the pet's menu, passed on unchanged to the application controller.
enum class PetAction {
    focus25,
    focus50,
    break5,
    pepTalk,
    configureFocus,
    openFocus,
    openSounds,
    openReactions,
    chaos,
    togglePause,
    openSettings,
    stopFocus,
    toggleTyping,
    toggleTapSounds,
    previewKeyboard,
    desktopGravity,
    previewScreenshot,
    previewCharge,
    hide,
    toggleStayPut,
};

template <>
struct RawEnumTable<PetAction> {
    static constexpr std::array entries{
        RawEnumEntry{PetAction::focus25, "focus25"},
        RawEnumEntry{PetAction::focus50, "focus50"},
        RawEnumEntry{PetAction::break5, "break5"},
        RawEnumEntry{PetAction::pepTalk, "pepTalk"},
        RawEnumEntry{PetAction::configureFocus, "configureFocus"},
        RawEnumEntry{PetAction::openFocus, "openFocus"},
        RawEnumEntry{PetAction::openSounds, "openSounds"},
        RawEnumEntry{PetAction::openReactions, "openReactions"},
        RawEnumEntry{PetAction::chaos, "chaos"},
        RawEnumEntry{PetAction::togglePause, "togglePause"},
        RawEnumEntry{PetAction::openSettings, "openSettings"},
        RawEnumEntry{PetAction::stopFocus, "stopFocus"},
        RawEnumEntry{PetAction::toggleTyping, "toggleTyping"},
        RawEnumEntry{PetAction::toggleTapSounds, "toggleTapSounds"},
        RawEnumEntry{PetAction::previewKeyboard, "previewKeyboard"},
        RawEnumEntry{PetAction::desktopGravity, "desktopGravity"},
        RawEnumEntry{PetAction::previewScreenshot, "previewScreenshot"},
        RawEnumEntry{PetAction::previewCharge, "previewCharge"},
        RawEnumEntry{PetAction::hide, "hide"},
        RawEnumEntry{PetAction::toggleStayPut, "toggleStayPut"},
    };
};

inline size_t qHash(PetAction action, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(action), seed);
}
