#include <memory>

#include <QCryptographicHash>
#include <QProcess>
#include <QtTest>

#include "TempProgramFolder.h"
#include "data/DiaryDatabase.h"
#include "SampleDiary.h"
#include "data/DiarySchema.h"
#include "export/DiaryIdentity.h"
#include "find/DiaryFind.h"
#include "find/FindIndex.h"
#include "find/TextFolding.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/varnel/VarnelCodec.h"

// The matcher over a small diary, in-process and through velmora-cli.
class TestFind : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void finds_data();
    void finds();
    void commandLine_data();
    void commandLine();
    void infixesHoldInEveryText();
    void indexFollowsOtherWriters();
    void readingLeavesTheDiary_data();
    void readingLeavesTheDiary();
    void sameWithAnyIndex_data();
    void sameWithAnyIndex();

private:
    void add(const QString& table, const QStringList& values);

    QTemporaryDir m_cache; // the user's cache folder, for the find index
    TempProgramFolder m_folder;
    std::shared_ptr<jet::Database> m_db;
};

// A row of `table`: texts in Unicode Kannada, stored as Varnel; dates, times and numbers as
// they are.
void TestFind::add(const QString& table, const QStringList& values)
{
    static const QRegularExpression plain(QStringLiteral("^[0-9:-]*$"));
    QStringList literals;
    for (const QString& value : values) {
        const varnel::Encoded encoded = varnel::encode(value);
        QVERIFY2(encoded.ok(), qPrintable(value));
        literals << jet::SqlLiteral(
            plain.match(value).hasMatch() ? value : varnel::toStoredText(encoded.bytes));
    }
    m_db->Execute(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, literals.join(',')));
}

void TestFind::initTestCase()
{
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
    m_db = data::OpenDiaryDatabase(m_folder.diaryPath());
    const QString local = QStringLiteral("local");
    add(local, {"1", "2027-03-10", "ಬುಧವಾರ", "10:00:00", "ಕಾರ್ಯಕ್ರಮ ಉದ್ಘಾಟನೆ", "ಪುರಭವನ, ಬೆಂಗಳೂರು", "",
                "080-22345678", "", ""});
    add(local, {"2", "2027-03-12", "ಶುಕ್ರವಾರ", "09:30:00", "ವಾರ್ಷಿಕ ಸಭೆ", "ಮೈಸೂರು ಅರಮನೆ", "", "",
                "ಶ್ರೀನಿವಾಸ", ""});
    add(local, {"3", "2027-03-12", "ಶುಕ್ರವಾರ", "18:00:00", "ರೋಟರಿ ಸಭೆ", "", "", "", "",
                "ಟಿಕೆಟ್ 'ಎ' *ವಿಶೇಷ* 50% [ಬ]"});
    add(QStringLiteral("outstation"),
        {"1", "2027-03-11", "ಗುರುವಾರ", "11:00:00", "ಕೊಡಗು ಪ್ರವಾಸ", "ಹುಬ್ಬಳ್ಳಿ", "", "", "", ""});
    add(QStringLiteral("tour"), {"1", "ಬೆಂಗಳೂರು", "ಮಂಗಳೂರು", "2027-03-15", "ಸೋಮವಾರ", "07:30:00",
                                 "2027-03-16", "ಮಂಗಳವಾರ", "21:00:00", "ರೈಲು", ""});
    add(QStringLiteral("tour"), {"2", "ಗದಗ", "ದಾರವಾಡ", "2027-03-20", "ಶನಿವಾರ", "08:00:00",
                                 "2027-03-20", "ಶನಿವಾರ", "12:00:00", "ಕಾರು", ""});
    add(QStringLiteral("tour"), {"3", "ದಾರವಾಡ", "ಧಾರವಾಡ", "2027-03-01", "ಸೋಮವಾರ", "08:00:00",
                                 "2027-03-01", "ಸೋಮವಾರ", "12:00:00", "ಕಾರು", ""});
}

