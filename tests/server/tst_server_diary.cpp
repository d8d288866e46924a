// The diary on a PostgreSQL server: the same rows as the file for every search statement,
// several desks at once, a refused overtaken save, a server going away, a safe `server init`.
#include <atomic>
#include <thread>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "FakeRegisterView.h"
#include "backup/DiaryBackup.h"
#include "SampleDiary.h"
#include "TestServer.h"
#include "data/DiaryDatabase.h"
#include "data/DiarySchema.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/ServerSchema.h"
#include "platform/jet/Transaction.h"
#include "registers/KeptDeletions.h"
#include "registers/RecordEditor.h"
#include "registers/RegisterMapping.h"
#include "reports/ReportRegister.h"
#include "reports/Stager.h"
#include "search/SearchQueries.h"

namespace {

QList<QVariantList> rowsOf(jet::Database& db, const QString& sql)
{
    auto rs = db.OpenRecordset(sql);
    QList<QVariantList> out;
    for (; !rs->Eof(); rs->MoveNext()) {
        QVariantList row;
        for (int i = 0; i < rs->FieldCount(); ++i)
            row << rs->Fields(i).Value();
        out << row;
    }
    return out;
}

int countOf(jet::Database& db, const QString& sql)
{
    return db.OpenRecordset(sql, jet::RecordsetType::Snapshot)->Fields(0).Value().toInt();
}

// A desk: a program folder whose velmora.conf names the server, with a record editor on the
// local register. Each desk names itself, so each has its own connection.
struct Desk {
    QTemporaryDir folder;
    FakeRegisterView view;
    registers::RecordEditor editor{registers::RegisterMapping::local(), view};
    QString name;

    Desk(const QString& connection, const QString& deskName) : name(deskName)
    {
        QFile settings(folder.filePath(QString::fromLatin1(data::kSettingsFileName)));
        settings.open(QIODevice::WriteOnly);
        settings.write(QStringLiteral("[server]\nconnection=\"%1 application_name=%2\"\n")
                           .arg(connection, deskName)
                           .toUtf8());
        settings.close();
        view.editor = &editor;
        editor.OpenRegister(folder.path() + QStringLiteral("\\Tarnalist.mdb"));
    }
    void add(const QByteArray& topic)
    {
        // Each record on a day of its own, so that no two clash.
        static std::atomic<int> days{0};
        editor.ImageNew_Click();
        view.dates[1] = QDate(2030, 1, 1).addDays(days++);
        view.typeVarnel(4, topic);
        view.typeVarnel(5, "place");
        view.answers << true;
        editor.ImageSave_Click();
    }
    // The topic of the record shown when the delete was asked for.
    QByteArray remove(int serial)
    {
        view.scrollTo(serial);
        const QByteArray topic = view.shownText(4);
        view.answers << true;
        editor.ImageDelete_Click();
        return topic;
    }
};

// Changes the shown record and saves it; the number of the engine error the save ends with.
int failedSaveNumber(Desk& desk)
{
    desk.view.typeVarnel(4, "lost");
    desk.view.answers << true;
    try {
        desk.editor.ImageSave_Click();
    } catch (const jet::JetError& error) {
        return error.number();
    }
    return 0;
}

} // namespace

class TestServerDiary : public QObject {
    Q_OBJECT

    QString m_connection;

    // A new database holding an empty diary.
    QString freshDiary(const QString& name)
    {
        const QString connection = freshServerDatabase(name);
        auto server = jet::Database::ConnectServer(connection);
        jet::initServerDiary(*server, data::diarySchemaStatements());
        return connection;
    }

private slots:
    void initTestCase() { VELMORA_REQUIRE_TEST_SERVER(); }

