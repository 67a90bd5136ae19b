#pragma once

#include "common/AtomicFile.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Writes a site's pages on threads of its own, taken in the order they are
// given, while the caller makes the next ones: making a page is work for the
// processor, writing it mostly waiting on the file system (replacing a file
// makes the system write it out), and two writers wait at the same time. Each
// page is written as AtomicFile writes a file; no two pages of one site share
// a path.
//
// The first page that cannot be written stops the writing: no page is begun
// after it, and the caller's next write or finish throws its QuorvelError.
class PageWriter
{
public:
    explicit PageWriter(AtomicFile::Options options);
    // Writes what is still queued and waits for it; reports nothing, for it
    // runs while an error is already on its way.
    ~PageWriter();
    PageWriter(const PageWriter&) = delete;
    PageWriter& operator=(const PageWriter&) = delete;

    // Queues the page, waiting while many are queued. Throws the failure of
    // an earlier page.
    void write(QString path, QByteArray bytes);
    // Waits until every page queued is written. Throws the first failure.
    void finish();

private:
    struct Page
    {
        QString path;
        QByteArray bytes;
    };
    void work();
    void close();         // the writers end once the queue is written
    void throwIfFailed(); // with the lock held

    const AtomicFile::Options m_options;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Page> m_queue;
    int m_writing = 0; // pages taken from the queue and being written
    bool m_closing = false;
    std::optional<QString> m_failure;   // the message of the first page that failed
    std::vector<std::thread> m_threads; // last: they start once everything above exists
};
