#include "app/picture_reader.h"

namespace mandalix {

PictureReader::PictureReader(Done done) : m_done(std::move(done)), m_thread([this] { run(); }) { }

PictureReader::~PictureReader() { stop(); }

void PictureReader::read(const QString& path)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_isStopping)
            return;
        m_queue.push_back(path);
    }
    m_wake.notify_one();
}

void PictureReader::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_isStopping = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

bool PictureReader::waitUntilIdle(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, timeout, [this] { return m_queue.empty() && !m_isReading; });
}

void PictureReader::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_isStopping || !m_queue.empty(); });
        if (m_isStopping)
            break;
        const QString path = m_queue.front();
        m_queue.pop_front();
        m_isReading = true;
        lock.unlock();
        PictureRead read = readPicturePng(path);
        m_done(path, std::move(read));
        lock.lock();
        m_isReading = false;
        if (m_queue.empty())
            m_idle.notify_all();
    }
    m_isReading = false;
    m_idle.notify_all();
}

} // namespace mandalix
