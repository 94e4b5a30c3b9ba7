#pragma once

#include "Platform/Platform.h"

namespace LinuxPlatform {
Platform create();
}
