// How the program keeps the C library's allocator from holding on to freed pictures:
// picture-sized blocks straight from the system, and freed pages handed back after each
// picture. The first is called once by main() (and by the soak benchmark, which stands in
// for it) before any thread starts; the second by the command worker and the history's
// thread, each after its picture. Neither can fail in a way the program could act on.
#pragma once

namespace mandalix {

// Every block of a picture's size (a raster, a PNG being encoded) comes straight from the
// system and goes back to it when freed. glibc otherwise raises its threshold for that to
// the size of the largest block freed so far, after which such blocks are carved from the
// worker's, the history's and the painters' arenas, whose freed holes the resident set
// keeps: it grew by several megabytes over a long run with nothing leaked.
void returnPictureBlocksToTheSystem();

// Gives the pages that are wholly free in every thread's arena back to the system. Any
// thread; takes a few milliseconds at most, so it is called once a picture, not more often.
// Without it the resident set crept up by about 5 MB over 800 pictures while the heap in use
// stayed flat.
void returnFreedMemory();

} // namespace mandalix