void TestFind::finds_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("registers");
    QTest::addColumn<QStringList>("hits"); // "register sl_no field", newest first
    QTest::addColumn<QString>("marked");   // the first hit's field, its match in « »
    QTest::addColumn<QString>("reading");  // how the first hit was read
    const int all = int(data::everyRegister());
    const QStringList bengaluru{"tour 1 travel_from", "local 1 venue"};
    const QStringList ticket{"local 3 others"};

    QTest::newRow("within a word")
        << "ಉದ್ಘಾ" << all << QStringList{"local 1 topic"} << "ಕಾರ್ಯಕ್ರಮ «ಉದ್ಘಾ»ಟನೆ"
        << "literal";
    QTest::newRow("across conjuncts, marked whole")
        << "ಯಕ" << all << QStringList{"local 1 topic"} << "ಕಾ«ರ್ಯಕ್ರ»ಮ ಉದ್ಘಾಟನೆ"
        << "literal";
    QTest::newRow("decomposed input")
        << "ಕ\u0CC6\u0CC2ಡ" << all << QStringList{"outstation 1 topic"} << "«ಕೊಡ»ಗು ಪ್ರವಾಸ"
        << "literal";
    QTest::newRow("ASCII digits") << "22345" << all << QStringList{"local 1 telephone"}
                                  << "೦೮೦-«೨೨೩೪೫»೬೭೮"
                                  << "literal";
    QTest::newRow("Kannada digits")
        << "೦೮೦-೨೨" << all << QStringList{"local 1 telephone"} << "«೦೮೦-೨೨»೩೪೫೬೭೮"
        << "literal";
    QTest::newRow("ITRANS") << "beMgaLUru" << all << bengaluru << "«ಬೆಂಗಳೂರು»"
                            << "itrans";
    QTest::newRow("ITRANS, a word half typed")
        << "shrIn" << all << QStringList{"local 2 contact_person"} << "«ಶ್ರೀನಿ»ವಾಸ"
        << "itrans";
    QTest::newRow("loose: n before a consonant, length, retroflex l")
        << "bengaluru" << all << bengaluru << "«ಬೆಂಗಳೂರು»"
        << "loose";
    QTest::newRow("loose: Latin case") << "BENGALURU" << all << bengaluru << "«ಬೆಂಗಳೂರು»"
                                       << "loose";
    QTest::newRow("loose: ai") << "maisuru" << all << QStringList{"local 2 venue"}
                               << "«ಮೈಸೂರು» ಅರಮನೆ"
                               << "loose";
    QTest::newRow("loose: m as the anusvara")
        << "mamgaluru" << all << QStringList{"tour 1 travel_to"} << "«ಮಂಗಳೂರು»"
        << "loose";
    QTest::newRow("loose: doubled letters")
        << "Hubali" << all << QStringList{"outstation 1 venue"} << "«ಹುಬ್ಬಳ್ಳಿ»"
        << "loose";
    QTest::newRow("loose: S as s, ee, aa")
        << "Sreenivaas" << all << QStringList{"local 2 contact_person"} << "«ಶ್ರೀನಿವಾಸ»"
        << "loose";
    QTest::newRow("loose: aspiration")
        << "purabavana" << all << QStringList{"local 1 venue"} << "«ಪುರಭವನ», ಬೆಂಗಳೂರು"
        << "loose";
    QTest::newRow("loose: t and r")
        << "roTari" << all << QStringList{"local 3 topic"} << "«ರೋಟರಿ» ಸಭೆ"
        << "loose";
    QTest::newRow("quotes") << "'ಎ'" << all << ticket << "ಟಿಕೆಟ್ «'ಎ'» *ವಿಶೇಷ* ೫೦% [ಬ]"
                            << "literal";
    QTest::newRow("star") << "*" << all << ticket << "ಟಿಕೆಟ್ 'ಎ' «*»ವಿಶೇಷ* ೫೦% [ಬ]"
                          << "literal";
    QTest::newRow("percent") << "0%" << all << ticket << "ಟಿಕೆಟ್ 'ಎ' *ವಿಶೇಷ* ೫«೦%» [ಬ]"
                             << "literal";
    QTest::newRow("brackets") << "[ಬ]" << all << ticket << "ಟಿಕೆಟ್ 'ಎ' *ವಿಶೇಷ* ೫೦% «[ಬ]»"
                              << "literal";
    QTest::newRow("underscore") << "_" << all << QStringList{} << ""
                                << "";
    QTest::newRow("question mark") << "ಸಭ?" << all << QStringList{} << ""
                                   << "";
    QTest::newRow("Kannada is never read loosely") << "ಬೆನ್ಗಳೂರು" << all << QStringList{} << ""
                                                   << "";
    QTest::newRow("no match") << "xyz" << all << QStringList{} << ""
                              << "";
    QTest::newRow("blank") << "  " << all << QStringList{} << ""
                           << "";
    QTest::newRow("one register") << "ಬೆಂಗಳೂರು" << int(data::Register::Local)
                                  << QStringList{"local 1 venue"} << "ಪುರಭವನ, «ಬೆಂಗಳೂರು»"
                                  << "literal";
    QTest::newRow("loose: y between consonants as ai")
        << "mysuru" << all << QStringList{"local 2 venue"} << "«ಮೈಸೂರು» ಅರಮನೆ"
        << "loose";
    QTest::newRow("as typed (old tour 3) before loosely (new tour 2), first field as typed")
        << "dhAravADa" << all << QStringList{"tour 3 travel_to", "tour 2 travel_to"} << "«ಧಾರವಾಡ»"
        << "itrans";
    for (const char* nonsense : {"zzzzzzzz", "kkkkkk", "aaaaaaaa", "sdfgh"})
        QTest::newRow(nonsense) << nonsense << all << QStringList{} << ""
                                << "";
    QTest::newRow("newest first over registers")
        << "ಸ" << all << QStringList{"local 3 topic", "local 2 topic", "outstation 1 topic"}
        << "ರೋಟರಿ «ಸ»ಭೆ"
        << "literal";
}

