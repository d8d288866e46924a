#include "publish/CalDavClient.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QXmlStreamReader>

#include "publish/PublishError.h"

namespace publish {

namespace {

constexpr char kDav[] = "DAV:";
constexpr char kCalDav[] = "urn:ietf:params:xml:ns:caldav";
constexpr int kTransferTimeoutMs = 60000;

const QByteArray kListBody = QByteArrayLiteral(
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:resourcetype/><d:getetag/></d:prop></d:propfind>\n");

QString folderPath(const QUrl& url)
{
    QString path = url.path(QUrl::FullyDecoded);
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

struct Member {
    QString path; // decoded
    QByteArray etag;
    bool calendar = false;
};

// The responses of a multistatus body.
QList<Member> members(const QUrl& base, const QByteArray& body)
{
    QList<Member> found;
    QXmlStreamReader xml(body);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto ns = xml.namespaceUri();
        const auto name = xml.name();
        if (ns == QLatin1String(kDav) && name == QLatin1String("response"))
            found.append(Member{});
        else if (found.isEmpty())
            continue;
        else if (ns == QLatin1String(kDav) && name == QLatin1String("href"))
            found.last().path =
                base.resolved(QUrl(xml.readElementText().trimmed())).path(QUrl::FullyDecoded);
        else if (ns == QLatin1String(kDav) && name == QLatin1String("getetag"))
            found.last().etag = xml.readElementText().trimmed().toUtf8();
        else if (ns == QLatin1String(kCalDav) && name == QLatin1String("calendar"))
            found.last().calendar = true;
    }
    return found;
}

} // namespace

QString shownUrl(const QUrl& url)
{
    return url.toDisplayString(QUrl::RemoveUserInfo);
}

QUrl checkedCollectionUrl(const QString& text)
{
    QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        url.host().isEmpty())
        throw PublishError(PublishError::BadInput,
                           QStringLiteral(u"'%1' http ಅಥವಾ https ವಿಳಾಸವಲ್ಲ.")
                               .arg(url.isValid() ? shownUrl(url) : QStringLiteral("?")));
    if (!url.password().isEmpty())
        throw PublishError(
            PublishError::BadInput,
            QStringLiteral(u"ವಿಳಾಸದಲ್ಲಿ ಗುಪ್ತಪದ ಬೇಡ; ಅದನ್ನು ~/.netrc ನಲ್ಲಿ ಇಡಿ: %1").arg(shownUrl(url)));
    url.setPath(folderPath(url), QUrl::DecodedMode);
    url.setFragment(QString());
    return url;
}

CalDavClient::CalDavClient(const QUrl& collection, std::optional<Credentials> credentials)
    : m_collection(collection), m_credentials(std::move(credentials)),
      m_network(std::make_unique<QNetworkAccessManager>())
{
    // Only the login goes out, in the Authorization header.
    m_collection.setUserInfo(QString());
}

CalDavClient::~CalDavClient() = default;

void CalDavClient::fail(int kind, const QString& text) const
{
    QString shown = text;
    if (m_credentials && !m_credentials->password.isEmpty())
        shown.replace(m_credentials->password, QStringLiteral("***"));
    throw PublishError(PublishError::Kind(kind), shown);
}

CalDavClient::Reply CalDavClient::send(const QByteArray& verb, const QUrl& url,
                                       const Headers& headers, const QByteArray& body)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    request.setTransferTimeout(kTransferTimeoutMs);
    if (m_credentials)
        request.setRawHeader("Authorization", "Basic " + (m_credentials->login + QLatin1Char(':') +
                                                          m_credentials->password)
                                                             .toUtf8()
                                                             .toBase64());
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);

    std::unique_ptr<QNetworkReply> reply(m_network->sendCustomRequest(request, verb, body));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();

    Reply got;
    got.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    got.etag = reply->rawHeader("ETag");
    got.body = reply->readAll();
    const QString where = shownUrl(m_collection);
    if (got.status == 0)
        fail(PublishError::Environment,
             QStringLiteral(u"ಕ್ಯಾಲೆಂಡರ್ ಸರ್ವರ್ ಸಿಗಲಿಲ್ಲ: %1 (%2)").arg(where, reply->errorString()));
    if (got.status == 401)
        fail(PublishError::Environment,
             QStringLiteral(u"ಸರ್ವರ್ ಲಾಗಿನ್ ಒಪ್ಪಲಿಲ್ಲ (~/.netrc ಅಥವಾ secret-tool ನೋಡಿ): %1").arg(where));
    return got;
}

CollectionListing CalDavClient::list()
{
    const Reply reply =
        send("PROPFIND", m_collection,
             {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}}, kListBody);
    const QString where = shownUrl(m_collection);
    if (reply.status == 404)
        fail(PublishError::BadInput, QStringLiteral(u"%1 ನಲ್ಲಿ ಕ್ಯಾಲೆಂಡರ್ ಇಲ್ಲ.").arg(where));
    if (reply.status != 207)
        fail(PublishError::Environment, QStringLiteral(u"ಸರ್ವರ್ PROPFIND ಅನ್ನು ನಿರಾಕರಿಸಿತು (HTTP %1): %2")
                                            .arg(reply.status)
                                            .arg(where));

    const QString folder = folderPath(m_collection);
    CollectionListing listing;
    bool calendar = false;
    for (const Member& member : members(m_collection, reply.body)) {
        if (member.path == folder || member.path + QLatin1Char('/') == folder) {
            calendar = member.calendar;
            continue;
        }
        const qsizetype slash = member.path.lastIndexOf(QLatin1Char('/'));
        if (member.path.left(slash + 1) == folder && slash + 1 < member.path.size())
            listing.insert(member.path.mid(slash + 1), member.etag);
    }
    if (!calendar)
        fail(PublishError::BadInput, QStringLiteral(u"%1 ಕ್ಯಾಲೆಂಡರ್ ಅಲ್ಲ.").arg(where));
    return listing;
}

WriteResult CalDavClient::written(const Reply& reply, const char* verb) const
{
    if (reply.status >= 200 && reply.status < 300)
        return {WriteResult::Done, reply.etag};
    if (reply.status == 412)
        return {WriteResult::Changed, {}};
    if (reply.status == 404 && qstrcmp(verb, "DELETE") == 0)
        return {WriteResult::Gone, {}};
    fail(PublishError::Environment, QStringLiteral(u"ಸರ್ವರ್ %1 ಅನ್ನು ನಿರಾಕರಿಸಿತು (HTTP %2): %3")
                                        .arg(QLatin1String(verb))
                                        .arg(reply.status)
                                        .arg(shownUrl(m_collection)));
}

namespace {

QUrl memberUrl(const QUrl& collection, const QString& name)
{
    return collection.resolved(QUrl(QString::fromLatin1(QUrl::toPercentEncoding(name))));
}

} // namespace

WriteResult CalDavClient::put(const QString& name, const QByteArray& body, const QByteArray& etag)
{
    ++m_writes;
    Headers headers{{"Content-Type", "text/calendar; charset=utf-8"}};
    headers.append(etag.isEmpty() ? std::pair{QByteArray("If-None-Match"), QByteArray("*")}
                                  : std::pair{QByteArray("If-Match"), etag});
    return written(send("PUT", memberUrl(m_collection, name), headers, body), "PUT");
}

WriteResult CalDavClient::remove(const QString& name, const QByteArray& etag)
{
    ++m_writes;
    return written(send("DELETE", memberUrl(m_collection, name), {{"If-Match", etag}}), "DELETE");
}

} // namespace publish
