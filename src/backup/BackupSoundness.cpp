#include "backup/BackupSoundness.h"

#include <vector>

#include <QDir>
#include <QStringList>

#include "data/DiarySchema.h"
#include "platform/jet/JetError.h"
#include "platform/jet/SqliteFile.h"
#include "platform/jet/SqliteStatement.h"

namespace backup {

namespace {

const char* const kRegisters[] = {"local", "outstation", "tour"};

// Values quoted in a message are cut to this many characters.
constexpr int kShownLength = 24;
// Runs of serial numbers named in a message before the rest is left out.
constexpr int kShownRuns = 6;

[[noreturn]] void refuse(int number, const QString& path, const QString& problem)
{
    throw jet::JetError(number, QStringLiteral("The backup '%1' cannot be restored: %2. The "
                                               "diary was left as it was.")
                                    .arg(QDir::toNativeSeparators(path), problem));
}

QString readContext(const QString& path)
{
    return QStringLiteral("Could not read the backup '%1'").arg(QDir::toNativeSeparators(path));
}

QString shortened(const QString& text)
{
    return text.size() > kShownLength ? text.left(kShownLength) + QStringLiteral("...") : text;
}

void checkIntegrity(const jet::SqliteFile& db, const QString& path)
{
    const QString verdict = db.integrityCheck(readContext(path));
    if (verdict == QLatin1String("ok"))
        return;
    // The first finding, without the heading that names the schema ("*** in database main ***").
    QStringList finding = verdict.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    finding.removeIf([](const QString& line) { return line.startsWith(QLatin1String("***")); });
    refuse(jet::errors::kDamaged, path,
           finding.isEmpty() ? QStringLiteral("it is damaged")
                             : QStringLiteral("it is damaged (%1)")
                                   .arg(finding.join(QStringLiteral("; ")).trimmed()));
}

// The text of a CREATE statement as it is compared: comments and the quotes around names
// dropped, letters in lower case outside string literals, one blank between words and none
// next to parentheses and commas.
QString normalised(const QString& sql)
{
    QString out;
    bool blank = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'')) {
            const qsizetype end = sql.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype stop = end < 0 ? sql.size() : end + 1;
            if (blank && !out.isEmpty())
                out += QLatin1Char(' ');
            blank = false;
            out += sql.mid(i, stop - i);
            i = stop - 1;
            continue;
        }
        if (sql.mid(i, 2) == QLatin1String("--")) {
            const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? sql.size() : end;
            blank = true;
            continue;
        }
        if (sql.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? sql.size() : end + 1;
            blank = true;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[') ||
            c == QLatin1Char(']'))
            continue;
        if (c.isSpace()) {
            blank = true;
            continue;
        }
        const bool punctuation =
            c == QLatin1Char('(') || c == QLatin1Char(')') || c == QLatin1Char(',');
        if (blank && !punctuation && !out.isEmpty() && !out.endsWith(QLatin1Char('(')) &&
            !out.endsWith(QLatin1Char(',')))
            out += QLatin1Char(' ');
        blank = false;
        out += c.toLower();
    }
    return out;
}

// A normalised CREATE TABLE split into the definitions between its outer parentheses (columns,
// then the table's own rules) and what follows them (WITHOUT ROWID, STRICT).
struct TableLayout {
    QStringList clauses;
    QString after;
};

TableLayout layoutOf(const QString& sql)
{
    const QString text = normalised(sql);
    TableLayout layout;
    const qsizetype open = text.indexOf(QLatin1Char('('));
    if (open < 0)
        return layout;
    int depth = 0;
    QString clause;
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\'')) {
            const qsizetype end = text.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype stop = end < 0 ? text.size() : end + 1;
            clause += text.mid(i, stop - i);
            i = stop - 1;
        } else if (c == QLatin1Char('(')) {
            ++depth;
            clause += c;
        } else if (c == QLatin1Char(')') && depth > 0) {
            --depth;
            clause += c;
        } else if (c == QLatin1Char(')')) {
            layout.clauses << clause;
            layout.after = text.mid(i + 1);
            return layout;
        } else if (c == QLatin1Char(',') && depth == 0) {
            layout.clauses << clause;
            clause.clear();
        } else {
            clause += c;
        }
    }
    layout.clauses << clause;
    return layout;
}

