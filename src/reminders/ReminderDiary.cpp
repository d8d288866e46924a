#include "reminders/ReminderDiary.h"

#include <sys/stat.h>

#include "data/DiaryDatabase.h"
#include "data/DiarySchema.h"
#include "engagements/EntryReader.h"
#include "export/DiaryIdentity.h"
#include "platform/jet/Database.h"
#include "platform/paths/NativePath.h"
#include "platform/varnel/VarnelCodec.h"

namespace reminders {

QList<Reminder> readReminders(jet::Database& database, const Settings& settings,
                              const QDateTime& now, int aheadMinutes)
{
    // A day more: tomorrow's departures have their evening reminder today.
    const QDate last =
        now.addSecs((settings.minutesBefore + std::max(aheadMinutes, 0)) * 60LL).date().addDays(1);
    const engagements::DateRange range{now.date().addDays(-7), last};
    QList<engagements::Entry> entries =
        engagements::readProgrammes(database, data::Register::Local, range);
    entries += engagements::readProgrammes(database, data::Register::Outstation, range);
    entries += engagements::readTours(database, range);
    return remindersOf(entries, settings);
}

texts::Details readDetails(jet::Database& database, const engagements::Entry& entry)
{
    // The agenda's reader leaves these out; one row by its identity.
    const QString columns = entry.isTour()
                                ? QStringLiteral("travel_type, travel_date_to, travel_time_to")
                                : QStringLiteral("contact_person, telephone");
    texts::Details details;
    database.ReadRows(QStringLiteral("Select %1 from %2 where %3=%4")
                          .arg(columns, data::tableName(entry.which), database.rowIdentity())
                          .arg(entry.key),
                      [&](std::vector<QVariant>& row) {
                          if (entry.isTour()) {
                              details.mode = varnel::decode(row[0].toByteArray());
                              details.arrival =
                                  texts::whenText(row[1].toDate(), row[2].toTime(), entry.date);
                          } else {
                              details.contact = varnel::decode(row[0].toByteArray());
                              details.telephone = varnel::decode(row[1].toByteArray());
                          }
                          return false;
                      });
    return details;
}

QString diaryIdentity(jet::Database& database)
{
    return exports::storedDiaryId(database).value_or(data::diaryIdOfPath(database.path()));
}

DiaryFollower::DiaryFollower(const QString& path, QObject* parent) : QObject(parent), m_path(path)
{
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DiaryFollower::touched);
}

DiaryFollower::Signature DiaryFollower::signature() const
{
    Signature signature;
    const QByteArray file = files::nativePath(data::findDiaryFile(m_path));
    std::int64_t* value = signature.values;
    for (const QByteArray& name : {file, file + "-wal"}) {
        struct stat info {};
        if (!file.isEmpty() && ::stat(name.constData(), &info) == 0) {
            value[0] = std::int64_t(info.st_ino);
            value[1] = std::int64_t(info.st_size);
            value[2] = std::int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        }
        value += 3;
    }
    return signature;
}

void DiaryFollower::watch()
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    const QString file = data::findDiaryFile(m_path);
    if (file.isEmpty())
        return;
    for (const QString& name : {file, file + QStringLiteral("-wal")}) {
        if (QFileInfo::exists(name))
            m_watcher.addPath(name);
    }
}

bool DiaryFollower::changed()
{
    if (data::serverConnectionFor(m_path).isEmpty())
        return !m_signature || signature() != *m_signature;
    if (!m_server)
        return true;
    try {
        return m_server->DataVersion() != m_version;
    } catch (...) {
        m_server.reset();
        throw;
    }
}

void DiaryFollower::read(const std::function<void(jet::Database&)>& reader)
{
    if (data::serverConnectionFor(m_path).isEmpty()) {
        m_server.reset();
        const Signature before = signature();
        reader(*data::OpenDiaryForReading(m_path));
        m_signature = before;
        watch();
        return;
    }
    try {
        if (!m_server)
            m_server = data::OpenDiaryForReading(m_path);
        m_version = m_server->DataVersion();
        reader(*m_server);
    } catch (...) {
        m_server.reset();
        throw;
    }
}

} // namespace reminders
