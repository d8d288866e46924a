// Finding a text in every text field of three full registers (32,767 records each) against a
// baseline that reads the same columns with raw sqlite3, decodes every text field and runs a
// plain substring scan for the Kannada word.
#include <memory>
#include <stdexcept>

#include <sqlite3.h>

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTime>

#include "Bench.h"
#include "RawSqlite.h"
#include "data/DayName.h"
#include "data/DiaryDatabase.h"
#include "find/DiaryFind.h"
#include "find/FindIndex.h"
#include "platform/jet/Database.h"
#include "platform/jet/StorageText.h"
#include "platform/varnel/VarnelCodec.h"

namespace {

constexpr int kRecords = 32767;

QByteArray varnelOf(const QString& unicode)
{
    const varnel::Encoded encoded = varnel::encode(unicode);
    if (!encoded.ok())
        throw std::runtime_error("a benchmark text has no Varnel form");
    return encoded.bytes;
}

QList<QByteArray> varnelList(const QStringList& texts)
{
    QList<QByteArray> list;
    for (const QString& text : texts)
        list << varnelOf(text);
    return list;
}

// Thirteen towns; the one searched for is the first, in one row of thirteen.
const QStringList kPlaces{
    QStringLiteral("ಬೆಂಗಳೂರು"), QStringLiteral("ಮೈಸೂರು"),  QStringLiteral("ಹುಬ್ಬಳ್ಳಿ"),
    QStringLiteral("ಮಂಗಳೂರು"), QStringLiteral("ಬೆಳಗಾವಿ"),   QStringLiteral("ಧಾರವಾಡ"),
    QStringLiteral("ಶಿವಮೊಗ್ಗ"),  QStringLiteral("ತುಮಕೂರು"), QStringLiteral("ದಾವಣಗೆರೆ"),
    QStringLiteral("ಬಳ್ಳಾರಿ"),   QStringLiteral("ಉಡುಪಿ"),    QStringLiteral("ಹಾಸನ"),
    QStringLiteral("ಮಂಡ್ಯ")};

struct FullDiary {
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<RawConnection> raw;

