#include "RecordsetHelpers.h"

#include <sqlite3.h>

#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqliteDatabase.h"

QList<int> serials(jet::Recordset& rs)
{
    QList<int> out;
    if (rs.RecordCount() == 0)
        return out;
    rs.MoveFirst();
    while (!rs.Eof()) {
        out << rs.Fields(0).Value().toInt();
        rs.MoveNext();
    }
    return out;
}

QList<int> storedSerials(const QString& path, const QString& table)
{
    auto db = jet::Database::OpenDatabase(path);
    auto rs = db->OpenRecordset(QStringLiteral("Select * from %1 order by sl_no").arg(table));
    return serials(*rs);
}

QList<int> serialRange(int from, int to)
{
    QList<int> out;
    for (int i = from; i <= to; ++i)
        out << i;
    return out;
}

void renumberFromOne(jet::Recordset& rs, const std::function<void(int)>& afterRow)
{
    rs.MoveFirst();
    for (int i = 1; i <= rs.RecordCount(); ++i) {
        rs.Edit();
        rs.Fields(0).setValue(i);
        rs.Update();
        if (afterRow)
            afterRow(i);
        if (!rs.Eof())
            rs.MoveNext();
    }
}

int jetErrorNumber(const std::function<void()>& action)
{
    try {
        action();
    } catch (const jet::JetError& error) {
        return error.number();
    }
    return 0;
}

QString storedText(jet::Database& db, const QString& sql)
{
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(jet::sqliteHandle(db), sql.toUtf8().constData(), -1, &stmt, nullptr);
    QString out;
    if (stmt && sqlite3_step(stmt) == SQLITE_ROW)
        out = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return out;
}
