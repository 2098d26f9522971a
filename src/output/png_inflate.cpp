#include "output/png_inflate.h"

#include <zlib.h>

#include <array>

namespace mandalix {

Inflated inflatePieces(const std::vector<QByteArrayView>& pieces, const InflateTake& take, bool mayTrail)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return Inflated::Damaged;
    std::array<Bytef, kInflateBufferBytes> out{};
    int status = Z_OK;
    bool isGivenUp = false;
    std::size_t k = 0;
    for (; k < pieces.size() && status == Z_OK && !isGivenUp; ++k) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(pieces[k].data()));
        stream.avail_in = static_cast<uInt>(pieces[k].size());
        do {
            stream.next_out = out.data();
            stream.avail_out = out.size();
            status = inflate(&stream, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
                break;
            isGivenUp = !take(out.data(), out.size() - stream.avail_out);
        } while (!isGivenUp && status == Z_OK && stream.avail_out == 0);
        if (status == Z_BUF_ERROR)
            status = Z_OK;
    }
    const bool isNothingAfter = stream.avail_in == 0 && k == pieces.size();
    inflateEnd(&stream);
    if (isGivenUp)
        return Inflated::GivenUp;
    return status == Z_STREAM_END && (mayTrail || isNothingAfter) ? Inflated::Whole : Inflated::Damaged;
}

} // namespace mandalix
