// The diary on a PostgreSQL server against the same work on the diary file, both through the
// engine, on registers of 32,767 rows. The server is VELMORA_BENCH_SERVER (a connection
// text) or a throwaway one started with tests/server/test-server.sh; without either the
// scenarios are skipped.
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "Bench.h"
#include "data/DiaryDatabase.h"
#include "data/DiarySchema.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/ServerSchema.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/jet/Transaction.h"
#include "platform/varnel/VarnelCodec.h"
#include "search/SearchQueries.h"

namespace {

constexpr int kRows = 32767;

const char* const kPlaces[] = {"ಬೆಂಗಳೂರು", "ಮೈಸೂರು", "ಬಳ್ಳಾರಿ", "ಹುಬ್ಬಳ್ಳಿ",  "ಮಂಗಳೂರು",
                               "ಬೀದರ್",    "ಧಾರವಾಡ", "ಉಡುಪಿ",  "ಬಾಗಲಕೋಟೆ", "ಶಿವಮೊಗ್ಗ"};

QString place(int i)
{
    return jet::SqlLiteral(
        QString::fromLatin1(varnel::encode(QString::fromUtf8(kPlaces[i % 10])).bytes));
}

QString date(int i)
{
    return jet::SqlLiteral(QDate(2024, 1, 1).addDays(i % 700).toString(Qt::ISODate));
}

// Fills the two registers of a diary file, then keeps a copy of each to restore from.
void fillFile(jet::Database& file)
{
    jet::Transaction transaction(file);
    for (int first = 1; first <= kRows; first += 1000) {
        QStringList local, tour;
        for (int i = first; i < first + 1000 && i <= kRows; ++i) {
            const QString text = jet::SqlLiteral(QStringLiteral("topic %1").arg(i));
            local << QStringLiteral("(%1,%2,'x','10:00:00',%3,%3,%3,%3,%3,%3)")
                         .arg(i)
                         .arg(date(i), text);
            tour << QStringLiteral("(%1,%2,%3,%4,'x','08:00:00',%4,'y','20:00:00','bus','')")
                        .arg(i)
                        .arg(place(i), place(i / 10), date(i));
        }
        file.Execute(QStringLiteral("INSERT INTO local VALUES ") + local.join(QLatin1Char(',')));
        file.Execute(QStringLiteral("INSERT INTO tour VALUES ") + tour.join(QLatin1Char(',')));
    }
    for (const char* table : {"local", "tour"})
        file.Execute(QStringLiteral("CREATE TABLE seed_%1 AS SELECT * FROM %1").arg(table));
    transaction.commit();
}

struct Diaries {
    QTemporaryDir dir;
    QString serverDir; // a throwaway server's files, when this run started one
    QString skipped;   // why there is no server
    std::shared_ptr<jet::Database> file;
    std::shared_ptr<jet::Database> server;

    Diaries()
    {
        QString connection = qEnvironmentVariable("VELMORA_BENCH_SERVER");
        if (connection.isEmpty())
            connection = startServer();
        if (connection.isEmpty())
            return;
        file = data::OpenDiaryFile(dir.filePath(QStringLiteral("Tarnalist.mdb")));
        fillFile(*file);
        auto admin = jet::Database::ConnectServer(connection);
        admin->Execute(QStringLiteral("DROP DATABASE IF EXISTS velmora_bench WITH (FORCE)"));
        admin->Execute(QStringLiteral("CREATE DATABASE velmora_bench"));
        admin.reset();
        const QString bench = connection + QStringLiteral(" dbname=velmora_bench");
        {
            auto setup = jet::Database::ConnectServer(bench);
            jet::initServerDiary(*setup, data::diarySchemaStatements(), file.get());
            for (const char* table : {"local", "tour"})
                setup->Execute(
                    QStringLiteral("CREATE TABLE seed_%1 AS SELECT * FROM %1").arg(table));
        }
        // Connected after the registers exist, as a desk does.
        server = jet::Database::ConnectServer(bench);
    }
    ~Diaries()
    {
        server.reset();
        if (!serverDir.isEmpty())
            QProcess::execute(QStringLiteral("sh"), {script(), QStringLiteral("stop"), serverDir});
    }

    static QString script()
    {
        return QFileInfo(QStringLiteral(__FILE__))
            .dir()
            .filePath(QStringLiteral("../tests/server/test-server.sh"));
    }