void TestFind::finds()
{
    QFETCH(QString, query);
    QFETCH(int, registers);
    QFETCH(QStringList, hits);
    QFETCH(QString, marked);
    QFETCH(QString, reading);
    // Row by row, then through the index (made by the first search that uses it).
    for (const bool useIndex : {false, true}) {
        find::FindOptions options;
        options.registers = data::Registers::fromInt(registers);
        options.useIndex = useIndex;
        const auto found = find::search(*m_db, find::FindQuery(query), options);
        QStringList got;
        for (const find::FindHit& hit : found) {
            got << QStringLiteral("%1 %2 %3")
                       .arg(data::tableName(hit.record.which))
                       .arg(hit.record.serial())
                       .arg(hit.field);
            // The row key names the row the hit came from.
            const auto row =
                m_db->OpenRecordset(QStringLiteral("SELECT sl_no FROM %1 WHERE %2 = %3")
                                        .arg(data::tableName(hit.record.which), m_db->rowIdentity())
                                        .arg(hit.record.key));
            QCOMPARE(row->Fields(0).Value().toInt(), hit.record.serial());
        }
        QCOMPARE(got, hits);
        if (found.empty())
            continue;
        const find::FindHit& first = found.front();
        QString text = first.text;
        text.insert(first.matchStart + first.matchLength, QStringLiteral("»"));
        text.insert(first.matchStart, QStringLiteral("«"));
        QCOMPARE(text, marked);
        static const char* const readings[] = {"literal", "itrans", "loose"};
        QCOMPARE(QString::fromLatin1(readings[int(first.reading)]), reading);
    }
}

void TestFind::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("lines"); // after the header; each a line's beginning
    QTest::newRow("loose, every register")
        << QStringList{"bengaluru"} << 0
        << QStringList{"tour,1,2027-03-15,07:30,travel_from,1,ಬೆಂಗಳೂರು,ಮಂಗಳೂರು,2027-03-15,",
                       "local,1,2027-03-10,10:00,venue,1,2027-03-10,ಬುಧವಾರ,10:00,"};
    QTest::newRow("one register") << QStringList{"ಬೆಂಗಳೂರು", "--register", "tour"} << 0
                                  << QStringList{"tour,1,2027-03-15,07:30,travel_from,"};
    QTest::newRow("a pattern character")
        << QStringList{"*"} << 0 << QStringList{"local,3,2027-03-12,18:00,others,3,"};
    QTest::newRow("nothing") << QStringList{"xyz"} << 1 << QStringList{};
    QTest::newRow("unknown register")
        << QStringList{"x", "--register", "people"} << 2 << QStringList{};
    QTest::newRow("no text") << QStringList{} << 2 << QStringList{};
}

