// The zlib streams inside a PNG's chunks (the pixels across the image chunks, each
// compressed text), inflated piece by piece so no reader holds more than it asks for.
// A plain function; any thread. A stream that does not end whole comes back as Damaged.
#pragma once

#include <QByteArrayView>

#include <cstddef>
#include <functional>
#include <vector>

namespace mandalix {

// The piece of output zlib inflates into at a time.
inline constexpr int kInflateBufferBytes = 16384;

enum class Inflated {
    Whole,   // the stream ended within the last piece
    GivenUp, // `take` answered false
    Damaged, // the stream is broken, ends early, or has bytes after its end
};

// Receives each piece of output; answers false to give up.
using InflateTake = std::function<bool(const unsigned char* bytes, std::size_t count)>;

// Inflates `pieces` as one zlib stream. Bytes after the stream's end are damage unless
// `mayTrail`.
Inflated inflatePieces(const std::vector<QByteArrayView>& pieces, const InflateTake& take, bool mayTrail = false);

} // namespace mandalix