    void searchStatementsGiveTheSameRowsAsTheFile()
    {
        QTemporaryDir folder;
        auto file = openSampleDiary(folder.path());
        auto server = jet::Database::ConnectServer(freshDiary(QStringLiteral("velmora_search")));
        {
            jet::Transaction transaction(*server);
            jet::copyRegistersToServer(*file, *server);
            transaction.commit();
        }
        QStringList statements;
        const QDate from(2026, 12, 20), to(2027, 2, 10);
        for (const char* table : {"local", "outstation"}) {
            for (int mask = 0; mask < 16; ++mask) {
                search::ProgrammeBounds b;
                if (mask & 1)
                    b.dateFrom = from;
                if (mask & 2)
                    b.dateTo = to;
                if (mask & 4)
                    b.timeFrom = QTime(9, 0);
                if (mask & 8)
                    b.timeTo = QTime(17, 30);
                statements << search::programmeQuery(QLatin1String(table), b);
            }
        }
        // Place prefixes taken from the sample: the first letter's bytes of two places.
        const QList<QVariantList> tours = rowsOf(*file, search::tourOpeningQuery());
        QVERIFY(tours.size() > 2);
        const QByteArray fromPlace = tours[0][1].toByteArray().left(2);
        const QByteArray toPlace = tours[1][2].toByteArray().left(1);
        for (int mask = 0; mask < 16; ++mask) {
            search::TourCriteria c;
            if (mask & 1)
                c.from = fromPlace;
            if (mask & 2)
                c.to = toPlace;
            if (mask & 4)
                c.dateFrom = from;
            if (mask & 8)
                c.dateTo = to;
            statements << search::tourQuery(c);
        }
        QCOMPARE(statements.size(), 48);
        int nonEmpty = 0;
        for (const QString& statement : statements) {
            const QList<QVariantList> expected = rowsOf(*file, statement);
            QCOMPARE(rowsOf(*server, statement), expected);
            nonEmpty += expected.isEmpty() ? 0 : 1;
        }
        QVERIFY(nonEmpty > 30); // the bounds select rows, not only empty sets
    }

    // Each desk stages its reports in tables of its own connection: two desks staging at once
    // each read back exactly their own range, in the file's forms.
    void twoDesksStagingReportsNeverMixRows()
    {
        QTemporaryDir folder;
        auto file = openSampleDiary(folder.path());
        const QString connection = freshDiary(QStringLiteral("velmora_staging"));
        auto first = jet::Database::ConnectServer(connection);
        auto second = jet::Database::ConnectServer(connection);
        {
            jet::Transaction transaction(*first);
            jet::copyRegistersToServer(*file, *first);
            transaction.commit();
        }
        const auto& local = reports::ReportRegister::local();
        const QDate a(2026, 12, 1), b(2026, 12, 31), c(2027, 1, 1), d(2027, 2, 28);
        const int inFirst = reports::stageRange(*first, local, a, b);
        const int inSecond = reports::stageRange(*second, local, c, d);
        QCOMPARE(reports::stageRange(*file, local, a, b), inFirst);
        QVERIFY(inFirst > 0 && inSecond > 0);
        // In the order each home staged them (its row identity), not sorted afterwards: the
        // programmes of one day (several typed out of time order in January) come in time
        // order on both.
        const auto staged = [](jet::Database& db) {
            return rowsOf(db,
                          QStringLiteral("Select * from temp_local order by ") + db.rowIdentity());
        };
        QCOMPARE(staged(*first), staged(*file));
        QCOMPARE(reports::stageRange(*file, local, c, d), inSecond);
        QCOMPARE(staged(*second), staged(*file));
    }

