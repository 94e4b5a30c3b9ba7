#pragma once

#include <functional>

// The desktop's light or dark wish, as the freedesktop appearance setting states it.
enum class ColorSchemePreference { noPreference, dark, light };

// The desktop's colour-scheme preference, reported on the GUI thread.
class ColorSchemeSource {
public:
    using Handler = std::function<void(ColorSchemePreference)>;

    virtual ~ColorSchemeSource() = default;
    // Reports the preference once it is known and again whenever the desktop changes it.
    virtual void start(Handler handler) = 0;
};
