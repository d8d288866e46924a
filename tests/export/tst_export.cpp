#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include "RecordsetHelpers.h"
#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "export/DiaryExport.h"
#include "export/DiaryIdentity.h"
#include "export/ExportCalendar.h"
#include "export/ExportCsv.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/varnel/VarnelCodec.h"

using data::Register;

namespace {

QString text(const QVariant& varnel)
{
    return varnel::decode(varnel.toByteArray());
}

QString isoDateTime(const QVariant& date, const QVariant& time)
{
    return QDateTime(date.toDate(), time.toTime()).toString(Qt::ISODate);
}

} // namespace

// The exports read back by parsers that share nothing with ours: Python's csv module and
// python3-icalendar, run as separate processes.
class TestExport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { m_diary = openSampleDiary(m_folder.path()); }

    void csvKeepsEveryText_data() { registers(); }
    void csvKeepsEveryText()
    {
        QFETCH(int, which);
        const auto records = recordsOf(Register(which));
        const QJsonArray rows = parsed("csv", exports::exportCsv(Register(which), records));
        QCOMPARE(rows.size(), records.size());
        const bool tour = Register(which) == Register::Tour;
        const QList<int> dates = tour ? QList<int>{3, 6} : QList<int>{1};
        const QList<int> times = tour ? QList<int>{5, 8} : QList<int>{3};
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QJsonObject row = rows[i].toObject();
            const QVariantList& v = records[i].values;
            QCOMPARE(row.size(), v.size());
            const QStringList names = row.keys();
            for (int c = 0; c < v.size(); ++c) {
                const QString name = columnName(Register(which), c);
                QString expected;
                if (c == 0)
                    expected = v[c].toString();
                else if (dates.contains(c))
                    expected = v[c].toDate().toString(Qt::ISODate);
                else if (times.contains(c))
                    expected = v[c].toTime().toString(Qt::ISODate);
                else
                    expected = text(v[c]);
                QCOMPARE(row.value(name).toString(), expected);
            }
        }
    }

    void calendarKeepsEveryText_data() { registers(); }
    void calendarKeepsEveryText()
    {
        QFETCH(int, which);
        const Register reg = Register(which);
        const auto records = recordsOf(reg);
        const QJsonArray events =
            parsed("ics", exports::exportCalendar(reg, records, exports::diaryId(*m_diary)));
        QCOMPARE(events.size(), records.size());
        QSet<QString> uids;
        for (qsizetype i = 0; i < events.size(); ++i) {
            const QJsonObject event = events[i].toObject();
            const QVariantList& v = records[i].values;
            uids.insert(event.value("uid").toString());
            if (reg == Register::Tour) {
                QCOMPARE(event.value("summary").toString(),
                         text(v[1]).trimmed() + " - " + text(v[2]).trimmed());
                QCOMPARE(event.value("location").toString(), text(v[2]).trimmed());
                QCOMPARE(event.value("start").toString(), isoDateTime(v[3], v[5]));
                // An arrival recorded before the departure makes no end (RFC 5545 forbids it).
                const bool ordered = isoDateTime(v[6], v[8]) > isoDateTime(v[3], v[5]);
                QCOMPARE(event.value("end").toString(),
                         ordered ? isoDateTime(v[6], v[8]) : QString());
                QVERIFY(event.value("description").toString().contains(text(v[9]).trimmed()));
            } else {
                QCOMPARE(event.value("summary").toString(), text(v[4]).trimmed());
                QCOMPARE(event.value("location").toString(),
                         text(v[5]).trimmed() + ", " + text(v[6]).trimmed());
                QCOMPARE(event.value("start").toString(), isoDateTime(v[1], v[3]));
                const QString description = event.value("description").toString();
                QVERIFY(!description.contains(QStringLiteral("  "))); // one blank in a label
                for (int c : {7, 8, 9})
                    QVERIFY2(description.contains(text(v[c]).trimmed()), qPrintable(text(v[c])));
            }
        }
        QCOMPARE(uids.size(), events.size());
    }

    void uidsSurviveTheRenumberingAfterADeletion()
    {
        TempProgramFolder folder;
        auto diary = openSampleDiary(folder.path());
        const auto before = eventsByUid(*diary);
        // The register windows' deletion: the record goes, the ones after it move up.
        auto rs = diary->OpenRecordset(QStringLiteral("Select * from local order by sl_no"));
        rs->FindFirst(QStringLiteral("sl_no=5"));
        const QString gone = text(rs->Fields(4).Value());
        rs->Delete();
        renumberFromOne(*rs);

        const auto after = eventsByUid(*diary);
        QCOMPARE(after.size(), before.size() - 1);
        for (auto it = after.begin(); it != after.end(); ++it) {
            QVERIFY2(before.contains(it.key()), qPrintable(it.key()));
            QCOMPARE(it.value(), before.value(it.key()));
        }
        const auto missing = QSet<QString>(before.keyBegin(), before.keyEnd()) -
                             QSet<QString>(after.keyBegin(), after.keyEnd());
        QCOMPARE(missing.size(), 1);
        QVERIFY(before.value(*missing.begin()).startsWith(gone));
    }

    void theCommandLineAnswersWithItsExitStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("writesOut");
        const QString d = QStringLiteral("--diary");
        const QString diary = m_folder.filePath(QStringLiteral("Tarnalist.mdb"));
        const QString out = QStringLiteral("--out");
        QTest::newRow("csv") << QStringList{"export", "tour", "--format", "csv", d, diary, out} << 0
                             << true;
        QTest::newRow("ics in a range")
            << QStringList{"export", "local",      "--format", "ics", "--from", "2027-01-01",
                           "--to",   "2027-01-31", d,          diary, out}
            << 0 << true;
        QTest::newRow("empty range")
            << QStringList{"export",     "local", "--format", "csv", "--from",
                           "2040-01-01", d,       diary,      out}
            << 1 << false;
        QTest::newRow("no such format")
            << QStringList{"export", "local", "--format", "xls", d, diary, out} << 2 << false;
        QTest::newRow("no such register")
            << QStringList{"export", "staff", "--format", "csv", d, diary, out} << 2 << false;
        QTest::newRow("no diary") << QStringList{"export", "local", "--format",
                                                 "csv",    d,       "/nonexistent/x.mdb",
                                                 out}
                                  << 2 << false;
        QTest::newRow("the diary as its own export")
            << QStringList{"export", "local", "--format", "csv", d, diary, out, diary} << 2
            << false;
        QTest::newRow("backup over a file")
            << QStringList{"backup", d, diary, "--to", diary} << 2 << false;
        QTest::newRow("restore of a missing backup")
            << QStringList{"restore", "/nonexistent/b.mdb", d, diary} << 2 << false;
        QTest::newRow("help") << QStringList{"export", "--help"} << 0 << false;
    }
    void theCommandLineAnswersWithItsExitStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(bool, writesOut);
        QTemporaryDir scratch;
        const QString file = scratch.filePath(QStringLiteral("out"));
        if (arguments.last() == QLatin1String("--out"))
            arguments << file;
        QProcess process;
        process.start(QStringLiteral(VELMORA_CLI), arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), exitCode);
        QCOMPARE(QFileInfo::exists(file), writesOut);
        QCOMPARE(QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden).size(),
                 writesOut ? 1 : 0);
        // Whatever was asked, the diary is as it was.
        QCOMPARE(m_diary->OpenRecordset(QStringLiteral("Select * from local"))->RecordCount(), 60);
    }