    // velmora-cli server init/check and --server in place of --diary.
    void commandLine()
    {
        QTemporaryDir folder;
        openSampleDiary(folder.path());
        const QString file = folder.filePath(QStringLiteral("Tarnalist.mdb"));
        const QString connection = freshServerDatabase(QStringLiteral("velmora_cli"));
        const auto run = [](const QStringList& arguments, QByteArray* output = nullptr) {
            QProcess cli;
            cli.start(QStringLiteral(VELMORA_CLI), arguments);
            cli.waitForFinished(60000);
            if (output)
                *output = cli.readAllStandardOutput();
            return cli.exitCode();
        };
        {
            // A programme deleted and kept, the rest renumbered: the kept one comes along and
            // can still be brought back, and every row keeps its key (its calendar UID).
            const auto db = data::OpenDiaryFile(file);
            jet::Transaction deletion(*db);
            registers::KeptDeletions(*db, QStringLiteral("local"))
                .keep(rowsOf(*db, QStringLiteral("Select rowid from local where sl_no = 30"))
                          .first()
                          .first()
                          .toLongLong(),
                      QDateTime::currentDateTime());
            db->Execute(QStringLiteral("Delete from local where sl_no = 30"));
            db->Execute(QStringLiteral("Update local set sl_no = sl_no - 1 where sl_no > 30"));
            deletion.commit();
        }
        QByteArray said;
        QCOMPARE(run({"server", "check", connection}, &said), 1);
        QVERIFY(said.contains("reachable: yes"));
        QCOMPARE(run({"server", "init", connection, "--from-diary", file}), 0);
        {
            const auto server = jet::Database::ConnectServer(connection);
            const auto keys = [](jet::Database& db) {
                return rowsOf(db, QStringLiteral("Select %1, sl_no from local order by %1")
                                      .arg(db.rowIdentity()));
            };
            QCOMPARE(keys(*server), keys(*data::OpenDiaryFile(file)));
            registers::KeptDeletions kept(*server, QStringLiteral("local"));
            QCOMPARE(kept.list().size(), 1);
            QCOMPARE(kept.restore(kept.list().first().id).serial, 30);
        }
        QCOMPARE(run({"server", "init", connection, "--from-diary", file}), 2);
        QCOMPARE(run({"server", "check", connection}, &said), 0);
        QVERIFY2(said.contains("schema version: 1") && said.contains("local: 60 records"), said);
        QCOMPARE(run({"server", "check", connection + " password=secret"}), 2);
        QByteArray onServer, inFile;
        QCOMPARE(run({"list", "tour", "--from-place", QStringLiteral("ಬ"), "--server", connection},
                     &onServer),
                 0);
        QCOMPARE(
            run({"list", "tour", "--from-place", QStringLiteral("ಬ"), "--diary", file}, &inFile),
            0);
        QCOMPARE(onServer, inFile);
        QCOMPARE(run({"backup", "--server", connection}), 2); // backed up with the server's tools
        // A desk whose diary is on the server takes no backup at its start.
        Desk desk(connection, QStringLiteral("backup"));
        const QString diary = desk.folder.path() + QStringLiteral("/Tarnalist.mdb");
        QCOMPARE(backup::dailyBackup(diary), std::optional<QString>());
        QVERIFY(!QFileInfo::exists(desk.folder.filePath(QStringLiteral("backups"))));
    }

    void initRefusesADiaryAndChangesNothing()
    {
        const QString connection = freshDiary(QStringLiteral("velmora_init"));
        auto server = jet::Database::ConnectServer(connection);
        server->Execute(QStringLiteral("INSERT INTO local (sl_no, tarna_date, tarna_time, topic) "
                                       "VALUES (1, '2027-01-01', '10:00:00', 'x')"));
        try {
            jet::initServerDiary(*server, data::diarySchemaStatements());
            QFAIL("a second init was not refused");
        } catch (const jet::JetError& error) {
            QCOMPARE(error.number(), jet::errors::kInvalidOperation);
        }
        const jet::ServerDiaryState state = jet::readServerDiaryState(*server);
        QCOMPARE(state.schemaVersion, std::optional<int>(jet::kServerSchemaVersion));
        QCOMPARE(state.counts.value(0), qMakePair(QStringLiteral("local"), 1));
    }

