#pragma once

#include <optional>

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

// Makes the collection hold the diary's records of the chosen registers (syncCollection), with
// the credentials of ~/.netrc, and keeps the state; a complete publish records its time.
// PublishError for the collection's and the network's failures, jet::JetError for the diary's.
PublishOutcome publishDiary(const PublishRequest& request);

// publishDiary, unless `force` is false and the state says the collection already holds the
// diary as it is now: then nothing is sent at all (std::nullopt).
std::optional<PublishOutcome> publishIfChanged(const PublishRequest& request, bool force);

} // namespace publish
