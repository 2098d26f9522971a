#include "output/png_chunks.h"

#include <zlib.h>

#include <algorithm>

namespace mandalix {

namespace {

quint32 crcOf(QByteArrayView type, QByteArrayView data)
{
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4);
    // zlib answers a fresh checksum for a null buffer, which empty data may give.
    if (!data.isEmpty())
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
    return static_cast<quint32>(crc);
}

void appendNumber(QByteArray& to, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        to.append(static_cast<char>(value >> shift));
}

} // namespace

quint32 pngNumber(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return (quint32{b[0]} << 24) | (quint32{b[1]} << 16) | (quint32{b[2]} << 8) | quint32{b[3]};
}

QByteArray pngChunk(const char* type, QByteArrayView data)
{
    QByteArray out;
    out.reserve(data.size() + 12);
    appendNumber(out, static_cast<quint32>(data.size()));
    out.append(type, 4);
    out.append(data);
    appendNumber(out, crcOf(QByteArrayView(type, 4), data));
    return out;
}

bool isPngChunkType(const QByteArray& type)
{
    return std::all_of(type.begin(), type.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

bool isPngTextChunk(const QByteArray& type)
{
    return type == "tEXt" || type == "zTXt" || type == "iTXt";
}

bool PngChunkWalk::fail(PngWalkFault fault)
{
    m_fault = fault;
    return false;
}

bool PngChunkWalk::next(PngChunk& chunk)
{
    if (m_walked == kPngMaxChunksWalked)
        return fail(PngWalkFault::TooManyChunks);
    ++m_walked;
    const QByteArray header = m_device.read(8);
    if (header.size() < 8)
        return fail(PngWalkFault::EndsEarly);
    chunk = {};
    chunk.length = pngNumber(header.constData());
    chunk.type = header.mid(4);
    if (chunk.length > 0x7fffffffu)
        return fail(PngWalkFault::TooLong);
    return true;
}

bool PngChunkWalk::readData(PngChunk& chunk)
{
    if (isPngTextChunk(chunk.type)) {
        m_textBytes += chunk.length;
        if (m_textBytes > kPngMaxTextBytesWalked)
            return fail(PngWalkFault::TooManyTextBytes);
    }
    // Never more than the file holds, whatever the length says.
    if (m_device.bytesAvailable() < qint64{chunk.length} + 4)
        return fail(PngWalkFault::RunsPastEnd);
    chunk.data = m_device.read(chunk.length);
    const QByteArray crc = m_device.read(4);
    if (chunk.data.size() < qsizetype{chunk.length} || crc.size() < 4)
        return fail(PngWalkFault::RunsPastEnd);
    chunk.isCrcRight = crcOf(chunk.type, chunk.data) == pngNumber(crc.constData());
    return true;
}

bool PngChunkWalk::skipData(const PngChunk& chunk)
{
    if (m_device.bytesAvailable() < qint64{chunk.length} + 4 || !m_device.seek(m_device.pos() + chunk.length + 4))
        return fail(PngWalkFault::RunsPastEnd);
    return true;
}

} // namespace mandalix