    // Two desks add and delete at random, at the same time, each on its own connection: the
    // register ends numbered 1..N and holds exactly the records added and not deleted.
    void twoDesksAtOnceKeepSerialsDenseAndLoseNothing()
    {
        const QString connection = freshDiary(QStringLiteral("velmora_desks"));
        Desk first(connection, QStringLiteral("desk1")),
            second(connection, QStringLiteral("desk2"));
        QStringList failures[2];
        QSet<QByteArray> added[2], deleted[2];
        const auto work = [&](Desk& desk, int index) {
            QRandomGenerator random(quint32(17 + index));
            auto check = jet::Database::ConnectServer(connection);
            for (int step = 0; step < 60; ++step) {
                try {
                    const int count = countOf(*check, QStringLiteral("Select count(*) from local"));
                    if (count == 0 || random.bounded(3) != 0) {
                        const QByteArray topic =
                            "d" + QByteArray::number(index) + "-" + QByteArray::number(step);
                        desk.add(topic);
                        added[index].insert(topic);
                    } else {
                        const QByteArray topic =
                            desk.remove(1 + int(random.bounded(quint32(count))));
                        if (countOf(*check, QStringLiteral("Select count(*) from local where "
                                                           "topic = '%1'")
                                                .arg(QString::fromLatin1(topic))) == 0)
                            deleted[index].insert(topic);
                    }
                } catch (const jet::JetError& error) {
                    failures[index] << error.text();
                }
            }
        };
        std::thread a(work, std::ref(first), 0);
        std::thread b(work, std::ref(second), 1);
        a.join();
        b.join();
        QVERIFY2(failures[0].isEmpty() && failures[1].isEmpty(),
                 qPrintable((failures[0] + failures[1]).join(QLatin1Char('\n'))));
        auto server = jet::Database::ConnectServer(connection);
        const QList<QVariantList> rows =
            rowsOf(*server, QStringLiteral("Select * from local order by sl_no"));
        QSet<QByteArray> topics;
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows[i][0].toInt(), i + 1);
            QVERIFY2(!topics.contains(rows[i][4].toByteArray()), "a record was doubled");
            topics.insert(rows[i][4].toByteArray());
        }
        // Exactly the records added and not deleted are stored.
        QCOMPARE(topics, (added[0] + added[1]) - (deleted[0] + deleted[1]));
        QVERIFY(!deleted[0].isEmpty() && !deleted[1].isEmpty());
        QVERIFY(rows.size() > 20);
    }

    void overtakenSaveAndDeleteAreRefused()
    {
        const QString connection = freshDiary(QStringLiteral("velmora_overtaken"));
        Desk first(connection, QStringLiteral("first"));
        first.add("one");
        first.add("two");
        Desk second(connection, QStringLiteral("second")); // shows record 1
        first.view.scrollTo(1);
        // The second desk changes record 1; the first desk's change of it is then refused.
        second.view.typeVarnel(4, "theirs");
        second.view.answers << true;
        second.editor.ImageSave_Click();
        first.view.typeVarnel(4, "mine");
        first.view.answers << true << false; // save? yes; overwrite their change? no
        first.editor.ImageSave_Click();
        auto server = jet::Database::ConnectServer(connection);
        QList<QVariantList> rows =
            rowsOf(*server, QStringLiteral("Select * from local order by sl_no"));
        QCOMPARE(rows[0][4].toByteArray(), QByteArray("theirs"));
        QCOMPARE(first.view.shownText(4), QByteArray("theirs"));
        // The first desk shows record 2, the second deletes it: the first desk's delete then
        // removes nothing else.
        first.view.scrollTo(2);
        second.remove(2);
        first.view.answers << true;
        first.editor.ImageDelete_Click();
        rows = rowsOf(*server, QStringLiteral("Select * from local order by sl_no"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][4].toByteArray(), QByteArray("theirs"));
    }

    // A server diary laid out before deletions were kept gets their table at its first
    // deletion; a desk takes back its deletion and its save, another brings a deletion back.
    void deletionsAreKeptAndComeBack()
    {
        const QString connection = freshDiary(QStringLiteral("velmora_kept"));
        Desk desk(connection, QStringLiteral("undoing"));
        for (const char* topic : {"one", "two", "three"})
            desk.add(topic);
        auto server = jet::Database::ConnectServer(connection);
        const auto topics = [&] {
            QByteArrayList list;
            for (const QVariantList& row :
                 rowsOf(*server, QStringLiteral("Select * from local order by sl_no")))
                list << QByteArray::number(row[0].toInt()) + row[4].toByteArray();
            return list;
        };
        const QByteArrayList all{"1one", "2two", "3three"};
        desk.remove(2);
        QCOMPARE(countOf(*server, QStringLiteral("Select count(*) from deleted_records where "
                                                 "register_name = 'local' and sl_no = 2")),
                 1);
        desk.view.answers << true;
        desk.editor.Undo_Click();
        QCOMPARE(topics(), all);
        desk.view.scrollTo(3);
        desk.view.typeVarnel(4, "changed");
        desk.view.answers << true << true; // save, then take it back
        desk.editor.ImageSave_Click();
        desk.editor.Undo_Click();
        QCOMPARE(topics(), all);
        desk.remove(1);
        registers::KeptDeletions kept(*server, QStringLiteral("local"));
        QCOMPARE(kept.list().size(), 1); // the one brought back is no longer kept
        QCOMPARE(kept.restore(kept.list().first().id).outcome,
                 registers::KeptDeletions::Outcome::Restored);
        QCOMPARE(topics(), all);
        QVERIFY(kept.list().isEmpty());
    }

    // A server of this case's own, stopped while a window holds the diary and started again.
    void serverStoppedMidWindowGivesTheMessageAndComesBack()
    {
        QTemporaryDir dir;
        const QString where = dir.filePath(QStringLiteral("own"));
        const auto script = [&where](const char* action) {
            return QProcess::execute(
                QStringLiteral("sh"),
                {QStringLiteral(VELMORA_TEST_SERVER_SCRIPT), QLatin1String(action), where});
        };
        QCOMPARE(script("start"), 0);
        const std::unique_ptr<void, std::function<void(void*)>> stopAtEnd(
            &dir, [&script](void*) { script("stop"); });
        QFile file(where + QStringLiteral("/connection"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString connection = QString::fromUtf8(file.readAll()).trimmed();
        jet::initServerDiary(*jet::Database::ConnectServer(connection),
                             data::diarySchemaStatements());
        Desk desk(connection, QStringLiteral("stopped"));
        desk.add("kept");
        QCOMPARE(script("halt"), 0);
        QCOMPARE(failedSaveNumber(desk), jet::errors::kServerUnreachable);
        QCOMPARE(script("resume"), 0);
        desk.add("after");
        auto server = jet::Database::ConnectServer(connection);
        const QList<QVariantList> rows =
            rowsOf(*server, QStringLiteral("Select * from local order by sl_no"));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0][4].toByteArray(), QByteArray("kept"));
        QCOMPARE(rows[1][4].toByteArray(), QByteArray("after"));
    }

    // Another desk's change reaches an open window through the change notices: its navigator
    // counts the new record at the next move.
    void otherDesksChangesReachTheNavigator()
    {
        const QString connection = freshDiary(QStringLiteral("velmora_notices"));
        Desk first(connection, QStringLiteral("watcher"));
        first.add("one");
        first.add("two");
        Desk second(connection, QStringLiteral("writer"));
        second.add("three");
        QCOMPARE(first.view.navMax, 2);
        // The notice travels on its own; the window looks at each move.
        int serial = 2;
        QTRY_VERIFY_WITH_TIMEOUT((first.view.scrollTo(serial = 3 - serial), first.view.navMax == 3),
                                 10000);
    }

    void serverGoingAwayGivesTheUnreachableErrorAndComesBack()
    {
        const QString connection = freshDiary(QStringLiteral("velmora_away"));
        Desk desk(connection, QStringLiteral("away"));
        desk.add("kept");
        auto admin = jet::Database::ConnectServer(connection);
        // The server ends the desk's connection, as a restart or a network cut does.
        admin->OpenRecordset(QStringLiteral("SELECT pg_terminate_backend(pid) FROM "
                                            "pg_stat_activity WHERE application_name = 'away'"),
                             jet::RecordsetType::Snapshot);
        QCOMPARE(failedSaveNumber(desk), jet::errors::kServerUnreachable);
        QCOMPARE(rowsOf(*admin, QStringLiteral("Select * from local"))[0][4].toByteArray(),
                 QByteArray("kept"));
        // The next action connects again and works.
        desk.add("after");
        QCOMPARE(countOf(*admin, QStringLiteral("Select count(*) from local")), 2);
        // A server that is not there at all is named at once.
        try {
            jet::Database::ConnectServer(QStringLiteral("host=127.0.0.1 port=1 dbname=x"));
            QFAIL("connected to nothing");
        } catch (const jet::JetError& error) {
            QCOMPARE(error.number(), jet::errors::kServerUnreachable);
        }
    }
};

QTEST_GUILESS_MAIN(TestServerDiary)
#include "tst_server_diary.moc"