// The CREATE TABLE text `db` holds for `table`, or an empty string when it has no such table.
QString tableSql(const jet::SqliteFile& db, const QString& table, const QString& path)
{
    jet::SqliteStatement statement = db.statement(QStringLiteral(
        "SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE"));
    statement.bindText(1, table.toUtf8());
    if (!statement.step(readContext(path)))
        return {};
    return statement.columnText(0);
}

// The first word of each definition: a column's name.
QStringList firstWords(const QStringList& clauses)
{
    QStringList words;
    for (const QString& clause : clauses)
        words << clause.section(QLatin1Char(' '), 0, 0);
    return words;
}

// Names what differs between the backup's register and the diary's, or nothing.
QString layoutDifference(const QString& table, const TableLayout& found, const TableLayout& wanted)
{
    const QString where = QStringLiteral("the register '%1'").arg(table);
    const QStringList wantedNames = data::registerColumns(table);
    const QStringList foundNames = firstWords(found.clauses);
    for (const QString& name : wantedNames) {
        if (!foundNames.contains(name))
            return QStringLiteral("%1 has no column '%2'").arg(where, name);
    }
    for (qsizetype i = 0; i < found.clauses.size(); ++i) {
        const QString& clause = found.clauses.at(i);
        if (i < wanted.clauses.size() && clause == wanted.clauses.at(i))
            continue;
        if (i >= wanted.clauses.size())
            return QStringLiteral("%1 has '%2', which the diary does not have").arg(where, clause);
        const QString name = foundNames.at(i);
        if (name == wantedNames.value(i))
            return QStringLiteral("%1 declares '%2' where the diary declares '%3'")
                .arg(where, clause, wanted.clauses.at(i));
        if (!wantedNames.contains(name))
            return QStringLiteral("%1 has '%2', which the diary does not have").arg(where, clause);
        return QStringLiteral("the columns of %1 are not in the diary's order").arg(where);
    }
    if (found.clauses.size() < wanted.clauses.size())
        return QStringLiteral("%1 lacks '%2'").arg(where, wanted.clauses.at(found.clauses.size()));
    if (found.after != wanted.after)
        return QStringLiteral("%1 is declared with '%2' after its columns")
            .arg(where, found.after.isEmpty() ? QStringLiteral("nothing") : found.after);
    return {};
}

struct Register {
    QString name;
    TableLayout layout;
    QStringList dates;
    QStringList times;
};

// The registers as a diary made now lays them out.
std::vector<Register> diaryRegisters()
{
    const QString context = QStringLiteral("Could not lay out a diary to compare backups with");
    jet::SqliteFile db = jet::SqliteFile::inMemory(context);
    for (const QString& statement : data::diarySchemaStatements())
        db.execute(statement, context);
    std::vector<Register> registers;
    for (const char* name : kRegisters) {
        Register entry;
        entry.name = QLatin1String(name);
        entry.layout = layoutOf(tableSql(db, entry.name, QString()));
        jet::SqliteStatement columns =
            db.statement(QStringLiteral("SELECT name, upper(type) FROM pragma_table_info(?1)"));
        columns.bindText(1, entry.name.toUtf8());
        while (columns.step(QString())) {
            const QString type = columns.columnText(1);
            if (type == QLatin1String("DATE"))
                entry.dates << columns.columnText(0);
            else if (type == QLatin1String("TIME"))
                entry.times << columns.columnText(0);
        }
        registers.push_back(entry);
    }
    return registers;
}

// "1-4, 6-60" for the ascending numbers `serials` (repeats left out).
QString runsOf(const std::vector<qint64>& serials)
{
    QStringList runs;
    for (size_t i = 0; i < serials.size();) {
        size_t last = i;
        while (last + 1 < serials.size() && serials[last + 1] <= serials[last] + 1)
            ++last;
        if (runs.size() == kShownRuns) {
            runs << QStringLiteral("...");
            break;
        }
        runs << (serials[i] == serials[last]
                     ? QString::number(serials[i])
                     : QStringLiteral("%1-%2").arg(serials[i]).arg(serials[last]));
        i = last + 1;
    }
    return runs.join(QStringLiteral(", "));
}

