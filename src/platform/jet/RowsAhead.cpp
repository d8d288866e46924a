#include "platform/jet/RowsAhead.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <iterator>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <QScopeGuard>

#include "platform/jet/JetError.h"

namespace jet {

namespace {

constexpr size_t kRowsPerBatch = 256;
// Batches waiting for the caller: enough to ride out a slow write, few enough to keep memory
// flat in the size of the register.
constexpr size_t kBatchesAhead = 4;

// Rows of one batch, column after column, row after row.
using Batch = std::vector<QVariant>;

// The hand-over between the reading thread and the caller; batches go back empty for reuse.
class Handover {
public:
    // Reader: waits for room. False when the caller has stopped. The row's width goes over
    // with the batch, under the lock, so the two threads share nothing else.
    bool put(Batch&& batch, size_t columns)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || m_full.size() < kBatchesAhead; });
        if (m_stopped)
            return false;
        m_columns = columns;
        m_full.push_back(std::move(batch));
        m_changed.notify_all();
        return true;
    }
    Batch emptyBatch()
    {
        std::lock_guard lock(m_mutex);
        if (m_empty.empty())
            return {};
        Batch batch = std::move(m_empty.back());
        m_empty.pop_back();
        return batch;
    }
    void finish(std::exception_ptr error)
    {
        std::lock_guard lock(m_mutex);
        m_error = std::move(error);
        m_finished = true;
        m_changed.notify_all();
    }

    // Caller: the next batch and its rows' width, or false once the reader has finished and
    // every batch was taken.
    bool take(Batch& batch, size_t& columns)
    {
        std::unique_lock lock(m_mutex);
        if (batch.capacity() > 0) {
            batch.clear();
            m_empty.push_back(std::move(batch));
        }
        m_changed.wait(lock, [&] { return m_finished || !m_full.empty(); });
        if (m_full.empty())
            return false;
        batch = std::move(m_full.front());
        m_full.pop_front();
        columns = m_columns;
        m_changed.notify_all();
        return true;
    }
    void stop()
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
        m_changed.notify_all();
    }
    bool stopped()
    {
        std::lock_guard lock(m_mutex);
        return m_stopped;
    }
    std::exception_ptr error()
    {
        std::lock_guard lock(m_mutex);
        return m_error;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Batch> m_full;
    std::vector<Batch> m_empty;
    size_t m_columns = 0;
    bool m_finished = false;
    bool m_stopped = false;
    std::exception_ptr m_error;
};

void readInto(Handover& handover, Database& database, const QString& sql)
{
    Batch batch;
    size_t rows = 0;
    size_t columns = 0;
    database.ReadRows(sql, [&](std::vector<QVariant>& values) {
        columns = values.size();
        if (batch.capacity() == 0)
            batch = handover.emptyBatch();
        // Moved, not copied: the texts' shared counts stay on this thread's side.
        std::move(values.begin(), values.end(), std::back_inserter(batch));
        if (++rows < kRowsPerBatch)
            return true;
        rows = 0;
        return handover.put(std::move(batch), columns);
    });
    if (!batch.empty())
        handover.put(std::move(batch), columns);
}

// The connections being read ahead, each with the one thread that may use it meanwhile.
struct Lent {
    const Database* database;
    std::thread::id reader;
};
std::atomic<int> lentCount{0};
std::mutex lentMutex;
std::vector<Lent> lent;

// Lends `database` to the reading thread for its lifetime; the thread names itself (reading()).
class LentConnection {
public:
    explicit LentConnection(const Database& database) : m_database(&database)
    {
        const std::lock_guard lock(lentMutex);
        lent.push_back({m_database, {}});
        lentCount.fetch_add(1, std::memory_order_release);
    }
    ~LentConnection()
    {
        const std::lock_guard lock(lentMutex);
        lent.erase(std::find_if(lent.begin(), lent.end(),
                                [&](const Lent& l) { return l.database == m_database; }));
        lentCount.fetch_sub(1, std::memory_order_release);
    }
    LentConnection(const LentConnection&) = delete;
    LentConnection& operator=(const LentConnection&) = delete;

    void reading()
    {
        const std::lock_guard lock(lentMutex);
        for (Lent& l : lent) {
            if (l.database == m_database)
                l.reader = std::this_thread::get_id();
        }
    }

private:
    const Database* m_database;
};

} // namespace

void requireNotReadAhead(const Database& database)
{
    if (lentCount.load(std::memory_order_acquire) == 0)
        return;
    const std::lock_guard lock(lentMutex);
    for (const Lent& l : lent) {
        if (l.database == &database && l.reader != std::this_thread::get_id())
            throw JetError(errors::kInvalidOperation,
                           QStringLiteral("The diary's connection is reading rows on another "
                                          "thread; it cannot be used until they are read."));
    }
}

void readRowsAhead(Database& database, const QString& sql, const Database::RowReader& row)
{
    // A connection reading ahead is the reading thread's alone; a second read-ahead of one
    // connection is refused here too.
    requireNotReadAhead(database);
    LentConnection lentOut(database);
    Handover handover;
    std::thread reader([&] {
        try {
            lentOut.reading();
            readInto(handover, database, sql);
            handover.finish(nullptr);
        } catch (...) {
            handover.finish(std::current_exception());
        }
    });
    // The reader is stopped and joined however the caller's side ends.
    const auto joinReader = [&] {
        handover.stop();
        if (reader.joinable())
            reader.join();
    };
    const auto joinAtEnd = qScopeGuard(joinReader);

    Batch batch;
    std::vector<QVariant> values;
    bool more = true;
    size_t columns = 0;
    while (more && handover.take(batch, columns)) {
        values.resize(columns);
        for (size_t at = 0; more && at < batch.size(); at += columns) {
            const auto first = batch.begin() + std::ptrdiff_t(at);
            std::move(first, first + std::ptrdiff_t(columns), values.begin());
            more = row(values);
        }
    }
    joinReader();
    if (const std::exception_ptr error = handover.error())
        std::rethrow_exception(error);
}

} // namespace jet