void TestFind::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, lines);
    QProcess process;
    process.start(QStringLiteral(VELMORA_CLI),
                  QStringList{"find"} + arguments + QStringList{"--diary", m_folder.diaryPath()});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), exitCode);
    QStringList out = QString::fromUtf8(process.readAllStandardOutput()).split("\r\n");
    out.removeAll(QString());
    if (exitCode == 2) {
        QVERIFY(out.isEmpty());
        return;
    }
    QCOMPARE(out.takeFirst(), QStringLiteral("register,sl_no,date,time,field"));
    QCOMPARE(out.size(), lines.size());
    for (int i = 0; i < lines.size(); ++i)
        QVERIFY2(out[i].startsWith(lines[i]), qPrintable(out[i]));
}

// The index narrows a search by the loose infix of its text: every piece of every text of the
// sample diary, and of Latin spellings, must find its own text that way.
void TestFind::infixesHoldInEveryText()
{
    QTemporaryDir folder;
    const auto sample = openSampleDiary(folder.path());
    const auto rows = sample->OpenRecordset(QStringLiteral("SELECT * FROM local"));
    QStringList fields;
    for (; !rows->Eof(); rows->MoveNext()) {
        for (int c = 4; c < rows->FieldCount(); ++c)
            fields << varnel::comparableText(rows->Fields(c).Value().toByteArray());
    }
    int checked = 0;
    for (const QStringList& texts : {fields, {"Mysuru, Byndoor; Shetty's myy", "Sreenivas"}}) {
        for (const QString& text : texts) {
            const QString key = find::looseKey(text);
            for (qsizetype from = 0; from < text.size(); ++from) {
                for (qsizetype length = 1; length <= 8 && from + length <= text.size(); ++length) {
                    const QString piece = text.mid(from, length);
                    QVERIFY2(key.contains(find::looseInfix(piece)),
                             qPrintable(text + " / " + piece));
                    ++checked;
                }
            }
        }
    }
    QVERIFY(checked > 10000);
}

// Another program (a second connection, writing without the index), a deletion and a VACUUM
// that renumbers rowids: each search still sees the registers as they are.
void TestFind::indexFollowsOtherWriters()
{
    const auto serials = [this](const QString& query) {
        QStringList got;
        for (const find::FindHit& hit : find::search(*m_db, query))
            got << QStringLiteral("%1 %2")
                       .arg(data::tableName(hit.record.which))
                       .arg(hit.record.serial());
        return got;
    };
    QCOMPARE(serials("udupi"), QStringList{});
    const auto other = data::OpenDiaryDatabase(m_folder.diaryPath());
    other->Execute(QStringLiteral("UPDATE outstation SET venue = %1 WHERE sl_no = 1")
                       .arg(jet::SqlLiteral(varnel::toStoredText(varnel::encode(u"ಉಡುಪಿ").bytes))));
    QCOMPARE(serials("udupi"), QStringList{"outstation 1"});
    QCOMPARE(serials("hubballi"), QStringList{});
    other->Execute(QStringLiteral("DELETE FROM local WHERE sl_no = 1"));
    other->Execute(QStringLiteral("VACUUM"));
    QCOMPARE(serials("maisuru"), QStringList{"local 2"});
    QCOMPARE(serials("ಪುರಭವನ"), QStringList{});
}

// velmora-cli find leaves the diary byte for byte, with nothing beside it, be it the program's
// (WAL, an id) or sqlite3's (rollback journal, no id); the index lands in the cache folder under
// the diary's id, made by two runs at once as by one.
void TestFind::readingLeavesTheDiary_data()
{
    QTest::addColumn<bool>("plain");
    QTest::newRow("made by the program") << false;
    QTest::newRow("plain sqlite3 file") << true;
}