void checkSerials(const jet::SqliteFile& db, const QString& table, const QString& path)
{
    const QString context = readContext(path);
    jet::SqliteStatement odd =
        db.statement(QStringLiteral("SELECT CAST(sl_no AS TEXT), typeof(sl_no) FROM "
                                    "%1 WHERE typeof(sl_no) <> 'integer' LIMIT 1")
                         .arg(table));
    if (odd.step(context))
        refuse(jet::errors::kDamaged, path,
               QStringLiteral("the register '%1' has %2 as a serial number")
                   .arg(table, odd.columnText(1) == QLatin1String("blob")
                                   ? QStringLiteral("binary data")
                                   : QStringLiteral("'%1'").arg(shortened(odd.columnText(0)))));
    jet::SqliteStatement all =
        db.statement(QStringLiteral("SELECT sl_no FROM %1 ORDER BY sl_no").arg(table));
    std::vector<qint64> serials;
    while (all.step(context))
        serials.push_back(all.columnInt64(0));
    QStringList repeated;
    bool gap = !serials.empty() && serials.front() != 1;
    for (size_t i = 1; i < serials.size(); ++i) {
        if (serials[i] == serials[i - 1] && repeated.size() < kShownRuns &&
            (repeated.isEmpty() || repeated.last() != QString::number(serials[i])))
            repeated << QString::number(serials[i]);
        gap = gap || serials[i] > serials[i - 1] + 1;
    }
    if (!gap && repeated.isEmpty())
        return;
    QString found = runsOf(serials);
    if (!repeated.isEmpty())
        found += QStringLiteral(" (%1 more than once)").arg(repeated.join(QStringLiteral(", ")));
    refuse(jet::errors::kDamaged, path,
           QStringLiteral("the serial numbers of the register '%1' are %2 instead of 1-%3")
               .arg(table, found)
               .arg(serials.size()));
}

// A date or time column: every value is text in the stored form, and names a real day or time.
void checkMoments(const jet::SqliteFile& db, const QString& table, const QString& column,
                  bool isDate, const QString& path)
{
    const QString readable =
        isDate
            ? QStringLiteral("date(%1, '+0 days') IS %1 AND substr(%1, 1, 4) <> '0000'").arg(column)
            : QStringLiteral("(time(%1, '+0 seconds') IS %1 OR (length(%1) = 5 AND "
                             "time(%1, '+0 seconds') IS %1 || ':00'))")
                  .arg(column);
    jet::SqliteStatement bad =
        db.statement(QStringLiteral("SELECT sl_no, typeof(%1), CAST(%1 AS TEXT) FROM %2 WHERE NOT "
                                    "(typeof(%1) = 'text' AND %3) ORDER BY sl_no LIMIT 1")
                         .arg(column, table, readable));
    if (!bad.step(readContext(path)))
        return;
    const QString record =
        QStringLiteral("record %1 of the register '%2'").arg(bad.columnInt64(0)).arg(table);
    const QString type = bad.columnText(1);
    QString problem;
    if (type == QLatin1String("null"))
        problem = QStringLiteral("%1 has no %2").arg(record, column);
    else if (type == QLatin1String("blob"))
        problem = QStringLiteral("%1 holds binary data as its %2").arg(record, column);
    else
        problem = QStringLiteral("%1 has '%2' as its %3, which is not a %4")
                      .arg(record, shortened(bad.columnText(2)), column,
                           isDate ? QStringLiteral("date (YYYY-MM-DD)")
                                  : QStringLiteral("time (HH:MM:SS)"));
    refuse(jet::errors::kDamaged, path, problem);
}

} // namespace

void requireSoundDiary(const jet::SqliteFile& backup, const QString& path)
{
    checkIntegrity(backup, path);
    const std::vector<Register> registers = diaryRegisters();
    for (const Register& wanted : registers) {
        const QString sql = tableSql(backup, wanted.name, path);
        if (sql.isEmpty())
            throw jet::JetError(jet::errors::kUnrecognizedFormat,
                                QStringLiteral("The file '%1' is not a backup of a diary (it "
                                               "has no register %2).")
                                    .arg(QDir::toNativeSeparators(path), wanted.name));
        const QString difference = layoutDifference(wanted.name, layoutOf(sql), wanted.layout);
        if (!difference.isEmpty())
            refuse(jet::errors::kUnrecognizedFormat, path, difference);
    }
    for (const Register& wanted : registers) {
        checkSerials(backup, wanted.name, path);
        for (const QString& column : wanted.dates)
            checkMoments(backup, wanted.name, column, true, path);
        for (const QString& column : wanted.times)
            checkMoments(backup, wanted.name, column, false, path);
    }
}

} // namespace backup
