#pragma once

#include <unordered_map>

#include "platform/jet/KeysetRecordset.h"
#include "platform/jet/ServerStatement.h"

struct pg_result;

namespace jet {

class PgDatabase;

// A record set on the diary server. Every set reads its rows in one query (never one round
// trip per row); a dynaset keeps them by row identity, writes by identity and reads its rows
// again, in one query, once this connection wrote or another desk's change was noticed.
class PgRecordset final : public KeysetRecordset {
public:
    PgRecordset(std::shared_ptr<PgDatabase> database, const QString& sql, RecordsetType type);
    ~PgRecordset() override;

private:
    void load() override;
    const Row& readRow(Key key) override;
    Key insertRow(std::uint64_t mask, const std::vector<StoredValue>& values) override;
    void updateRow(Key key, std::uint64_t mask, const std::vector<StoredValue>& values) override;
    void deleteRow(Key key) override;
    std::optional<qsizetype> findInDynaset(const QString& criterion) override;
    void afterMove() override { refreshIfStale(true); }
    void clearRows() override;

    void open(RecordsetType type);
    void readColumns(const pg_result* result);
    bool passesLikes(const pg_result* result, int row, const std::vector<int>& likeColumns) const;
    Row rowOf(const pg_result* result, int row) const;
    Key identityOf(const pg_result* result, int row) const;
    static QString placeholder(int column, int n);
    // The values of the columns in `mask`, as the statement's text parameters.
    std::vector<std::optional<QByteArray>> parameters(std::uint64_t mask,
                                                      const std::vector<StoredValue>& values) const;
    void refreshIfStale(bool poll);
    void noteOwnWrite();

    PgDatabase* m_db;
    QString m_select; // the server's text of the query, like terms taken out
    std::vector<LikeTerm> m_likes;
    std::vector<unsigned> m_types;        // each field's server type number
    int m_identity = -1;                  // the identity's column in the server's answer
    std::unordered_map<Key, Row> m_byKey; // a dynaset's rows as last read
    std::uint64_t m_stamp = 0;            // the connection's change stamp they were read at
};

} // namespace jet
