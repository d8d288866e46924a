#pragma once

#include <QDateTime>
#include <QList>

#include "publish/CalendarObject.h"
#include "publish/PublishState.h"

namespace publish {

class CalDavClient;

struct SyncCounts {
    int sent = 0;      // PUT: new or changed
    int deleted = 0;   // DELETE: no longer in the diary
    int unchanged = 0; // on the server as last sent
};

// Makes Velmora's members of the collection (named "velmora-….ics") exactly `wanted`, each
// under its UID + ".ics", so a failure halfway can leave a mix of old and new but never two
// objects for one record; members of anyone else are left alone. One PROPFIND lists the
// collection; an object goes out only when it differs from what `state` says was sent or the
// server's ETag is not the one the state holds (someone else changed it), with If-Match on the
// server's ETag, or If-None-Match * when it is new; a member the diary no longer holds is
// deleted with If-Match. A 412 (changed meanwhile) lists the collection once more and tries
// again. `state` is updated as each request succeeds, also when a later one throws.
SyncCounts syncCollection(CalDavClient& client, PublishState& state,
                          const QList<CalendarObject>& wanted,
                          const QDateTime& stamp = QDateTime::currentDateTimeUtc());

// Whether `state` says the collection holds exactly `wanted` as it is: nothing to send.
bool stateHolds(const PublishState& state, const QList<CalendarObject>& wanted);

} // namespace publish
