#pragma once

#include "Platform/ColorSchemeSource.h"

#include <optional>

// A desktop whose colour-scheme wish a test sets; like the portal, it reports nothing until
// the first reading is answered.
class FakeColorSchemeSource final : public ColorSchemeSource {
public:
    void start(Handler handler) override { m_handler = std::move(handler); }

    void set(ColorSchemePreference preference)
    {
        if (m_handler)
            m_handler(preference);
    }

private:
    Handler m_handler;
};
