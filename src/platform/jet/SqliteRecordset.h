#pragma once

#include <unordered_map>

#include "platform/jet/KeysetRecordset.h"
#include "platform/jet/SqliteStatement.h"

namespace jet {

class SqliteDatabase;

// A record set over an SQLite file: a dynaset keeps its rowids and reads the current row when
// it is asked for; a read-only set holds its rows.
class SqliteRecordset final : public KeysetRecordset {
public:
    SqliteRecordset(std::shared_ptr<SqliteDatabase> database, const QString& sql,
                    RecordsetType type);
    ~SqliteRecordset() override;

private:
    void load() override;
    const Row& readRow(Key key) override;
    Key insertRow(std::uint64_t mask, const std::vector<StoredValue>& values) override;
    void updateRow(Key key, std::uint64_t mask, const std::vector<StoredValue>& values) override;
    void deleteRow(Key key) override;
    std::optional<qsizetype> findInDynaset(const QString& criterion) override;
    void afterMove() override { m_cachedKey = kGone; }

    void openDynaset(const QString& table, const QString& rest);
    void readColumns(sqlite3_stmt* stmt);
    void loadKeys();
    void loadRows();
    static QString placeholder(int column, int n);
    SqliteStatement& insertStatement(std::uint64_t mask);
    SqliteStatement& updateStatement(std::uint64_t mask);

    sqlite3* m_db;
    // The current row, read once when first asked for.
    Key m_cachedKey = kGone;
    Row m_cachedRow;

    SqliteStatement m_keysetStatement;
    SqliteStatement m_fetchStatement;
    SqliteStatement m_deleteStatement;
    std::unordered_map<std::uint64_t, SqliteStatement> m_updateStatements;
    std::unordered_map<std::uint64_t, SqliteStatement> m_insertStatements;
    std::unordered_map<int, SqliteStatement> m_findStatements;
};

} // namespace jet
