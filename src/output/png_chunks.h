// A PNG's chunks: the signature that begins the file, the writer of one chunk with its
// CRC, and the one walk over a file's chunks that every reader of PNG bytes uses, with
// its bounds on how far a file may lead it. Plain functions and a walk over a device the
// caller owns; any thread, one device at a time. A walk that must stop says why as a
// fault, which each reader words for its own messages.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>

namespace mandalix {

// The eight bytes that begin every PNG.
inline constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
inline constexpr qint64 kPngSignatureBytes = 8;
// The most chunks walked. A picture's PNG carries its text within its first few chunks,
// and even a large picture of many image chunks has far fewer; a file of millions of
// empty chunks is refused after a moment's reading, not a minute's.
inline constexpr int kPngMaxChunksWalked = 1 << 16;
// The most bytes of text chunks read on one walk.
inline constexpr qint64 kPngMaxTextBytesWalked = qint64{16} << 20;

// The number stored big-endian in the four bytes at `bytes`.
quint32 pngNumber(const char* bytes);

// The chunk `type` (four letters) around `data`: its length, type, data and CRC.
QByteArray pngChunk(const char* type, QByteArrayView data);

// A chunk's type is four ASCII letters; zero bytes, as in a file that was never written
// in full, are none.
bool isPngChunkType(const QByteArray& type);

// Whether a chunk holds a text: tEXt, zTXt or iTXt.
bool isPngTextChunk(const QByteArray& type);

struct PngChunk {
    QByteArray type;        // four bytes, as the file has them
    quint32 length = 0;     // of the data
    QByteArray data;        // after readData
    bool isCrcRight = false; // after readData
};

// Why a walk stopped before the end of the file.
enum class PngWalkFault {
    None,
    EndsEarly,        // the file ends within a chunk's length and type
    RunsPastEnd,      // a chunk's data or CRC runs past the end of the file
    TooLong,          // a length above what PNG allows
    TooManyChunks,    // more than kPngMaxChunksWalked chunks
    TooManyTextBytes, // more than kPngMaxTextBytesWalked of text chunks
};

// Walks a PNG's chunks on a device positioned just past the signature: next() reads each
// chunk's length and type (IEND as any other), then readData() or skipData() moves past
// it. Each returns false when the walk must stop; fault() says why.
class PngChunkWalk {
public:
    explicit PngChunkWalk(QIODevice& device) : m_device(device) {}

    bool next(PngChunk& chunk);
    // Reads the data and the CRC, and checks the CRC; counts a text's bytes.
    bool readData(PngChunk& chunk);
    bool skipData(const PngChunk& chunk);

    PngWalkFault fault() const { return m_fault; }

private:
    bool fail(PngWalkFault fault);

    QIODevice& m_device;
    int m_walked = 0;
    qint64 m_textBytes = 0;
    PngWalkFault m_fault = PngWalkFault::None;
};

} // namespace mandalix
