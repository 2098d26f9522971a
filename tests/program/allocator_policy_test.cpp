#include "program/allocator_policy.h"

#include <gtest/gtest.h>

#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace mandalix {
namespace {

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
void* volatile g_block = nullptr; // volatile, so no allocation below is optimised away

std::size_t blocksFromTheSystem() { return mallinfo2().hblks; }

// Without the policy, freeing a large block raises glibc's threshold to its size, and a
// picture-sized block after it is carved from the heap, where its freed pages stay.
TEST(AllocatorPolicy, PictureSizedBlocksComeStraightFromTheSystemAfterLargerOnesWereFreed)
{
    returnPictureBlocksToTheSystem();
    g_block = std::malloc(8 << 20);
    std::free(g_block);
    const std::size_t before = blocksFromTheSystem();
    g_block = std::malloc(1 << 20);
    const std::size_t during = blocksFromTheSystem();
    std::free(g_block);
    EXPECT_EQ(during, before + 1);
    EXPECT_EQ(blocksFromTheSystem(), before) << "given back when freed";
}
#endif

} // namespace
} // namespace mandalix
