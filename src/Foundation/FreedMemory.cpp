#include "Foundation/FreedMemory.h"

#include <malloc.h>

namespace FreedMemory {
void giveBack()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}
}
