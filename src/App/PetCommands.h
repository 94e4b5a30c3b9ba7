#pragma once

#include "Effects/Chaos/ChaosMode.h"
#include "Effects/Pet/PetAction.h"

#include <QString>

class AppController;

// What the pet's menu commands do to the rest of the application.
namespace PetCommands {

// Carries out a command of the pet's menu; focus sessions answer their own.
void perform(AppController &app, PetAction action);
// The pet's line when a desktop physics run starts in that mode.
QString chaosLine(ChaosMode mode);

}
