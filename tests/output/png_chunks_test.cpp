// The one chunk walk every PNG reader uses: what it reads back from the one chunk writer,
// and where it stops on a damaged file.
#include "output/png_chunks.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

const QByteArray kText("key\0value", 9);

struct Walked {
    QList<PngChunk> chunks;
    PngWalkFault fault = PngWalkFault::None;
};

// Reads every chunk of `afterSignature` up to IEND, or until the walk stops.
Walked walkAll(const QByteArray& afterSignature)
{
    QBuffer device;
    device.setData(afterSignature);
    device.open(QIODevice::ReadOnly);
    PngChunkWalk walk(device);
    Walked walked;
    for (PngChunk chunk; walk.next(chunk) && walk.readData(chunk);) {
        walked.chunks.append(chunk);
        if (chunk.type == "IEND")
            break;
    }
    walked.fault = walk.fault();
    return walked;
}

TEST(PngChunks_Walk, ReadsBackWhatTheWriterWroteWithItsCrc)
{
    const Walked walked = walkAll(pngChunk("tEXt", kText) + pngChunk("IEND", {}));
    ASSERT_EQ(walked.fault, PngWalkFault::None);
    ASSERT_EQ(walked.chunks.size(), 2);
    EXPECT_EQ(walked.chunks[0].type, "tEXt");
    EXPECT_EQ(walked.chunks[0].data, kText);
    EXPECT_TRUE(walked.chunks[0].isCrcRight);
    EXPECT_TRUE(walked.chunks[1].isCrcRight) << "an empty chunk's CRC covers its type alone";
    // The end every PNG has: the writer gives the bytes PNG prescribes.
    EXPECT_EQ(pngChunk("IEND", {}), QByteArray("\0\0\0\0IEND\xae\x42\x60\x82", 12));
}

TEST(PngChunks_Walk, StopsOnEachKindOfDamage)
{
    const QByteArray text = pngChunk("tEXt", kText);
    QByteArray flipped = text;
    flipped[10] = 'K'; // in the data: the CRC no longer matches
    QByteArray tooLong = text;
    tooLong[0] = '\x80';
    QByteArray manyEmpty;
    for (int k = 0; k <= kPngMaxChunksWalked; ++k)
        manyEmpty += pngChunk("abCd", {});
    struct Row {
        const char* name;
        QByteArray bytes;
        PngWalkFault fault;
        int chunksRead;
    };
    const Row rows[] = {
        {"a header cut short", text + QByteArray("\0\0\0", 3), PngWalkFault::EndsEarly, 1},
        {"data cut short", text.left(text.size() - 1), PngWalkFault::RunsPastEnd, 0},
        {"a length above what PNG allows", tooLong, PngWalkFault::TooLong, 0},
        {"one chunk more than walked", manyEmpty, PngWalkFault::TooManyChunks, kPngMaxChunksWalked},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Walked walked = walkAll(row.bytes);
        EXPECT_EQ(walked.fault, row.fault);
        EXPECT_EQ(walked.chunks.size(), row.chunksRead);
    }
    const Walked damaged = walkAll(flipped + pngChunk("IEND", {}));
    ASSERT_EQ(damaged.fault, PngWalkFault::None) << "a wrong CRC is the reader's to judge";
    EXPECT_FALSE(damaged.chunks[0].isCrcRight);
}

} // namespace
} // namespace mandalix
