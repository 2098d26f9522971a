#include "slideshow/paint_pool.h"

#include <algorithm>

namespace mandalix {

PaintPool::PaintPool(int threads)
{
    const int helpers = std::max(threads, 1) - 1;
    m_helpers.reserve(static_cast<std::size_t>(helpers));
    for (int part = 1; part <= helpers; ++part)
        m_helpers.emplace_back([this, part] { help(part); });
}

PaintPool::~PaintPool()
{
    {
        std::lock_guard lock(m_mutex);
        m_isEnding = true;
    }
    m_start.notify_all();
    for (std::thread& helper : m_helpers)
        helper.join();
}

void PaintPool::run(const std::function<void(int)>& part)
{
    {
        std::lock_guard lock(m_mutex);
        m_job = &part;
        m_pending = static_cast<int>(m_helpers.size());
        ++m_generation;
    }
    m_start.notify_all();
    part(0);
    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [this] { return m_pending == 0; });
    m_job = nullptr;
}

void PaintPool::help(int part)
{
    std::uint64_t seen = 0;
    for (;;) {
        const std::function<void(int)>* job = nullptr;
        {
            std::unique_lock lock(m_mutex);
            m_start.wait(lock, [&] { return m_isEnding || m_generation != seen; });
            if (m_isEnding)
                return;
            seen = m_generation;
            job = m_job;
        }
        (*job)(part);
        {
            std::lock_guard lock(m_mutex);
            --m_pending;
        }
        m_done.notify_one();
    }
}

} // namespace mandalix