void TestFind::readingLeavesTheDiary()
{
    QFETCH(bool, plain);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    QString id;
    {
        const auto diary =
            plain ? jet::Database::CreateDatabase(file) : data::OpenDiaryDatabase(file);
        for (const QString& statement :
             plain ? QStringList{"PRAGMA journal_mode=DELETE"} + data::diarySchemaStatements()
                   : QStringList{})
            diary->Execute(statement);
        loadSampleDiary(*diary);
        id = exports::storedDiaryId(*diary).value_or(data::diaryIdOfPath(file));
    }
    const auto sha = [&file] {
        QFile diary(file);
        diary.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(diary.readAll(), QCryptographicHash::Sha256);
    };
    const QByteArray before = sha();
    QProcess runs[3]; // two at once, then one
    const auto start = [&file](QProcess& run) {
        run.start(QStringLiteral(VELMORA_CLI), {"find", "bengaluru", "--diary", file});
    };
    start(runs[0]);
    start(runs[1]);
    QStringList outputs;
    for (QProcess& run : runs) {
        if (&run == &runs[2])
            start(run);
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 0);
        outputs << run.readAllStandardOutput();
    }
    QCOMPARE(outputs.count(outputs.first()), 3);
    QCOMPARE(sha(), before);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"Tarnalist.mdb"});
    QVERIFY(QFile::exists(m_cache.path() + "/Velmora/find-" + id + ".sqlite"));
}

// The index as another run, another program or another version may have left it: the results
// are always those of the search row by row.
void TestFind::sameWithAnyIndex_data()
{
    QTest::addColumn<QString>("state");
    for (const char* state : {"none", "current", "rows changed since", "other rules",
                              "not a database", "no cache folder"})
        QTest::newRow(state) << state;
}

void TestFind::sameWithAnyIndex()
{
    const QString kTables = "SELECT group_concat(name, ' ') FROM sqlite_master";
    const QString kCurrent = "find_local_v%1 find_outstation_v%1 find_tour_v%1";
    QFETCH(QString, state);
    QTemporaryDir folder;
    const auto diary = openSampleDiary(folder.path());
    if (state == "no cache folder")
        qputenv("XDG_CACHE_HOME", QFile::encodeName(folder.filePath("Tarnalist.mdb")));
    const QString index = find::FindIndex::fileFor(*diary);
    const auto found = [&diary](const QString& query, bool useIndex) {
        find::FindOptions options;
        options.useIndex = useIndex;
        QList<std::tuple<data::Register, int, QString, find::Reading>> got;
        for (const find::FindHit& hit : find::search(*diary, find::FindQuery(query), options))
            got.append({hit.record.which, hit.record.serial(), hit.field, hit.reading});
        return got;
    };
    if (state != "none")
        find::updateIndex(*diary);
    if (state == "rows changed since") {
        const auto other = data::OpenDiaryDatabase(folder.path() + "\\Tarnalist.mdb");
        other->Execute(
            QStringLiteral("UPDATE local SET venue = %1 WHERE sl_no = 3")
                .arg(jet::SqlLiteral(varnel::toStoredText(varnel::encode(u"ಉಡುಪಿ").bytes))));
        other->Execute(QStringLiteral("DELETE FROM tour WHERE sl_no = 1"));
        other->Execute(QStringLiteral("VACUUM"));
    } else if (state == "other rules") {
        jet::Database::OpenDatabase(index)->Execute(
            QStringLiteral("CREATE TABLE find_tour_v0 (x)"));
    } else if (state == "not a database") {
        QFile garbage(index);
        QVERIFY(garbage.open(QIODevice::WriteOnly) && garbage.write("not an index") > 0);
    }
    for (const char* query : {"bengaluru", "mysuru", "udupi", "ಸಭೆ", "beMgaLUru", "080", "a"})
        QCOMPARE(found(query, true), found(query, false));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
    // What is left is an index of these rules, or none where none could be made.
    QString tables;
    if (QFile::exists(index)) {
        const auto cache = jet::Database::OpenDatabase(index);
        tables = cache->OpenRecordset(kTables)->Fields(0).Value().toString();
    }
    QCOMPARE(tables, state == "no cache folder" ? QString() : kCurrent.arg(find::kLooseKeyRules));
}

QTEST_GUILESS_MAIN(TestFind)
#include "tst_find.moc"
