#pragma once

#include <type_traits>

// Stores a published property's new value and announces it: the property's own signal with
// the value (or without, when the signal takes none), then the owner's changed(). Nothing
// happens when the value is the one held; the result says whether it changed.
template <typename Owner, typename T, typename... Args>
bool publish(Owner *owner, T &field, const std::type_identity_t<T> &value, void (Owner::*signal)(Args...))
{
    if (field == value)
        return false;
    field = value;
    if constexpr (sizeof...(Args) == 0)
        emit (owner->*signal)();
    else
        emit (owner->*signal)(field);
    emit owner->changed();
    return true;
}
