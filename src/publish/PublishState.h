#pragma once

#include <optional>

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QUrl>

namespace publish {

// What this user last published to one collection, kept outside the diary in
// $XDG_STATE_HOME/Velmora (by default ~/.local/state/Velmora), one file per collection URL.
struct PublishedObject {
    QByteArray etag; // as the server gave it; empty when it gave none
    QByteArray hash; // CalendarObject::hash of what was sent
};

struct PublishState {
    QUrl url;
    QHash<QString, PublishedObject> objects; // by UID
    QDateTime lastSuccess;                   // UTC; invalid before the first complete publish
};

QString stateFolder();
// The state for `url`; an empty one when there is none or it cannot be read (the next publish
// compares everything with the collection).
PublishState readState(const QUrl& url);
// Writes the state through the program's safe output; PublishError (Environment) on failure.
void writeState(const PublishState& state);

// When the collection of the settings' [publish] url was last brought up to date (by velmora-cli
// publish or the background program); none when never, or when no URL is set.
std::optional<QDateTime> lastPublished();

} // namespace publish
