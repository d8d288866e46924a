#include "LegacyFixtures.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace fixtures {

namespace {

QString fixturePath(const QString& name)
{
    return QStringLiteral(VELMORA_SHARED_DIR "/legacy/") + name;
}

} // namespace

QByteArray jetFile(const QString& name)
{
    return readFile(fixturePath(name));
}

int pageSize(const QString& name)
{
    return name.contains(QLatin1String("jet3")) ? 2048 : 4096;
}

QJsonArray expectedRows(const QString& table)
{
    static const QJsonObject expected =
        QJsonDocument::fromJson(readFile(fixturePath(QStringLiteral("expected.json")))).object();
    return expected.value(table).toArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        files.insert(name, readFile(QDir(folder).filePath(name)));
    return files;
}

QJsonArray diaryRows(const QString& diaryFile, const QString& table)
{
    sqlite3* db = nullptr;
    // Read-write, so that closing folds the journal back and leaves the folder as it was.
    sqlite3_open_v2(QFile::encodeName(diaryFile).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = "SELECT * FROM " + table.toLatin1() + " ORDER BY sl_no";
    QJsonArray rows;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QJsonArray row;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                switch (sqlite3_column_type(statement, c)) {
                case SQLITE_INTEGER: row.append(sqlite3_column_int(statement, c)); break;
                case SQLITE_NULL: row.append(QJsonValue::Null); break;
                default:
                    row.append(QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(statement, c)),
                        sqlite3_column_bytes(statement, c)));
                }
            }
            rows.append(row);
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

} // namespace fixtures
