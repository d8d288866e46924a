#pragma once

#include <functional>

#include <QByteArray>
#include <QList>
#include <QString>

namespace legacy {

// One value as the Jet file holds it, before any conversion.
struct RawValue {
    enum class Kind : quint8 { Null, Number, Text };
    Kind kind = Kind::Null;
    double number = 0; // a serial number, or a date and time as days since 1899-12-30
    QByteArray utf8;   // a text as libmdb hands it over

    static RawValue null() { return {}; }
    static RawValue of(double value) { return {Kind::Number, value, {}}; }
    static RawValue text(QByteArray utf8) { return {Kind::Text, 0, std::move(utf8)}; }
};
using RawRow = QList<RawValue>;

struct RawDiary {
    int jetVersion = 0;             // 0: Jet 3, 1: Jet 4
    QList<QList<RawRow>> registers; // in legacyRegisters() order, rows in the file's order
};

// Rows read so far, of how many in all three registers.
using ReadProgress = std::function<void(int read, int total)>;

// Reads the three registers of the Jet file `path` through libmdb, checking that each table is
// there with exactly the register's columns and that every row the table counts was read.
// libmdb is not hardened against damaged files (some make it crash or loop), so it runs in a
// child process that streams the rows back; whatever happens there, this process goes on and
// gets a LegacyError naming the file. The file is only read.
RawDiary readJetDiary(const QString& path, const ReadProgress& progress = {});

} // namespace legacy
