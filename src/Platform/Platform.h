#pragma once

#include "Foundation/Clock.h"
#include "Foundation/Scheduler.h"
#include "Platform/AppShell.h"
#include "Services/UserDefaults.h"

#include <QString>

#include <memory>

// Everything the services need from the system, built once by the entry point (or by a
// test from fakes) and handed to AppController.
struct Platform {
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<AppShell> shell;
    std::unique_ptr<Clock> clock = std::make_unique<SystemClock>();
    std::unique_ptr<Scheduler> scheduler = std::make_unique<QtScheduler>();
    QString runLockPath;
};
