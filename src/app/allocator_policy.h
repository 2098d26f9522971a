// How the program asks the C library's allocator to treat picture-sized blocks. Called
// once by main() (and by the soak benchmark, which stands in for it) before any thread is
// started; it cannot fail in a way the program could act on.
#pragma once

namespace mandalix {

// Every block of a picture's size (a raster, a PNG being encoded) comes straight from the
// system and goes back to it when freed. glibc otherwise raises its threshold for that to
// the size of the largest block freed so far, after which such blocks are carved from the
// worker's, the history's and the painters' arenas, whose freed holes the resident set
// keeps: it grew by several megabytes over a long run with nothing leaked.
void returnPictureBlocksToTheSystem();

} // namespace mandalix