    FullDiary() : path(dir.path() + QStringLiteral("\\Tarnalist.mdb"))
    {
        // The find index goes to the cache folder: this run's own, not the user's.
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
        data::OpenDiaryDatabase(path);
        raw = std::make_unique<RawConnection>(dir.path() + QStringLiteral("/Tarnalist.mdb"));
        const QList<QByteArray> places = varnelList(kPlaces);
        const QList<QByteArray> topics =
            varnelList({QStringLiteral("ಪುಸ್ತಕ ಬಿಡುಗಡೆ ಸಮಾರಂಭ"), QStringLiteral("ಕನ್ನಡ ರಾಜ್ಯೋತ್ಸವ ಆಚರಣೆ"),
                        QStringLiteral("ರಕ್ತದಾನ ಶಿಬಿರ"), QStringLiteral("ಶಾಲಾ ವಾರ್ಷಿಕೋತ್ಸವ"),
                        QStringLiteral("ಆರೋಗ್ಯ ತಪಾಸಣಾ ಶಿಬಿರ")});
        const QList<QByteArray> venues =
            varnelList({QStringLiteral("ಪುರಭವನ, "), QStringLiteral("ಜಿಲ್ಲಾ ಕ್ರೀಡಾಂಗಣ, "),
                        QStringLiteral("ರವೀಂದ್ರ ಕಲಾಕ್ಷೇತ್ರ, ")});
        const QList<QByteArray> streets = varnelList(
            {QStringLiteral(", ನೃಪತುಂಗ ರಸ್ತೆ, ಗಾಂಧಿನಗರ"), QStringLiteral(", ಕೆಂಪೇಗೌಡ ರಸ್ತೆ, ಶಿವಾಜಿ ನಗರ")});
        const QList<QByteArray> people =
            varnelList({QStringLiteral("ಸಂಚಾಲಕರು, ಯುವಕ ಮಂಡಳಿ"), QStringLiteral("ಜಿಲ್ಲಾಧಿಕಾರಿಗಳ ಕಚೇರಿ"),
                        QStringLiteral("ಕಾರ್ಯದರ್ಶಿ, ರೋಟರಿ ಸಂಸ್ಥೆ")});
        const QList<QByteArray> notes =
            varnelList({QStringLiteral("ಪತ್ರಿಕಾ ಪ್ರಕಟಣೆ ಕಳುಹಿಸಬೇಕು"), QStringLiteral("ಮುಖ್ಯ ಅತಿಥಿ"),
                        QStringLiteral("ಊಟದ ವ್ಯವಸ್ಥೆ ಇದೆ"), QString()});
        const QList<QByteArray> modes =
            varnelList({QStringLiteral("ರೈಲು"), QStringLiteral("ಬಸ್ಸು"), QStringLiteral("ಕಾರು")});

        raw->exec("BEGIN");
        for (const char* table : {"local", "outstation"}) {
            Statement insert(raw->db, QByteArray("INSERT INTO ") + table +
                                          " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
            for (int i = 1; i <= kRecords; ++i) {
                const QDate date = QDate(2020, 1, 1).addDays(i % 2000);
                const QByteArray number = QByteArray::number(i);
                const QByteArray columns[9] = {
                    date.toString(Qt::ISODate).toLatin1(),
                    jet::storageFromBytes(data::DayName(date)),
                    QTime(i % 24, i % 60, 0).toString(QStringLiteral("HH:mm:ss")).toLatin1(),
                    jet::storageFromBytes(topics[i % topics.size()] + ' ' + number),
                    jet::storageFromBytes(venues[i % venues.size()] + places[i % places.size()]),
                    jet::storageFromBytes(number + streets[i % streets.size()]),
                    "080-" + QByteArray::number(20000000 + i * 7),
                    jet::storageFromBytes(people[i % people.size()]),
                    jet::storageFromBytes(notes[i % notes.size()]),
                };
                bindAndStep(insert, i, columns, 9);
            }
        }
        Statement insert(raw->db,
                         "INSERT INTO tour VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
        for (int i = 1; i <= kRecords; ++i) {
            const QDate from = QDate(2020, 1, 1).addDays(i % 2000);
            const QDate to = from.addDays(i % 3);
            const QByteArray columns[10] = {
                jet::storageFromBytes(places[(i + 3) % places.size()]),
                jet::storageFromBytes(places[(i + 5) % places.size()]),
                from.toString(Qt::ISODate).toLatin1(),
                jet::storageFromBytes(data::DayName(from)),
                "07:30:00",
                to.toString(Qt::ISODate).toLatin1(),
                jet::storageFromBytes(data::DayName(to)),
                "21:00:00",
                jet::storageFromBytes(modes[i % modes.size()]),
                jet::storageFromBytes(notes[i % notes.size()]),
            };
            bindAndStep(insert, i, columns, 10);
        }
        raw->exec("COMMIT");
    }

    void bindAndStep(Statement& insert, int serial, const QByteArray* columns, int count)
    {
        sqlite3_bind_int(insert.stmt, 1, serial);
        for (int c = 0; c < count; ++c)
            sqlite3_bind_text(insert.stmt, c + 2, columns[c].constData(), int(columns[c].size()),
                              SQLITE_TRANSIENT);
        check(sqlite3_step(insert.stmt), raw->db);
        sqlite3_reset(insert.stmt);
    }
};

FullDiary& fullDiary()
{
    static FullDiary diary;
    return diary;
}

// The baseline: every text field of the three registers decoded and scanned for the word;
// the rows holding it are counted.
int rawScan(sqlite3* db, const QString& word)
{
    int rows = 0;
    for (const char* sql :
         {"SELECT topic, venue, address, telephone, contact_person, others FROM local",
          "SELECT topic, venue, address, telephone, contact_person, others FROM outstation",
          "SELECT travel_from, travel_to, travel_type, others FROM tour"}) {
        Statement select(db, sql);
        const int columns = sqlite3_column_count(select.stmt);
        while (sqlite3_step(select.stmt) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                const QByteArray bytes = jet::bytesFromStorage(
                    sqlite3_column_text(select.stmt, c), sqlite3_column_bytes(select.stmt, c));
                if (varnel::decode(bytes).contains(word)) {
                    ++rows;
                    break;
                }
            }
        }
    }
    return rows;
}

enum class Index { Current, Dropped, Unused };

// One search as velmora-cli runs it (its own reading connection, the diary read afresh) against
// the baseline, and the same rows found by both.
BenchResult compare(const QString& typed, Index index)
{
    FullDiary& diary = fullDiary();
    const auto database = data::OpenDiaryForReading(diary.path);
    find::FindOptions options;
    options.useIndex = index != Index::Unused;
    if (index == Index::Current) {
        find::search(*database, find::FindQuery(typed), options); // made or brought up to date
    } else if (index == Index::Dropped) {
        const QString file = find::FindIndex::fileFor(*database);
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(file + QLatin1String(suffix));
    }
    std::vector<find::FindHit> hits;
    int raw = 0;
    const double oursMs =
        benchMs([&] { hits = find::search(*database, find::FindQuery(typed), options); });
    const double rawMs = benchMs([&] { raw = rawScan(diary.raw->db, kPlaces.first()); });
    if (int(hits.size()) != raw || raw == 0)
        throw std::runtime_error("the find and the raw scan disagree on the records");
    return {oursMs, rawMs};
}

// Latin letters, so the literal, ITRANS and loose readings all run, through the diary's find
// index (in the cache folder) as it stands after an earlier search.
BenchResult findAll()
{
    return compare(QStringLiteral("bengaluru"), Index::Current);
}

// Kannada letters: the literal reading alone.
BenchResult findKannada()
{
    return compare(kPlaces.first(), Index::Current);
}

// Without the index: every row read and matched (a diary on a server, or one whose index
// cannot be kept).
BenchResult findAllScan()
{
    return compare(QStringLiteral("bengaluru"), Index::Unused);
}

// The first search of a diary without an index (none in the cache folder yet): a whole scan,
// and the index made for all three registers.
BenchResult findIndexBuild()
{
    return compare(QStringLiteral("bengaluru"), Index::Dropped);
}

const BenchRegistration findAllRegistration("find-all", findAll);
const BenchRegistration findKannadaRegistration("find-kannada", findKannada);
const BenchRegistration findAllScanRegistration("find-all-scan", findAllScan);
const BenchRegistration findIndexBuildRegistration("find-index-build", findIndexBuild);

} // namespace
