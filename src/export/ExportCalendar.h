#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include "export/ExportRecords.h"

namespace exports {

// A register's records as an iCalendar file (RFC 5545) for calendar programs: one VEVENT per
// record, in floating local time (the diary keeps the office's own clock). A programme starts
// at its date and time, with its subject as SUMMARY, venue and address as LOCATION and the
// telephone, contact person and other details in DESCRIPTION; a tour spans departure to
// arrival, "from - to" as SUMMARY and the destination as LOCATION. Texts are Unicode Kannada.
//
// Each event's UID is "velmora-<diary id>-<register>-<row identity>". The row identity is the
// row's own key in its table, which a renumbering of sl_no after a deletion leaves alone, and
// the diary id (DiaryIdentity.h) tells diaries apart; so re-importing an export updates the
// events already in a calendar. A UID changes only when its record is deleted (a record added
// later may reuse the key of the register's last row after that one was deleted), when the
// diary is made anew or brought over from Jet again, or when the file is rebuilt by a tool
// (sqlite3's VACUUM) that renumbers row keys. Restoring a backup brings back that backup's
// records with their UIDs.
QByteArray exportCalendar(data::Register which, const QList<data::Record>& records,
                          const QString& diaryId,
                          const QDateTime& stamp = QDateTime::currentDateTimeUtc());

QString eventUid(data::Register which, qint64 identity, const QString& diaryId);

// The same file piece by piece, for writing it as the rows are read.
class CalendarWriter {
public:
    CalendarWriter(data::Register which, const QString& diaryId,
                   const QDateTime& stamp = QDateTime::currentDateTimeUtc());
    QByteArray start() const;
    // One record's event; empty for a record without a readable date.
    QByteArray event(const data::Record& record) const;
    // The same event appended to `text`.
    void appendEvent(QByteArray& text, const data::Record& record) const;
    QByteArray end() const;

private:
    data::Register m_which;
    QByteArray m_uidPrefix; // the UID up to the row identity
    QByteArray m_stamp;
    mutable QByteArray m_line; // the content line being put together
};

} // namespace exports
