#pragma once

#include "Platform/AppShell.h"
#include "Services/UserDefaults.h"

#include <QString>

#include <memory>

// Everything the services need from the system, built once by the entry point (or by a
// test from fakes) and handed to AppController.
struct Platform {
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<AppShell> shell;
    QString runLockPath;
};