    QString startServer()
    {
        const QString where = dir.filePath(QStringLiteral("server"));
        QProcess start;
        start.start(QStringLiteral("sh"), {script(), QStringLiteral("start"), where});
        start.waitForFinished(120000);
        QFile file(where + QStringLiteral("/connection"));
        const QString connection = file.open(QIODevice::ReadOnly)
                                       ? QString::fromUtf8(file.readAll()).trimmed()
                                       : QString();
        if (connection.isEmpty()) {
            skipped = QString::fromUtf8(start.readAllStandardOutput()).trimmed();
            if (skipped.isEmpty())
                skipped = QStringLiteral("no PostgreSQL server (set VELMORA_BENCH_SERVER)");
            return {};
        }
        serverDir = where;
        return connection;
    }

    void restore(jet::Database& db, const char* table)
    {
        jet::Transaction transaction(db);
        if (db.isServer()) {
            db.Execute(QStringLiteral("TRUNCATE %1").arg(table));
            db.Execute(QStringLiteral("INSERT INTO %1 OVERRIDING SYSTEM VALUE SELECT * FROM "
                                      "seed_%1")
                           .arg(table));
        } else {
            db.Execute(QStringLiteral("DELETE FROM %1").arg(table));
            db.Execute(QStringLiteral("INSERT INTO %1 SELECT * FROM seed_%1").arg(table));
        }
        transaction.commit();
    }
};

Diaries& diaries()
{
    static Diaries shared;
    if (!shared.server)
        throw BenchSkipped(shared.skipped.toStdString());
    return shared;
}

// A whole register through the engine: opened, and every field of every row read (what
// the server must send in full; the file reads each row as it becomes current).
double openRegister(Diaries& d, jet::Database& db)
{
    d.restore(db, "local");
    return benchMs([&] {
        auto rs = db.OpenRecordset(QStringLiteral("Select * from local order by sl_no"));
        int seen = 0;
        for (; !rs->Eof(); rs->MoveNext()) {
            for (int i = 0; i < rs->FieldCount(); ++i)
                seen += rs->Fields(i).Value().isValid() ? 1 : 0;
        }
        if (seen != kRows * 10)
            throw std::runtime_error("open: wrong rows");
    });
}

// The record editor's delete: the first record, then the rest renumbered, in one transaction.
double deleteFirst(Diaries& d, jet::Database& db)
{
    d.restore(db, "local");
    auto rs = db.OpenRecordset(QStringLiteral("Select * from local order by sl_no"));
    const QString id = db.rowIdentity();
    const bool oneStatement = db.checksUniqueAtStatementEnd();
    return benchMs([&] {
        jet::Transaction transaction(db);
        rs->FindFirst(QStringLiteral("sl_no=1"));
        rs->Delete();
        db.Execute(QStringLiteral("UPDATE local SET sl_no = %2r.n FROM (SELECT %1 AS id, "
                                  "row_number() OVER (ORDER BY sl_no, %1) AS n FROM local) AS r "
                                  "WHERE local.%1 = r.id AND local.sl_no <> r.n")
                       .arg(id, oneStatement ? QString() : QStringLiteral("-")));
        if (!oneStatement)
            db.Execute(QStringLiteral("UPDATE local SET sl_no = -sl_no WHERE sl_no < 0"));
        transaction.commit();
    });
}

// The tour search by place, its rows read as the result grid reads them.
double searchTours(jet::Database& db)
{
    search::TourCriteria criteria;
    criteria.from = varnel::encode(QStringLiteral("ಬ")).bytes;
    const QString statement = search::tourQuery(criteria);
    return benchMs([&] {
        auto rs = db.OpenRecordset(statement);
        int rows = 0;
        for (; !rs->Eof(); rs->MoveNext()) {
            for (int i = 0; i < rs->FieldCount(); ++i)
                rs->Fields(i).Value();
            ++rows;
        }
        if (rows < kRows / 10)
            throw std::runtime_error("search: too few rows");
    });
}

const BenchRegistration serverOpen("server-open", [] {
    Diaries& d = diaries();
    return BenchResult{openRegister(d, *d.server), openRegister(d, *d.file)};
});

const BenchRegistration serverDeleteFirst("server-delete-first", [] {
    Diaries& d = diaries();
    return BenchResult{deleteFirst(d, *d.server), deleteFirst(d, *d.file)};
});

const BenchRegistration serverSearchTourLike("server-search-tour-like", [] {
    Diaries& d = diaries();
    return BenchResult{searchTours(*d.server), searchTours(*d.file)};
});

} // namespace
