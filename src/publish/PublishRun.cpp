#include "publish/PublishRun.h"

#include "data/DiaryDatabase.h"
#include "export/DiaryIdentity.h"
#include "export/ExportRecords.h"
#include "publish/CalDavClient.h"
#include "publish/Credentials.h"
#include "publish/PublishError.h"
#include "publish/PublishState.h"

namespace publish {

QList<CalendarObject> diaryObjects(const QString& diaryPath, data::Registers registers)
{
    const auto database = data::OpenDiaryForReading(diaryPath);
    const CalendarObjectBuilder builder(exports::diaryId(*database), publishTimeZone());
    QList<CalendarObject> objects;
    for (const data::Register which : data::kRegisterOrder) {
        if (!registers.testFlag(which))
            continue;
        exports::forEachRecord(*database,
                               exports::exportStatement(which, std::nullopt, std::nullopt),
                               [&](qint64 identity, QVariantList& values) {
                                   if (auto object = builder.object(which, identity, values))
                                       objects.append(std::move(*object));
                               });
    }
    return objects;
}

bool alreadyPublished(const QUrl& url, const QList<CalendarObject>& objects)
{
    const PublishState state = readState(url);
    return state.lastSuccess.isValid() && stateHolds(state, objects);
}

PublishOutcome publishObjects(const QUrl& url, const QList<CalendarObject>& objects)
{
    PublishState state = readState(url);
    CalDavClient client(url, credentialsFor(url));
    PublishOutcome outcome;
    try {
        static_cast<SyncCounts&>(outcome) = syncCollection(client, state, objects);
    } catch (...) {
        // What was done is remembered: the next publish goes on from there.
        writeState(state);
        throw;
    }
    outcome.writingRequests = client.writingRequests();
    state.lastSuccess = QDateTime::currentDateTimeUtc();
    writeState(state);
    return outcome;
}

PublishOutcome publishDiary(const PublishRequest& request)
{
    return publishObjects(request.url, diaryObjects(request.diaryPath, request.registers));
}

} // namespace publish
