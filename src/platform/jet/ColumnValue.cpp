#include "platform/jet/ColumnValue.h"

#include <climits>
#include <cstdio>

#include <sqlite3.h>

#include <QDateTime>

#include "platform/jet/JetDateTime.h"
#include "platform/jet/JetError.h"
#include "platform/jet/StorageText.h"

namespace jet {

namespace {

// One cell as sqlite holds it, whether it comes from a row or from a pending buffer.
struct Cell {
    int type;
    std::int64_t integer;
    double real;
    const unsigned char* text;
    int size;
};

QString cellText(const Cell& cell)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(cell.text), cell.size);
}

int twoDigits(const unsigned char* s)
{
    if (s[0] < '0' || s[0] > '9' || s[1] < '0' || s[1] > '9')
        return -1;
    return (s[0] - '0') * 10 + (s[1] - '0');
}

// 'YYYY-MM-DD', the stored form (anything after the day, such as a time, is ignored).
QDate storedDate(const unsigned char* s, int n)
{
    if (n < 10 || s[4] != '-' || s[7] != '-')
        return {};
    const int century = twoDigits(s), year = twoDigits(s + 2);
    const int month = twoDigits(s + 5), day = twoDigits(s + 8);
    if (century < 0 || year < 0 || month < 0 || day < 0)
        return {};
    return QDate(century * 100 + year, month, day);
}

// 'HH:MM:SS' or 'HH:MM'.
QTime storedTime(const unsigned char* s, int n)
{
    if (!((n == 8 && s[2] == ':' && s[5] == ':') || (n == 5 && s[2] == ':')))
        return {};
    const int hour = twoDigits(s), minute = twoDigits(s + 3);
    const int second = n == 8 ? twoDigits(s + 6) : 0;
    if (hour < 0 || minute < 0 || second < 0)
        return {};
    return QTime(hour, minute, second);
}

QVariant typedCell(ColumnKind kind, const Cell& cell)
{
    if (cell.type == SQLITE_NULL)
        return emptyColumnValue(kind);
    switch (kind) {
    case ColumnKind::Integer:
        if (cell.type == SQLITE_INTEGER) {
            if (cell.integer >= INT_MIN && cell.integer <= INT_MAX)
                return int(cell.integer);
            return qint64(cell.integer);
        }
        break;
    case ColumnKind::Date:
        if (cell.type == SQLITE_TEXT) {
            const QDate date = storedDate(cell.text, cell.size);
            if (date.isValid())
                return date;
            if (const auto parsed = dateFromText(cellText(cell)))
                return *parsed;
        }
        break;
    case ColumnKind::Time:
        if (cell.type == SQLITE_TEXT) {
            const QTime time = storedTime(cell.text, cell.size);
            if (time.isValid())
                return time;
            if (const auto parsed = timeFromText(cellText(cell)))
                return *parsed;
        }
        break;
    case ColumnKind::Text:
        if (cell.type == SQLITE_TEXT || cell.type == SQLITE_BLOB)
            return bytesFromStorage(cell.text, cell.size);
        if (cell.type == SQLITE_INTEGER)
            return QByteArray::number(qint64(cell.integer));
        break;
    case ColumnKind::Other: break;
    }
    // Whatever does not fit the declared type is handed back as found, never lost.
    switch (cell.type) {
    case SQLITE_INTEGER: return qint64(cell.integer);
    case SQLITE_FLOAT: return cell.real;
    case SQLITE_BLOB: return QByteArray(reinterpret_cast<const char*>(cell.text), cell.size);
    default: return cellText(cell);
    }
}

[[noreturn]] void conversionError(const QVariant& value, const QString& columnName,
                                  const char* wanted)
{
    throw JetError(errors::kTypeConversion,
                   QStringLiteral("Data type conversion error: the value \"%1\" cannot be "
                                  "stored in column '%2', which holds %3")
                       .arg(value.toString(), columnName, QLatin1String(wanted)));
}

bool isIntegral(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: return true;
    default: return false;
    }
}

bool isText(const QVariant& value)
{
    return value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray;
}

StoredValue integerValue(std::int64_t number)
{
    StoredValue stored;
    stored.type = StoredValue::Type::Integer;
    stored.integer = number;
    return stored;
}

StoredValue textValue(QByteArray utf8)
{
    StoredValue stored;
    stored.type = StoredValue::Type::Text;
    stored.utf8 = std::move(utf8);
    return stored;
}

StoredValue storedInteger(const QVariant& value, const QString& column)
{
    if (isIntegral(value))
        return integerValue(value.toLongLong());
    if (isText(value)) {
        bool ok = false;
        const qlonglong number = value.toString().trimmed().toLongLong(&ok, 10);
        if (ok)
            return integerValue(number);
    }
    conversionError(value, column, "a whole number");
}

StoredValue storedDateValue(const QVariant& value, const QString& column)
{
    QDate date;
    if (value.typeId() == QMetaType::QDate)
        date = value.toDate();
    else if (value.typeId() == QMetaType::QDateTime)
        date = value.toDateTime().date();
    else if (isText(value))
        date = dateFromText(value.toString()).value_or(QDate());
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        conversionError(value, column, "a date");
    char buffer[16];
    const int n = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year(), date.month(),
                                date.day());
    return textValue(QByteArray(buffer, n));
}

StoredValue storedTimeValue(const QVariant& value, const QString& column)
{
    QTime time;
    if (value.typeId() == QMetaType::QTime)
        time = value.toTime();
    else if (value.typeId() == QMetaType::QDateTime)
        time = value.toDateTime().time();
    else if (isText(value))
        time = timeFromText(value.toString()).value_or(QTime());
    if (!time.isValid())
        conversionError(value, column, "a time of day");
    char buffer[16];
    const int n = std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", time.hour(), time.minute(),
                                time.second());
    return textValue(QByteArray(buffer, n));
}

