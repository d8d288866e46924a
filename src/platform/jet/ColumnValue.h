#pragma once

#include <cstdint>

#include <QByteArray>
#include <QString>
#include <QVariant>

struct sqlite3_stmt;

namespace jet {

// How a column's values are typed in Fields(i): by the column's declared type.
enum class ColumnKind { Integer, Date, Time, Text, Other };

ColumnKind columnKindFromDeclaredType(const char* declaredType);

// A value in the form it is stored in: what a pending AddNew/Edit holds until Update.
struct StoredValue {
    enum class Type { Null, Integer, Real, Text };
    Type type = Type::Null;
    std::int64_t integer = 0;
    double real = 0;
    QByteArray utf8;
};

// Reads column `column` of the statement's current row as the typed value.
QVariant readColumnValue(sqlite3_stmt* stmt, int column, ColumnKind kind);

// Converts `value` to the column's stored form. Throws JetError (data type conversion)
// naming `columnName` when it does not convert, so a bad value fails where it is assigned.
StoredValue toStoredValue(ColumnKind kind, const QVariant& value, const QString& columnName);

// What reading the column gives back for a stored value.
QVariant typedValue(ColumnKind kind, const StoredValue& value);

void bindStoredValue(sqlite3_stmt* stmt, int index, const StoredValue& value);

// The value a column holds in a record that nobody wrote to: '' for text, null otherwise.
QVariant emptyColumnValue(ColumnKind kind);

} // namespace jet
