#include "output/PageWriter.h"

#include "common/QuorvelError.h"

namespace {

// Enough to keep the writer busy, few enough that the pages waiting hold
// little memory.
constexpr size_t kMostQueued = 64;
// More writers wait no less on a disk of this kind.
constexpr int kWriters = 2;

} // namespace

PageWriter::PageWriter(AtomicFile::Options options) : m_options(options)
{
    try {
        for (int i = 0; i < kWriters; ++i)
            m_threads.emplace_back([this] { work(); });
    } catch (...) {
        close(); // no thread to be had: the command fails
        throw;
    }
}

PageWriter::~PageWriter()
{
    close();
}

void PageWriter::close()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
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
    m_changed.wait(lock, [&] { return (m_queue.empty() && m_writing == 0) || m_failure; });
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
        ++m_writing;
        lock.unlock();
        m_changed.notify_all(); // room in the queue
        const Outcome written = AtomicFile::tryWrite(page.path, page.bytes, m_options);
        lock.lock();
        --m_writing;
        if (!written && !m_failure) {
            m_failure = AtomicFile::cannotCreate(page.path, written.reason());
            m_queue.clear();
        }
        m_changed.notify_all();
    }
}
