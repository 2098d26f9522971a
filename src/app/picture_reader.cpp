#include "app/picture_reader.h"

namespace mandalix {

PictureReader::PictureReader(Done done) : m_done(std::move(done)) { }

PictureReader::~PictureReader() { stop(); }

void PictureReader::read(const QString& path)
{
    m_queue.post([this, path] { m_done(path, readPicturePng(path)); });
}

void PictureReader::stop() { m_queue.stop(); }

bool PictureReader::waitUntilIdle(std::chrono::milliseconds timeout)
{
    return m_queue.waitIdleFor(timeout);
}

} // namespace mandalix
