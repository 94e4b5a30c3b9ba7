#pragma once

class AppShell;

// Before the first start: when Plinkly runs from a just-unpacked download, offers to show
// the Applications folder. Returns whether the launch goes on.
namespace InstallLocationNotice {
bool allowsLaunch(AppShell &shell);
}
