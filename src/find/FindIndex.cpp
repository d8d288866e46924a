#include "find/FindIndex.h"

#include <memory>

#include <QStringList>

#include "find/FindQuery.h"
#include "find/TextFolding.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/jet/Transaction.h"
#include "platform/varnel/VarnelCodec.h"

namespace find {

namespace {

// Between the keys of a row's fields in its index entry: no letter, so no rule of the loose
// key reaches across it.
constexpr QChar kFieldSeparator(0x1F);

} // namespace

FindIndex::FindIndex(jet::Database& database, const RegisterTexts& texts)
    : m_database(database), m_texts(texts)
{
    if (database.isServer())
        return;
    try {
        const auto existing = database.OpenRecordset(
            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = %1")
                .arg(jet::SqlLiteral(tableName())),
            jet::RecordsetType::Snapshot);
        if (existing->RecordCount() == 0) {
            if (database.isReadOnly())
                return;
            QStringList columns{QStringLiteral("row_key INTEGER PRIMARY KEY")};
            for (const RegisterTexts::Column& column : m_texts.texts)
                columns << column.name + QStringLiteral(" TEXT");
            // Not TEXT: a key of digits must stay text ("0123"), which no affinity touches.
            columns << QStringLiteral("loose BLOB");
            database.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
                                 .arg(tableName(), columns.join(QStringLiteral(", "))));
        }
        m_usable = true;
    } catch (const jet::JetError&) {
        // Another writer holds the diary: this search goes row by row.
    }
}

QString FindIndex::tableName() const
{
    return QStringLiteral("find_") + m_texts.table;
}

QString FindIndex::staleCondition() const
{
    QStringList same;
    for (const RegisterTexts::Column& column : m_texts.texts)
        same << QStringLiteral("f.%1 IS r.%1").arg(column.name);
    return QStringLiteral("(f.row_key IS NULL OR f.loose IS NULL OR NOT (%1))")
        .arg(same.join(QStringLiteral(" AND ")));
}

// The columns are named, not "*": a server's table has its row identity among them.
QString FindIndex::everyRow(jet::Database& database, const RegisterTexts& texts)
{
    return QStringLiteral("SELECT %1, %2 FROM %3")
        .arg(database.rowIdentity(), texts.columns.join(QStringLiteral(", ")), texts.table);
}

QString FindIndex::candidates(const FindQuery& query) const
{
    if (!m_usable)
        return everyRow(m_database, m_texts);
    const QString stale = staleCondition();
    QString sql =
        QStringLiteral("SELECT r.rowid, r.%1, %2 FROM %3 r LEFT JOIN %4 f ON f.row_key "
                       "= r.rowid")
            .arg(m_texts.columns.join(QStringLiteral(", r.")), stale, m_texts.table, tableName());
    if (!query.keyInfixes().isEmpty()) {
        QStringList terms{stale};
        for (const QString& infix : query.keyInfixes())
            terms << QStringLiteral("instr(f.loose, %1) > 0").arg(jet::SqlLiteral(infix));
        sql += QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" OR "));
    }
    return sql;
}

bool FindIndex::refresh()
{
    if (!m_usable)
        return false;
    QStringList columns;
    for (const RegisterTexts::Column& column : m_texts.texts)
        columns << QStringLiteral("r.") + column.name;
    const QString copied = columns.join(QStringLiteral(", "));
    try {
        // Read and written under the writer's lock, so no row changes between the two.
        jet::Transaction transaction(m_database);
        m_database.Execute(QStringLiteral("DELETE FROM %1 WHERE row_key NOT IN (SELECT rowid "
                                          "FROM %2)")
                               .arg(tableName(), m_texts.table));
        const std::unique_ptr<jet::Recordset> rows = m_database.OpenRecordset(
            QStringLiteral("SELECT r.rowid, %1 FROM %2 r LEFT JOIN %3 f ON f.row_key = r.rowid "
                           "WHERE %4")
                .arg(copied, m_texts.table, tableName(), staleCondition()),
            jet::RecordsetType::Snapshot);
        // The copies come from the register itself in the statement, byte for byte; only the
        // keys are written out, a few hundred rows per statement.
        const QString insert =
            QStringLiteral("INSERT OR REPLACE INTO %1 (row_key, %2, loose) SELECT r.rowid, %3, "
                           "v.column2 FROM (VALUES %4) AS v JOIN %5 r ON r.rowid = v.column1")
                .arg(tableName(), QString(copied).remove(QStringLiteral("r.")), copied);
        QStringList values;
        QString key;
        const auto write = [&] {
            if (!values.isEmpty())
                m_database.Execute(insert.arg(values.join(QLatin1Char(',')), m_texts.table));
            values.clear();
        };
        for (; !rows->Eof(); rows->MoveNext()) {
            QString keys;
            for (int c = 1; c < rows->FieldCount(); ++c) {
                looseKey(varnel::decode(rows->Fields(c).Value().toByteArray()), key);
                if (c > 1)
                    keys += kFieldSeparator;
                keys += key;
            }
            values << QStringLiteral("(%1, %2)")
                          .arg(rows->Fields(0).Value().toLongLong())
                          .arg(jet::SqlLiteral(keys));
            if (values.size() == 500)
                write();
        }
        write();
        transaction.commit();
        return true;
    } catch (const jet::JetError&) {
        return false;
    }
}

} // namespace find
