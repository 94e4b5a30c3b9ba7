#pragma once

#include <QString>

#include <optional>

class AppModel;

// When screen toys rest: while every effect is paused or a focus session runs.
namespace ToyBlocking {
bool isBlocked(AppModel &app);
// Why toys rest, a running session named before paused effects; nothing while they are free.
std::optional<QString> reason(bool effectsPaused, bool focusActive);
}
