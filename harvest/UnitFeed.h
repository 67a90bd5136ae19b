#pragma once

#include "harvest/Lexer.h"
#include "harvest/SourceReferences.h"
#include "harvest/SourceText.h"

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

// Reads, decodes and skims the units of a list on worker threads, ahead of
// the harvest that consumes them in order on the calling thread. The workers
// find the landmarks (Lexer::skim); the harvest then only lexes the few
// tokens around them. Each worker takes every n-th unit, so reading and
// skimming, the larger part of the work, is shared by the processors.
//
// Memory stays bounded: a worker waits while a few runs of landmarks wait in
// its lane, so at most a handful of units are held at any time.
class UnitFeed
{
public:
    // `workers` 0 chooses from the number of processors. With `keepBytes`,
    // each unit comes with its file's bytes too.
    // The units are read as `encoding` says.
    explicit UnitFeed(QStringList paths, int workers = 0, bool keepBytes = false,
                      Encoding encoding = Encoding::Auto);
    // Stops the workers, wherever they are, and waits for them.
    ~UnitFeed();
    UnitFeed(const UnitFeed&) = delete;
    UnitFeed& operator=(const UnitFeed&) = delete;

    // Moves to the next unit of the list and gives its text, as
    // SourceText::fromBytes makes it, and in `bytes`, when given, the file's
    // bytes if the feed keeps them. False, with an empty text, when the file
    // does not exist or the list is over. Throws what reading the file threw,
    // and again on every later call. Whatever was left of the previous unit's
    // landmarks is dropped.
    // `decoding`, when given, tells how the text was read, and `references`
    // what the text refers to (SourceReferences::scan), found by the worker.
    bool nextUnit(QString& text, QByteArray* bytes = nullptr, SourceText::Decoding* decoding = nullptr,
                  SourceReferences::References* references = nullptr);
    // The next run of the current unit's landmarks, in order, valid until the
    // next call. The unit's last run ends with the end of the text; asked
    // again after it, the feed gives that run again. Never empty. Throws
    // what the worker met skimming the unit, and std::logic_error when there
    // is no unit text to read.
    const std::vector<Landmark>& nextLandmarks();

private:
    struct Item
    {
        enum Kind
        {
            Begin,     // a unit starts: its text, or that it is missing
            Landmarks, // a run of the unit's landmarks
            Failure,   // the unit could not be read: its worker ends here
        };
        Kind kind = Begin;
        qsizetype unit = 0;
        bool missing = false;
        QString text;
        SourceText::Decoding decoding;
        SourceReferences::References references;
        QByteArray bytes;
        std::vector<Landmark> landmarks;
        std::exception_ptr error;
    };
    // What one worker hands over, in the order of its units.
    struct Lane
    {
        std::deque<Item> items;
        qsizetype queuedRuns = 0;
    };

    void stop();
    void work(int worker);
    void feedUnit(qsizetype unit, Lane& lane, QByteArray& bytes);
    // Worker side: waits for room in the lane; false when the feed stops.
    bool push(Lane& lane, Item item);
    // True when the harvest has left `unit` or the feed stops.
    bool abandoned(qsizetype unit);
    std::vector<Landmark> spareRun();
    // Consumer side, with the lock held: waits for the next item of `unit`,
    // dropping what is left of earlier units.
    Item take(std::unique_lock<std::mutex>& lock, qsizetype unit);
    void recycle(std::vector<Landmark>&& run);

    const QStringList m_paths;
    const bool m_keepBytes;
    const Encoding m_encoding;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Lane> m_lanes; // one per worker
    std::vector<std::vector<Landmark>> m_spareRuns;
    bool m_stopping = false;
    qsizetype m_wantedFrom = 0; // units before it are no longer wanted

    // Consumer side only.
    qsizetype m_currentUnit = -1;
    bool m_currentMissing = false;
    std::exception_ptr m_failure;
    std::vector<Landmark> m_run;
    bool m_runEnded = false; // m_run holds the unit's last run

    std::vector<std::thread> m_workers; // last: they start once everything above exists
};
