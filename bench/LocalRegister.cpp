#include "LocalRegister.h"

#include <sqlite3.h>

#include <QByteArray>
#include <QDate>
#include <QTime>

#include "RawSqlite.h"
#include "data/DayName.h"
#include "platform/jet/StorageText.h"

void fillLocalRegister(RawConnection& raw, int records)
{
    Statement insert(raw.db, "INSERT INTO local VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    const QByteArray topic(
        "\xA5\xC0\xC4\xB8\xC0\xDB\x50\xC0 \xA9\x71\xC0\xC4\x55\xC0\x71\xC0\xC9 ");
    raw.exec("BEGIN");
    for (int serial = 1; serial <= records; ++serial) {
        const QDate date = QDate(2024, 1, 1).addDays(serial % 700);
        const QByteArray columns[9] = {
            date.toString(Qt::ISODate).toLatin1(),
            jet::storageFromBytes(data::DayName(date)),
            QTime(serial % 24, serial % 60, serial % 59)
                .toString(QStringLiteral("HH:mm:ss"))
                .toLatin1(),
            jet::storageFromBytes(topic + QByteArray::number(serial)),
            jet::storageFromBytes(topic + QByteArray::number(serial * 3)),
            jet::storageFromBytes(topic + QByteArray::number(serial * 7)),
            QByteArray::number(8000000 + serial),
            jet::storageFromBytes(topic),
            QByteArray(),
        };
        sqlite3_bind_int(insert.stmt, 1, serial);
        for (int c = 0; c < 9; ++c)
            sqlite3_bind_text(insert.stmt, c + 2, columns[c].constData(), int(columns[c].size()),
                              SQLITE_TRANSIENT);
        check(sqlite3_step(insert.stmt), raw.db);
        sqlite3_reset(insert.stmt);
    }
    raw.exec("COMMIT");
}
