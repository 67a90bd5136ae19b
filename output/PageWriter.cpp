#include "output/PageWriter.h"

#include "common/QuorvelError.h"

namespace {

// Enough to keep the writer busy, few enough that the pages waiting hold
// little memory.
constexpr size_t kMostQueued = 64;

} // namespace

PageWriter::PageWriter(AtomicFile::Options options) : m_options(options), m_thread([this] { work(); })
{}

PageWriter::~PageWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void PageWriter::write(QString path, QByteArray bytes)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_queue.size() < kMostQueued || m_failure; });
    throwIfFailed();
    m_queue.push_back(Page{std::move(path), std::move(bytes)});
    lock.unlock();
    m_changed.notify_all();
}

void PageWriter::finish()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return (m_queue.empty() && !m_writing) || m_failure; });
    throwIfFailed();
}

void PageWriter::throwIfFailed()
{
    if (m_failure)
        throw QuorvelError(*m_failure);
}

void PageWriter::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return !m_queue.empty() || m_closing; });
        if (m_queue.empty() || m_failure)
            return; // closing, or nothing more may be written after a failure
        const Page page = std::move(m_queue.front());
        m_queue.pop_front();
        m_writing = true;
        lock.unlock();
        m_changed.notify_all(); // room in the queue
        const std::optional<QString> reason = AtomicFile::tryWrite(page.path, page.bytes, m_options);
        lock.lock();
        m_writing = false;
        if (reason) {
            m_failure = AtomicFile::cannotCreate(page.path, *reason);
            m_queue.clear();
        }
        m_changed.notify_all();
    }
}
