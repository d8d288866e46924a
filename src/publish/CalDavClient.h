#pragma once

#include <memory>
#include <optional>
#include <utility>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QUrl>

#include "publish/Credentials.h"

class QNetworkAccessManager;

namespace publish {

// The collection's members by name (the last segment of the href, decoded), each with its ETag.
using CollectionListing = QHash<QString, QByteArray>;

struct WriteResult {
    enum Outcome {
        Done,    // written; `etag` is the new one when the server gave it
        Changed, // 412: the member's ETag is no longer the one given (or it exists after all)
        Gone,    // a DELETE found nothing there
    };
    Outcome outcome = Done;
    QByteArray etag;
};

// The HTTP/WebDAV requests of publishing, each waited for (a local event loop), through Qt
// Network with the system's certificates. The credentials go out as Basic authorization and
// never follow a redirect to another origin; no message ever holds the password. Failures throw
// PublishError: BadInput when the collection is missing or no calendar, Environment when the
// server cannot be reached, refuses the credentials or refuses a request.
class CalDavClient {
public:
    // `collection`: an http or https URL (see checkedCollectionUrl), ending in '/'.
    CalDavClient(const QUrl& collection, std::optional<Credentials> credentials);
    ~CalDavClient();
    CalDavClient(const CalDavClient&) = delete;
    CalDavClient& operator=(const CalDavClient&) = delete;

    // One PROPFIND with Depth 1: the members and their ETags.
    CollectionListing list();
    // PUT with If-Match `etag`, or If-None-Match * (only a new member) when `etag` is empty.
    WriteResult put(const QString& name, const QByteArray& body, const QByteArray& etag);
    // DELETE with If-Match `etag`.
    WriteResult remove(const QString& name, const QByteArray& etag);

    // The PUT and DELETE requests sent so far.
    int writingRequests() const { return m_writes; }

private:
    struct Reply {
        int status = 0;
        QByteArray etag;
        QByteArray body;
    };
    using Headers = QList<std::pair<QByteArray, QByteArray>>;
    Reply send(const QByteArray& verb, const QUrl& url, const Headers& headers,
               const QByteArray& body = {});
    WriteResult written(const Reply& reply, const char* verb) const;
    [[noreturn]] void fail(int kind, const QString& text) const;

    QUrl m_collection;
    std::optional<Credentials> m_credentials;
    std::unique_ptr<QNetworkAccessManager> m_network;
    int m_writes = 0;
};

// `text` as a collection URL: http or https with a host, no user information that holds a
// password (credentials never come on the command line), a path ending in '/'. BadInput
// otherwise.
QUrl checkedCollectionUrl(const QString& text);

// The URL as messages show it: without any user information.
QString shownUrl(const QUrl& url);

} // namespace publish
