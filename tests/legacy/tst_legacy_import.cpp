// Bringing the Jet fixtures over, exactly, and refusing bad files without changing anything.
#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "LegacyFixtures.h"
#include "data/DiaryDatabase.h"
#include "legacy/LegacyError.h"
#include "legacy/LegacyImport.h"
#include "platform/jet/Database.h"

namespace {

// `good` with the name `from` in its catalog or a table definition spelled `to` instead.
QByteArray renamed(QByteArray good, const QByteArray& from, const QByteArray& to, bool last)
{
    qsizetype at = -1;
    for (qsizetype i = good.indexOf(from); i >= 0; i = good.indexOf(from, i + 1)) {
        // "tour" but not "temp_tour".
        if (i >= 5 && good.mid(i - 5, 5) == "temp_")
            continue;
        at = i;
        if (!last)
            break;
    }
    if (at < 0)
        qFatal("fixture without %s", from.constData());
    good.replace(at, to.size(), to);
    return good;
}

// `good` with the serial number of local programme 5 changed to `serial`: found as its
// fixed-width columns, the number followed by the date's day number.
QByteArray withSerialFive(QByteArray good, qint32 serial)
{
    const QDate date = QDate::fromString(
        fixtures::expectedRows(QStringLiteral("local"))[4].toArray()[1].toString(), Qt::ISODate);
    const double days = double(QDate(1899, 12, 30).daysTo(date));
    const auto fixed = [&](qint32 number) {
        QByteArray bytes(reinterpret_cast<const char*>(&number), 4);
        return bytes + QByteArray(reinterpret_cast<const char*>(&days), 8);
    };
    const qsizetype at = good.indexOf(fixed(5));
    if (at < 0 || good.indexOf(fixed(5), at + 1) >= 0)
        qFatal("local programme 5 is not found once");
    return good.replace(at, 12, fixed(serial));
}

QByteArray utf16(const char* text)
{
    const QString s = QString::fromLatin1(text);
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

} // namespace

class TestLegacyImport : public QObject {
    Q_OBJECT

private slots:
    void importsExactly_data();
    void importsExactly();
    void renumbersSerialNumbersWithAGap_data();
    void renumbersSerialNumbersWithAGap();
    void refusesBadFiles_data();
    void refusesBadFiles();
    void leavesNothingAfterAFailure_data();
    void leavesNothingAfterAFailure();
    void commandLine();
};

void TestLegacyImport::importsExactly_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("name");      // the Jet diary's spelling in the folder
    QTest::addColumn<QStringList>("taken"); // names beside it already in use
    QTest::addColumn<QString>("keptAs");
    QTest::newRow("Jet 3") << "diary-jet3.mdb"
                           << "Tarnalist.mdb" << QStringList() << "Tarnalist-jet.mdb";
    QTest::newRow("Jet 4, other letter case")
        << "diary-jet4.mdb"
        << "TARNALIST.MDB" << QStringList() << "Tarnalist-jet.mdb";
    QTest::newRow("Jet 3, kept name taken")
        << "diary-jet3.mdb"
        << "tarnalist.mdb" << QStringList{"tarnalist-JET.mdb"} << "Tarnalist-jet-2.mdb";
}

void TestLegacyImport::importsExactly()
{
    QFETCH(QString, fixture);
    QFETCH(QString, name);
    QFETCH(QStringList, taken);
    QFETCH(QString, keptAs);
    QTemporaryDir folder;
    const QByteArray jet = fixtures::jetFile(fixture);
    fixtures::writeFile(folder.filePath(name), jet);
    for (const QString& other : taken)
        fixtures::writeFile(folder.filePath(other), "taken");

    QCOMPARE(legacy::legacyDiaryIn(folder.path()), folder.filePath(name));
    const legacy::ImportSummary summary = legacy::importInPlace(folder.filePath(name));

    QCOMPARE(summary.keptAs, folder.filePath(keptAs));
    QCOMPARE(fixtures::readFile(summary.keptAs), jet);
    QCOMPARE(summary.diaryFile, folder.filePath(QStringLiteral("Tarnalist.mdb")));
    QVERIFY(legacy::legacyDiaryIn(folder.path()).isEmpty());
    QStringList expectedFiles = taken;
    expectedFiles << keptAs << QStringLiteral("Tarnalist.mdb");
    expectedFiles.sort();
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expectedFiles);

    const QStringList tables{"local", "outstation", "tour"};
    for (int t = 0; t < tables.size(); ++t) {
        QJsonArray expected = fixtures::expectedRows(tables[t]);
        const QJsonArray got = fixtures::diaryRows(summary.diaryFile, tables[t]);
        QCOMPARE(got.size(), expected.size());
        for (qsizetype r = 0; r < expected.size(); ++r) {
            // The one NULL time of the fixture comes over as midnight (see the summary).
            QJsonArray row = expected[r].toArray();
            for (qsizetype c = 0; c < row.size(); ++c) {
                if (row[c].isNull())
                    row[c] = QStringLiteral("00:00:00");
            }
            QVERIFY2(got[r] == row,
                     qPrintable(QStringLiteral("%1 row %2").arg(tables[t]).arg(r + 1)));
        }
        QCOMPARE(summary.registers[t].rows, int(expected.size()));
        QVERIFY(!summary.registers[t].renumbered);
    }
    QCOMPARE(summary.registers[0].emptyTimes, QList<int>{63});
    QVERIFY(summary.registers[0].emptyDates.isEmpty());
    const QString text = legacy::summaryText(summary);
    QVERIFY2(text.contains(QLatin1String("local: 63 records")), qPrintable(text));
    QVERIFY(text.contains(QLatin1String("record(s) 63 had no time")));
}