StoredValue storedVarnelText(const QVariant& value, const QString& column)
{
    switch (value.typeId()) {
    case QMetaType::QByteArray: return textValue(storageFromBytes(value.toByteArray()));
    case QMetaType::QString: {
        const QString text = value.toString();
        for (const QChar c : text) {
            if (c.unicode() > 0xFF)
                conversionError(value, column, "text of one-byte characters");
        }
        return textValue(storageFromBytes(text.toLatin1()));
    }
    case QMetaType::QDate: return textValue(isoDateText(value.toDate()).toLatin1());
    case QMetaType::QTime: return textValue(isoTimeText(value.toTime()).toLatin1());
    default:
        if (isIntegral(value))
            return textValue(QByteArray::number(value.toLongLong()));
        conversionError(value, column, "text");
    }
}

StoredValue storedOther(const QVariant& value)
{
    if (isIntegral(value))
        return integerValue(value.toLongLong());
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        StoredValue stored;
        stored.type = StoredValue::Type::Real;
        stored.real = value.toDouble();
        return stored;
    }
    if (value.typeId() == QMetaType::QByteArray)
        return textValue(storageFromBytes(value.toByteArray()));
    return textValue(value.toString().toUtf8());
}

} // namespace

ColumnKind columnKindFromDeclaredType(const char* declaredType)
{
    if (!declaredType)
        return ColumnKind::Other;
    // Looked at for every column of every statement read: no copy of the name is made.
    const QByteArrayView type = QByteArrayView(declaredType).trimmed();
    const auto contains = [&](QByteArrayView word) {
        for (qsizetype at = 0; at + word.size() <= type.size(); ++at) {
            if (type.sliced(at, word.size()).compare(word, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    };
    if (type.compare("DATE", Qt::CaseInsensitive) == 0)
        return ColumnKind::Date;
    if (type.compare("TIME", Qt::CaseInsensitive) == 0)
        return ColumnKind::Time;
    if (contains("INT"))
        return ColumnKind::Integer;
    if (contains("TEXT") || contains("CHAR") || contains("CLOB") || contains("MEMO"))
        return ColumnKind::Text;
    return ColumnKind::Other;
}

QVariant readColumnValue(sqlite3_stmt* stmt, int column, ColumnKind kind)
{
    // The cell is looked up once and read through its value: each sqlite3_column_* call would
    // check the statement and its column again. The engine opens its connections without
    // sqlite's own mutex, so each is used by one thread at a time already and reading the value
    // in place is as safe as the calls it replaces.
    sqlite3_value* value = sqlite3_column_value(stmt, column);
    Cell cell{sqlite3_value_type(value), 0, 0, nullptr, 0};
    switch (cell.type) {
    case SQLITE_INTEGER: cell.integer = sqlite3_value_int64(value); break;
    case SQLITE_FLOAT: cell.real = sqlite3_value_double(value); break;
    case SQLITE_TEXT:
        cell.text = sqlite3_value_text(value);
        cell.size = sqlite3_value_bytes(value);
        break;
    case SQLITE_BLOB:
        cell.text = static_cast<const unsigned char*>(sqlite3_value_blob(value));
        cell.size = sqlite3_value_bytes(value);
        break;
    default: break;
    }
    return typedCell(kind, cell);
}

StoredValue toStoredValue(ColumnKind kind, const QVariant& value, const QString& columnName)
{
    if (!value.isValid() || value.isNull())
        return kind == ColumnKind::Text ? textValue(QByteArray("")) : StoredValue{};
    switch (kind) {
    case ColumnKind::Integer: return storedInteger(value, columnName);
    case ColumnKind::Date: return storedDateValue(value, columnName);
    case ColumnKind::Time: return storedTimeValue(value, columnName);
    case ColumnKind::Text: return storedVarnelText(value, columnName);
    case ColumnKind::Other: break;
    }
    return storedOther(value);
}

QVariant typedValue(ColumnKind kind, const StoredValue& value)
{
    Cell cell{SQLITE_NULL, value.integer, value.real,
              reinterpret_cast<const unsigned char*>(value.utf8.constData()),
              int(value.utf8.size())};
    switch (value.type) {
    case StoredValue::Type::Null: break;
    case StoredValue::Type::Integer: cell.type = SQLITE_INTEGER; break;
    case StoredValue::Type::Real: cell.type = SQLITE_FLOAT; break;
    case StoredValue::Type::Text: cell.type = SQLITE_TEXT; break;
    }
    return typedCell(kind, cell);
}

void bindStoredValue(sqlite3_stmt* stmt, int index, const StoredValue& value)
{
    switch (value.type) {
    case StoredValue::Type::Null: sqlite3_bind_null(stmt, index); return;
    case StoredValue::Type::Integer: sqlite3_bind_int64(stmt, index, value.integer); return;
    case StoredValue::Type::Real: sqlite3_bind_double(stmt, index, value.real); return;
    case StoredValue::Type::Text:
        // The buffer outlives the step that uses it, so sqlite need not copy it.
        sqlite3_bind_text(stmt, index, value.utf8.constData(), int(value.utf8.size()),
                          SQLITE_STATIC);
        return;
    }
}

QVariant emptyColumnValue(ColumnKind kind)
{
    return kind == ColumnKind::Text ? QVariant(QByteArray("")) : QVariant();
}

} // namespace jet
