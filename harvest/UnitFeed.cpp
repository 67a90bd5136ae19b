#include "harvest/UnitFeed.h"

#include "harvest/SourceText.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

// Tokens skimmed per run: about a unit of ordinary size, so that the threads
// meet about once per unit (waking a sleeping thread costs tens of
// microseconds), while a huge unit still comes in pieces.
constexpr qsizetype kRunTokens = 128 * 1024;
// Runs a worker may have queued before it waits for the harvest.
constexpr qsizetype kQueuedRuns = 4;
// The harvest itself takes far less than reading and skimming, so a worker
// per processor keeps every processor busy.
constexpr int kMostWorkers = 4;

} // namespace

UnitFeed::UnitFeed(QStringList paths, int workers, bool keepBytes, Encoding encoding)
    : m_paths(std::move(paths)), m_keepBytes(keepBytes), m_encoding(encoding)
{
    if (workers <= 0)
        workers = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMostWorkers);
    workers = static_cast<int>(std::min<qsizetype>(workers, std::max<qsizetype>(m_paths.size(), 1)));
    m_lanes.resize(static_cast<size_t>(workers));
    m_workers.reserve(static_cast<size_t>(workers));
    try {
        for (int w = 0; w < workers; ++w)
            m_workers.emplace_back([this, w] { work(w); });
    } catch (...) {
        stop(); // no thread to be had: the command fails
        throw;
    }
}

UnitFeed::~UnitFeed()
{
    stop();
}

void UnitFeed::stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& worker : m_workers) {
        if (worker.joinable())
            worker.join();
    }
}

void UnitFeed::work(int worker)
{
    Lane& lane = m_lanes[static_cast<size_t>(worker)];
    const auto step = static_cast<qsizetype>(m_lanes.size());
    QByteArray bytes; // keeps its storage from unit to unit
    for (qsizetype unit = worker; unit < m_paths.size(); unit += step) {
        try {
            feedUnit(unit, lane, bytes);
        } catch (...) {
            Item failure;
            failure.kind = Item::Failure;
            failure.unit = unit;
            failure.error = std::current_exception();
            push(lane, std::move(failure));
            return;
        }
        const std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
    }
}

void UnitFeed::feedUnit(qsizetype unit, Lane& lane, QByteArray& bytes)
{
    const QString& path = m_paths[unit];
    Item begin;
    begin.unit = unit;
    if (!SourceText::fileExists(path)) {
        begin.missing = true;
        push(lane, std::move(begin));
        return;
    }
    SourceText::readFile(path, bytes);
    QString text;
    begin.decoding = SourceText::fromBytes(bytes, text, m_encoding);
    begin.references = SourceReferences::scan(text);
    const bool unicodeLetters = begin.decoding.utf8; // `begin` is handed over below
    begin.text = text;                               // shared: both threads only read it from now on
    if (m_keepBytes) // handed over whole: the next unit is read into a new buffer
        begin.bytes = std::exchange(bytes, QByteArray());
    if (!push(lane, std::move(begin)))
        return;

    Lexer::SkimState state;
    state.unicodeLetters = unicodeLetters;
    std::vector<Landmark> landmarks = spareRun();
    for (;;) {
        const bool last = Lexer::skim(text, state, kRunTokens, landmarks);
        if (!landmarks.empty() || last) { // else nothing the harvest stops at: no need to wake it
            Item run;
            run.kind = Item::Landmarks;
            run.unit = unit;
            run.landmarks = std::move(landmarks);
            if (!push(lane, std::move(run)) || last)
                return;
            landmarks = spareRun();
        }
        if (abandoned(unit))
            return;
    }
}

bool UnitFeed::push(Lane& lane, Item item)
{
    std::unique_lock lock(m_mutex);
    const bool isRun = item.kind == Item::Landmarks;
    m_changed.wait(lock, [&] { return m_stopping || !isRun || lane.queuedRuns < kQueuedRuns; });
    if (m_stopping)
        return false;
    if (isRun)
        ++lane.queuedRuns;
    lane.items.push_back(std::move(item));
    lock.unlock();
    m_changed.notify_all();
    return true;
}

bool UnitFeed::abandoned(qsizetype unit)
{
    const std::lock_guard lock(m_mutex);
    return unit < m_wantedFrom || m_stopping;
}

std::vector<Landmark> UnitFeed::spareRun()
{
    const std::lock_guard lock(m_mutex);
    if (m_spareRuns.empty())
        return {};
    std::vector<Landmark> run = std::move(m_spareRuns.back());
    run.clear();
    m_spareRuns.pop_back();
    return run;
}

UnitFeed::Item UnitFeed::take(std::unique_lock<std::mutex>& lock, qsizetype unit)
{
    Lane& lane = m_lanes[static_cast<size_t>(unit) % m_lanes.size()];
    for (;;) {
        m_changed.wait(lock, [&] { return !lane.items.empty(); });
        Item item = std::move(lane.items.front());
        lane.items.pop_front();
        if (item.kind == Item::Landmarks)
            --lane.queuedRuns;
        m_changed.notify_all(); // there is room for the worker again
        if (item.unit == unit)
            return item;
        if (item.unit > unit)
            throw std::logic_error("UnitFeed: a unit came before its turn");
        // What the worker sent of a unit the harvest has left early.
        recycle(std::move(item.landmarks));
    }
}

void UnitFeed::recycle(std::vector<Landmark>&& run)
{
    if (run.capacity() > 0)
        m_spareRuns.push_back(std::move(run));
    run = {};
}

bool UnitFeed::nextUnit(QString& text, QByteArray* bytes, SourceText::Decoding* decoding,
                        SourceReferences::References* references)
{
    text.clear();
    if (bytes != nullptr)
        bytes->clear();
    if (m_failure)
        std::rethrow_exception(m_failure);
    if (m_currentUnit + 1 >= m_paths.size())
        return false;
    std::unique_lock lock(m_mutex);
    recycle(std::move(m_run));
    m_runEnded = false;
    ++m_currentUnit;
    m_wantedFrom = m_currentUnit; // a worker may still skim the unit left early
    Item item = take(lock, m_currentUnit);
    if (item.kind == Item::Failure) {
        m_currentMissing = true;
        m_failure = item.error;
        std::rethrow_exception(m_failure);
    }
    if (item.kind != Item::Begin)
        throw std::logic_error("UnitFeed::nextUnit: a unit without its beginning");
    m_currentMissing = item.missing;
    text = std::move(item.text);
    if (bytes != nullptr)
        *bytes = std::move(item.bytes);
    if (decoding != nullptr)
        *decoding = item.decoding;
    if (references != nullptr)
        *references = std::move(item.references);
    return !item.missing;
}

const std::vector<Landmark>& UnitFeed::nextLandmarks()
{
    if (m_currentUnit < 0 || m_currentMissing)
        throw std::logic_error("UnitFeed::nextLandmarks: no unit text to read");
    if (m_runEnded) // the unit is over: its last run ends with the end again
        return m_run;
    std::unique_lock lock(m_mutex);
    recycle(std::move(m_run));
    Item item = take(lock, m_currentUnit);
    if (item.kind == Item::Failure) { // the worker failed while skimming
        m_currentMissing = true;
        m_failure = item.error;
        std::rethrow_exception(m_failure);
    }
    if (item.kind != Item::Landmarks || item.landmarks.empty())
        throw std::logic_error("UnitFeed::nextLandmarks: landmarks out of order");
    m_run = std::move(item.landmarks);
    m_runEnded = m_run.back().code == EndOfText;
    return m_run;
}
