#pragma once

// Memory freed after large, passing work (a toy's artwork, a closed window) stays with the
// C library for reuse unless handed back; this hands it back to the system.
namespace FreedMemory {
void giveBack();
}
