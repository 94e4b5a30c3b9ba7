#pragma once

// Whether what the user types now goes into a field that hides it, such as a password field.
class SecureInputSource {
public:
    virtual ~SecureInputSource() = default;
    // Safe to ask from any thread, for every key.
    virtual bool isActive() const = 0;
};
