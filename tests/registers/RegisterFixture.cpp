#include "RegisterFixture.h"

#include <sqlite3.h>

#include <QtTest>

#include "data/DiaryDatabase.h"
#include "platform/varnel/VarnelCodec.h"

namespace {

struct Connection {
    sqlite3* db = nullptr;
    explicit Connection(const QString& path)
    {
        if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
            qFatal("cannot open %s", qPrintable(path));
        sqlite3_busy_timeout(db, 5000);
    }
    ~Connection() { sqlite3_close(db); }
};

QString columnText(sqlite3_stmt* st, int i)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
}

} // namespace

RegisterFixture::RegisterFixture()
{
    QVERIFY(m_dir.isValid());
}

void RegisterFixture::create()
{
    data::OpenDiaryDatabase(databasePath());
}

QByteArray RegisterFixture::topicOf(int i)
{
    return QByteArray("\xAB\xB5\xC0"
                      "Ai\xC0\xC4 ") +
           QByteArray::number(i); // "ವಿಷಯ <i>"
}

void RegisterFixture::exec(const QString& sql)
{
    Connection c(databasePath());
    char* error = nullptr;
    if (sqlite3_exec(c.db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString text = QString::fromUtf8(error);
        sqlite3_free(error);
        qFatal("SQL failed: %s: %s", qPrintable(sql), qPrintable(text));
    }
}

void RegisterFixture::fill(const QString& table, int n)
{
    Connection c(databasePath());
    sqlite3_exec(c.db, "BEGIN", nullptr, nullptr, nullptr);
    const bool tour = table == QLatin1String("tour");
    const QString sql =
        tour
            ? QStringLiteral("INSERT INTO tour VALUES (?1, ?2, 'UÀ', '2027-01-01', '', '08:00:00', "
                             "'2027-01-02', '', '09:00:00', '', '')")
            : QStringLiteral("INSERT INTO %1 VALUES (?1, '2027-01-01', '', '10:30:15', ?2, "
                             "'¸ÀÜ¼À', '', '', '', '')")
                  .arg(table);
    sqlite3_stmt* st = nullptr;
    QCOMPARE(sqlite3_prepare_v2(c.db, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK);
    for (int i = 1; i <= n; ++i) {
        const QByteArray topic = varnel::toStoredText(topicOf(i)).toUtf8();
        sqlite3_bind_int(st, 1, i);
        sqlite3_bind_text(st, 2, topic.constData(), int(topic.size()), SQLITE_TRANSIENT);
        QCOMPARE(sqlite3_step(st), SQLITE_DONE);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(c.db, "COMMIT", nullptr, nullptr, nullptr);
}

int RegisterFixture::count(const QString& table)
{
    Connection c(databasePath());
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(c.db,
                       QStringLiteral("SELECT count(*) FROM %1").arg(table).toUtf8().constData(),
                       -1, &st, nullptr);
    sqlite3_step(st);
    const int n = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    return n;
}

QList<QPair<int, QByteArray>> RegisterFixture::rows(const QString& table)
{
    const int textColumn = table == QLatin1String("tour") ? 1 : 4;
    Connection c(databasePath());
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(
        c.db,
        QStringLiteral("SELECT sl_no, * FROM %1 ORDER BY sl_no").arg(table).toUtf8().constData(),
        -1, &st, nullptr);
    QList<QPair<int, QByteArray>> result;
    while (sqlite3_step(st) == SQLITE_ROW)
        result.append(
            {sqlite3_column_int(st, 0), varnel::fromStoredText(columnText(st, 1 + textColumn))});
    sqlite3_finalize(st);
    return result;
}

QStringList RegisterFixture::row(const QString& table, int serial)
{
    Connection c(databasePath());
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(c.db,
                       QStringLiteral("SELECT * FROM %1 WHERE sl_no = %2")
                           .arg(table)
                           .arg(serial)
                           .toUtf8()
                           .constData(),
                       -1, &st, nullptr);
    QStringList values;
    if (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            values << columnText(st, i);
    }
    sqlite3_finalize(st);
    return values;
}

QList<QStringList> RegisterFixture::query(const QString& sql)
{
    Connection c(databasePath());
    sqlite3_stmt* st = nullptr;
    QList<QStringList> rows;
    if (sqlite3_prepare_v2(c.db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        return rows;
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList values;
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            values << columnText(st, i);
        rows << values;
    }
    sqlite3_finalize(st);
    return rows;
}