private:
    static void registers()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("local") << int(Register::Local);
        QTest::newRow("outstation") << int(Register::Outstation);
        QTest::newRow("tour") << int(Register::Tour);
    }

    // The captions of the list grid, which the CSV's header carries.
    static QString columnName(Register which, int ordinal)
    {
        const QString programme =
            QStringLiteral(u"ಕ್ರಮಸಂಖ್ಯೆ|ದಿನಾಂಕ|ದಿನ|ಸಮಯ|ವಿಷಯ|ಸ್ಥಳ|ವಿಳಾಸ|ದೂರವಾಣಿ ಸಂಖ್ಯೆ|ಸಂಪರ್ಕ ವ್ಯಕ್ತಿ|ಇತರೆ");
        const QString tour = QStringLiteral(
            u"ಕ್ರಮಸಂಖ್ಯೆ|ಎಲ್ಲಿಂದ|ಎಲ್ಲಿಗೆ|ಹೊರಡುವ ದಿನಾಂಕ|ಹೊರಡುವ ದಿನ|ಹೊರಡುವ ಸಮಯ|ತಲುಪುವ ದಿನಾಂಕ|ತಲುಪುವ "
            u"ದಿನ|ತಲುಪುವ ಸಮಯ|ಪ್ರಯಾಣ ವಿಧಾನ|ಇತರೆ");
        return (which == Register::Tour ? tour : programme).split(QLatin1Char('|')).value(ordinal);
    }

    QList<data::Record> recordsOf(Register which)
    {
        return data::readRecords(*m_diary, which, exports::exportStatement(which, {}, {}));
    }

    QJsonArray parsed(const char* mode, const QByteArray& bytes)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("export"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the export");
        file.close();
        QProcess python;
        python.start(QStringLiteral(VELMORA_PYTHON),
                     {QStringLiteral(VELMORA_READ_EXPORT), QLatin1String(mode), path});
        if (!python.waitForFinished(60000))
            qFatal("python did not finish");
        if (python.exitCode() == 77)
            QTest::qSkip("python3-icalendar is not installed", __FILE__, __LINE__);
        if (python.exitCode() != 0)
            qWarning("%s", python.readAllStandardError().constData());
        return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    }

    // Summary and start of each event of the local register, by UID.
    QMap<QString, QString> eventsByUid(jet::Database& diary)
    {
        const auto records = data::readRecords(diary, Register::Local,
                                               exports::exportStatement(Register::Local, {}, {}));
        QMap<QString, QString> events;
        for (const QJsonValue& e :
             parsed("ics",
                    exports::exportCalendar(Register::Local, records, exports::diaryId(diary)))) {
            const QJsonObject event = e.toObject();
            events.insert(event.value("uid").toString(), event.value("summary").toString() +
                                                             QLatin1Char(' ') +
                                                             event.value("start").toString());
        }
        return events;
    }

    TempProgramFolder m_folder;
    std::shared_ptr<jet::Database> m_diary;
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
