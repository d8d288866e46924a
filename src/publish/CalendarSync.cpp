#include "publish/CalendarSync.h"

#include <QSet>

#include "publish/CalDavClient.h"
#include "publish/PublishError.h"

namespace publish {

namespace {

QString memberName(const QString& uid)
{
    return uid + QStringLiteral(".ics");
}

bool isVelmoras(const QString& name)
{
    return name.startsWith(QLatin1String("velmora-")) && name.endsWith(QLatin1String(".ics"));
}

// The collection as last listed, listed again after a 412; a second 412 in one publish means
// someone keeps changing it: given up until the next publish.
class Listing {
public:
    explicit Listing(CalDavClient& client) : m_client(client), m_members(client.list()) {}
    const CollectionListing& members() const { return m_members; }
    void changed(const QString& where)
    {
        if (m_relisted)
            throw PublishError(PublishError::Environment,
                               QStringLiteral(u"ಕ್ಯಾಲೆಂಡರ್ ಬದಲಾಗುತ್ತಲೇ ಇದೆ; ಮತ್ತೆ ಪ್ರಯತ್ನಿಸಿ: %1").arg(where));
        m_relisted = true;
        m_members = m_client.list();
    }

private:
    CalDavClient& m_client;
    CollectionListing m_members;
    bool m_relisted = false;
};

} // namespace

SyncCounts syncCollection(CalDavClient& client, PublishState& state,
                          const QList<CalendarObject>& wanted, const QDateTime& stamp)
{
    Listing listing(client);
    SyncCounts counts;
    QSet<QString> wantedUids;
    for (const CalendarObject& object : wanted) {
        wantedUids.insert(object.uid);
        const QString name = memberName(object.uid);
        const PublishedObject sent = state.objects.value(object.uid);
        const auto there = listing.members().constFind(name);
        // A server that gave no ETag for the PUT has its own for it now.
        if (there != listing.members().cend() && sent.hash == object.hash &&
            (sent.etag == *there || sent.etag.isEmpty())) {
            state.objects[object.uid].etag = *there;
            ++counts.unchanged;
            continue;
        }
        const QByteArray text = stampedText(object, stamp);
        WriteResult result;
        while ((result = client.put(name, text, listing.members().value(name))).outcome !=
               WriteResult::Done)
            listing.changed(shownUrl(state.url));
        state.objects.insert(object.uid, {result.etag, object.hash});
        ++counts.sent;
    }

    QStringList stale;
    for (auto it = listing.members().cbegin(); it != listing.members().cend(); ++it)
        if (isVelmoras(it.key()) && !wantedUids.contains(it.key().chopped(4)))
            stale << it.key();
    for (const QString& name : stale) {
        while (listing.members().contains(name) &&
               client.remove(name, listing.members().value(name)).outcome == WriteResult::Changed)
            listing.changed(shownUrl(state.url));
        state.objects.remove(name.chopped(4));
        ++counts.deleted;
    }
    for (auto it = state.objects.begin(); it != state.objects.end();)
        it = wantedUids.contains(it.key()) ? std::next(it) : state.objects.erase(it);
    return counts;
}

bool stateHolds(const PublishState& state, const QList<CalendarObject>& wanted)
{
    if (state.objects.size() != wanted.size())
        return false;
    for (const CalendarObject& object : wanted)
        if (state.objects.value(object.uid).hash != object.hash)
            return false;
    return true;
}

} // namespace publish
