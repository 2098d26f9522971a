#include "program/allocator_policy.h"

// Any C library header defines __GLIBC__ where glibc is the library; without one before the
// test below, the test is always false and both functions do nothing.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace mandalix {

namespace {

// Below a window picture's raster (457 x 457 x 4 bytes) and well above the small objects
// of Qt and the program, which stay in the arenas.
constexpr int kPictureBlockBytes = 256 * 1024;

} // namespace

void returnPictureBlocksToTheSystem()
{
#if defined(__GLIBC__)
    // Setting it also turns off glibc's raising of it.
    mallopt(M_MMAP_THRESHOLD, kPictureBlockBytes);
#endif
}

void returnFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace mandalix
