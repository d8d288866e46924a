#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <QVariant>

namespace registers {

// What a column of a register holds, and so which control shows it.
enum class FieldKind {
    SerialNumber, // TxtSl_no: the dense serial number
    Date,         // a date picker; its weekday goes to the field named by dayOrdinal
    DayName,      // a read-only weekday text box
    Time,         // a time picker
    Text,         // a Varnel text box
};

struct RegisterField {
    int ordinal = 0;
    FieldKind kind = FieldKind::Text;
    int dayOrdinal = -1;     // Date only: the DayName field that follows this date
    QByteArray caption = {}; // Text only: the field's Varnel caption, to name it in messages
};

// One register as the record editor sees it: its table, its columns by ordinal and the
// rules that differ between the local, outstation and tour registers.
struct RegisterMapping {
    QString table;
    QString openQuery;
    QList<RegisterField> fields; // in ordinal order, one per column
    QList<int> requiredTexts;    // text fields that must not be empty before saving
    QByteArray missingMessage;   // Varnel notice when a required field is empty
    int departureDate = -1;      // tour: the two dates kept in order (departure <= arrival)
    int arrivalDate = -1;

    int fieldCount() const { return int(fields.size()); }
    const RegisterField& field(int ordinal) const { return fields.at(ordinal); }
    bool keepsDatesInOrder() const { return departureDate >= 0 && arrivalDate >= 0; }

    // What a record (its columns by ordinal) is about, in Unicode: a programme's subject, a
    // tour's places ("from – to"); and its (first) date and time.
    QString about(const QList<QVariant>& record) const;
    QDate dateOf(const QList<QVariant>& record) const;
    QTime timeOf(const QList<QVariant>& record) const;
    // The record as a question names it: «about» (date), Kannada digits, a long text cut short.
    QString named(const QList<QVariant>& record) const;

    static const RegisterMapping& local();
    static const RegisterMapping& outstation();
    static const RegisterMapping& tour();
    // The register whose table is `table` (local when it names none).
    static const RegisterMapping& ofTable(const QString& table);
};

} // namespace registers
