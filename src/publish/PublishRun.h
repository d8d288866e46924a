#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include "data/Register.h"
#include "publish/CalendarObject.h"
#include "publish/CalendarSync.h"

namespace publish {

struct PublishRequest {
    QUrl url; // checkedCollectionUrl's
    data::Registers registers = data::everyRegister();
    QString diaryPath; // as data::OpenDiaryForReading takes it: a file, or a server's settings
};

struct PublishOutcome : SyncCounts {
    int writingRequests = 0; // PUT and DELETE requests sent, retries after a 412 included
};

// The records of the chosen registers as calendar objects, read through the readers' door and
// the export's record reading; in the zone of publishTimeZone().
QList<CalendarObject> diaryObjects(const QString& diaryPath, data::Registers registers);

// Whether the state says a complete publish left the collection at `url` holding `objects` as
// they are: nothing to send.
bool alreadyPublished(const QUrl& url, const QList<CalendarObject>& objects);

// Makes the collection at `url` hold `objects` (syncCollection) with the credentials of
// credentialsFor, and keeps the state; a complete publish records its time. Only the network
// and the state's files: may run on a thread of its own, while the diary is read on the
// program's. PublishError for the collection's, the network's and the state's failures.
PublishOutcome publishObjects(const QUrl& url, const QList<CalendarObject>& objects);

// publishObjects of the diary's objects; jet::JetError for the diary's failures.
PublishOutcome publishDiary(const PublishRequest& request);

} // namespace publish
