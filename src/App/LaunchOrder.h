#pragma once

class AppController;
class AppWindows;

// The order of a launch: listening first, so the first key is heard as soon as its pack is
// decoded; the pet, the first window and the tray icon once it can be.
namespace LaunchOrder {
void start(AppController &controller, AppWindows &windows);
}