void TestLegacyImport::renumbersSerialNumbersWithAGap_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("Jet 3") << "diary-jet3.mdb";
    QTest::newRow("Jet 4") << "diary-jet4.mdb";
}

void TestLegacyImport::renumbersSerialNumbersWithAGap()
{
    QFETCH(QString, fixture);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    fixtures::writeFile(path, withSerialFive(fixtures::jetFile(fixture), 99));

    const legacy::ImportSummary summary = legacy::importInPlace(path);

    QVERIFY(summary.registers[0].renumbered);
    QVERIFY(!summary.registers[1].renumbered);
    QVERIFY(
        legacy::summaryText(summary).contains(QLatin1String("numbered 1 to 63 in their order")));
    // Programme 99 goes last; those after the gap move up by one.
    const QJsonArray expected = fixtures::expectedRows(QStringLiteral("local"));
    const QJsonArray got = fixtures::diaryRows(path, QStringLiteral("local"));
    QCOMPARE(got.size(), expected.size());
    const auto withoutSerial = [](QJsonArray row) {
        row.removeFirst();
        return row;
    };
    QCOMPARE(got[3], expected[3]);
    QCOMPARE(withoutSerial(got[4].toArray()), withoutSerial(expected[5].toArray()));
    QCOMPARE(got[4].toArray()[0].toInt(), 5);
    QCOMPARE(withoutSerial(got[62].toArray()), withoutSerial(expected[4].toArray()));
    QCOMPARE(got[62].toArray()[0].toInt(), 63);
}

void TestLegacyImport::refusesBadFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why");
    for (const QString& fixture :
         {QStringLiteral("diary-jet3.mdb"), QStringLiteral("diary-jet4.mdb")}) {
        const QByteArray good = fixtures::jetFile(fixture);
        const int page = fixtures::pageSize(fixture);
        const auto row = [&](const char* what) -> QTestData& {
            return QTest::addRow("%s: %s", qPrintable(fixture), what);
        };
        row("header only") << good.left(100) << "truncated";
        row("cut inside the last page") << good.left(good.size() - page / 2) << "truncated";
        for (int pages : {3, 8, 16})
            row(qPrintable(QStringLiteral("cut after %1 pages").arg(pages)))
                << good.left(pages * page) << "damaged";
        QByteArray zeroed = good;
        zeroed.replace(page + 8, page - 8, QByteArray(page - 8, '\0')); // makes libmdb crash
        row("page 1 zeroed") << zeroed << "damaged";
        QByteArray newer = good;
        newer[0x14] = 2;
        row("newer version") << newer << "newer Jet version (2)";
        const bool jet4 = fixture.contains(QLatin1String("jet4"));
        row("no tour table") << renamed(good, "tour", "tuor", true) << "no table 'tour'";
        row("other columns") << renamed(good, jet4 ? utf16("venue") : "venue",
                                        jet4 ? utf16("place") : "place", false)
                             << "columns (sl_no, tarna_date, day_name, tarna_time, topic, place";
    }
    QByteArray noise(8192, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    QTest::newRow("random bytes") << noise << "not a Jet (.mdb) database";
    QTest::newRow("Jet header, random rest")
        << fixtures::jetFile(QStringLiteral("diary-jet3.mdb")).left(0x80) + noise.left(8192 - 0x80)
        << "damaged";
    QByteArray ace = fixtures::jetFile(QStringLiteral("diary-jet4.mdb"));
    ace.replace(4, 15, "Standard ACE DB");
    QTest::newRow("ACE file") << ace << "newer Jet version";
    QTest::newRow("empty file") << QByteArray() << "not a Jet (.mdb) database";
}

