#include "platform/jet/RowsAhead.h"

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
    // Reader: waits for room. False when the caller has stopped.
    bool put(Batch&& batch)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || m_full.size() < kBatchesAhead; });
        if (m_stopped)
            return false;
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

    // Caller: the next batch, or false once the reader has finished and every batch was taken.
    bool take(Batch& batch)
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
    bool m_finished = false;
    bool m_stopped = false;
    std::exception_ptr m_error;
};

void readInto(Handover& handover, size_t& columns, Database& database, const QString& sql)
{
    Batch batch;
    size_t rows = 0;
    database.ReadRows(sql, [&](std::vector<QVariant>& values) {
        columns = values.size();
        if (batch.capacity() == 0)
            batch = handover.emptyBatch();
        // Moved, not copied: the texts' shared counts stay on this thread's side.
        std::move(values.begin(), values.end(), std::back_inserter(batch));
        if (++rows < kRowsPerBatch)
            return true;
        rows = 0;
        return handover.put(std::move(batch));
    });
    if (!batch.empty())
        handover.put(std::move(batch));
}

} // namespace

void readRowsAhead(Database& database, const QString& sql, const Database::RowReader& row)
{
    Handover handover;
    size_t columns = 0; // set by the reader before its first batch is handed over
    std::thread reader([&] {
        try {
            readInto(handover, columns, database, sql);
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
    while (more && handover.take(batch)) {
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
