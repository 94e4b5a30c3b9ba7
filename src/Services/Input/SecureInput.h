#pragma once

// Linux has no system-wide secure keyboard entry that an application could query; password
// fields of other applications are indistinguishable from any other typing here.
namespace SecureInput {
constexpr bool isEnabled()
{
    return false;
}
}
