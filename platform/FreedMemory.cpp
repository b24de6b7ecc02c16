#include "platform/FreedMemory.h"

#include <cstdlib>  // defines __GLIBC__ (through features.h) before it is tested

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zarvin {

void ReturnFreedMemory() {
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

}  // namespace zarvin