void TestLegacyImport::refusesBadFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    fixtures::writeFile(path, bytes);
    const auto before = fixtures::snapshot(folder.path());
    try {
        legacy::importInPlace(path);
        QFAIL("a bad file was brought over");
    } catch (const legacy::LegacyError& error) {
        QVERIFY2(error.text().contains(QStringLiteral("'%1'").arg(path)), qPrintable(error.text()));
        QVERIFY2(error.text().contains(why), qPrintable(error.text()));
    }
    QCOMPARE(fixtures::snapshot(folder.path()), before);
}

void TestLegacyImport::leavesNothingAfterAFailure_data()
{
    QTest::addColumn<bool>("whileWriting");
    QTest::newRow("while reading") << false;
    QTest::newRow("half-way through writing") << true;
}

void TestLegacyImport::leavesNothingAfterAFailure()
{
    QFETCH(bool, whileWriting);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    fixtures::writeFile(path, fixtures::jetFile(QStringLiteral("diary-jet4.mdb")));
    const auto before = fixtures::snapshot(folder.path());
    int calls = 0;
    QVERIFY_THROWS_EXCEPTION(
        std::runtime_error,
        legacy::importInPlace(path, QStringLiteral("Tarnalist.mdb"), [&](int done, int total) {
            ++calls;
            if (done == (whileWriting ? total / 2 + 50 : 5))
                throw std::runtime_error("stopped");
        }));
    QVERIFY(calls > 5);
    QCOMPARE(fixtures::snapshot(folder.path()), before);
}

void TestLegacyImport::commandLine()
{
    QTemporaryDir folder;
    const QString jet = folder.filePath(QStringLiteral("old.mdb"));
    fixtures::writeFile(jet, fixtures::jetFile(QStringLiteral("diary-jet3.mdb")));
    const QString diary = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    const auto run = [](const QStringList& arguments, QString* output = nullptr) {
        QProcess process;
        process.start(QStringLiteral(VELMORA_CLI),
                      QStringList{QStringLiteral("import")} + arguments);
        if (!process.waitForFinished(60000))
            qFatal("velmora-cli did not finish");
        if (output)
            *output =
                QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        return process.exitCode();
    };
    QString output;

    // Into a new diary, then once more into the diary that now holds the records.
    QCOMPARE(run({jet, QStringLiteral("--diary"), diary}, &output), 0);
    QVERIFY2(output.contains(QLatin1String("Brought 113 records")), qPrintable(output));
    QCOMPARE(fixtures::diaryRows(diary, QStringLiteral("tour")), fixtures::expectedRows("tour"));
    auto before = fixtures::snapshot(folder.path());
    QCOMPARE(run({jet, QStringLiteral("--diary"), diary}, &output), 2);
    QVERIFY2(output.contains(QLatin1String("already holds records")), qPrintable(output));
    QCOMPARE(fixtures::snapshot(folder.path()), before);

    // Into an existing empty diary.
    const QString empty = folder.filePath(QStringLiteral("empty.mdb"));
    data::OpenDiaryDatabase(empty);
    QCOMPARE(run({jet, QStringLiteral("--diary"), empty}, &output), 0);
    QCOMPARE(fixtures::diaryRows(empty, QStringLiteral("local")).size(), 63);

    // A bad file names itself and changes nothing.
    const QString bad = folder.filePath(QStringLiteral("bad.mdb"));
    fixtures::writeFile(bad, fixtures::jetFile(QStringLiteral("diary-jet3.mdb")).left(5000));
    before = fixtures::snapshot(folder.path());
    QCOMPARE(run({bad, QStringLiteral("--diary"), folder.filePath("new.mdb")}, &output), 2);
    QVERIFY2(output.contains(bad), qPrintable(output));
    QCOMPARE(fixtures::snapshot(folder.path()), before);

    // The Jet file as its own diary: kept beside the new one.
    QCOMPARE(run({jet, QStringLiteral("--diary"), jet}, &output), 0);
    QVERIFY(output.contains(QLatin1String("old-jet.mdb")));
    QCOMPARE(fixtures::diaryRows(jet, QStringLiteral("local")).size(), 63);

    QCOMPARE(run({QStringLiteral("--help")}, &output), 0);
    QVERIFY(output.contains(QLatin1String("LEGACY.mdb")));
}

QTEST_GUILESS_MAIN(TestLegacyImport)
#include "tst_legacy_import.moc"
