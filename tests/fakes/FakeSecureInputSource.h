#pragma once

#include "Platform/SecureInputSource.h"

#include <atomic>

// Secure input the test turns on and off; read from the keyboard thread.
class FakeSecureInputSource final : public SecureInputSource {
public:
    bool isActive() const override { return active.load(); }

    std::atomic<bool> active{false};
};
