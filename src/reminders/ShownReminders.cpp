#include "reminders/ShownReminders.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include "platform/files/SafeOutput.h"
#include "platform/jet/JetError.h"
#include "platform/paths/NativePath.h"

namespace reminders {

namespace {

// What is kept: shown reminders until a week after their engagement began (the summary after a
// computer was off looks back that far), reminders asked again for a day.
constexpr std::int64_t kKeptShown = 8 * 24 * 60 * 60;
constexpr std::int64_t kKeptAgain = 24 * 60 * 60;

[[noreturn]] void failOn(const QString& path, int error)
{
    throw jet::JetError(jet::errors::kDiskIo,
                        QStringLiteral(u"ನೆನಪುಗಳ ದಾಖಲೆ '%1' ಬಳಸಲಾಗಲಿಲ್ಲ: %2")
                            .arg(files::shownPath(path), QString::fromLocal8Bit(strerror(error))));
}

// Held while one copy reads and writes the file; the file itself is replaced by a rename, so
// the lock lives in a file of its own.
class FileLock {
public:
    explicit FileLock(const QString& path)
        : m_fd(::open(files::nativePath(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
        if (m_fd < 0)
            failOn(path, errno);
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR)
                failOn(path, errno);
        }
    }
    ~FileLock() { ::close(m_fd); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int m_fd;
};

QString momentText(std::int64_t moment)
{
    return dateTimeOf(moment).toString(Qt::ISODate);
}

std::optional<std::int64_t> momentFrom(const QJsonValue& value)
{
    const QDateTime at = QDateTime::fromString(value.toString(), Qt::ISODate);
    return at.isValid() ? std::optional(momentOf(at)) : std::nullopt;
}

QHash<QString, std::int64_t> momentsFrom(const QJsonValue& value)
{
    QHash<QString, std::int64_t> moments;
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (const auto moment = momentFrom(it.value()))
            moments.insert(it.key(), *moment);
    }
    return moments;
}

QJsonObject momentsObject(const QHash<QString, std::int64_t>& moments)
{
    QJsonObject object;
    for (auto it = moments.begin(); it != moments.end(); ++it)
        object.insert(it.key(), momentText(it.value()));
    return object;
}

} // namespace

QString stateFolder()
{
    QString base = files::fromNativePath(qgetenv("XDG_STATE_HOME"));
    // A relative value is to be ignored, as the XDG rules say.
    if (!base.startsWith(u'/'))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    const QString folder = QDir::cleanPath(base + QStringLiteral("/Velmora"));
    QString made;
    for (const QString& part : folder.split(u'/', Qt::SkipEmptyParts)) {
        made += u'/' + part;
        if (!QFileInfo(made).isDir())
            QDir().mkdir(made, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return folder;
}

struct ShownReminders::Contents {
    QHash<QString, std::int64_t> shown; // key -> the engagement's start
    QHash<QString, std::int64_t> again;
    std::optional<std::int64_t> alive;
    QDate firstStart;

    static Contents read(const QString& path)
    {
        QFile file(path);
        // A file that is missing or cannot be read counts as empty: nothing shown yet.
        const QJsonObject object = file.open(QIODevice::ReadOnly)
                                       ? QJsonDocument::fromJson(file.readAll()).object()
                                       : QJsonObject();
        return {momentsFrom(object[QLatin1String("shown")]),
                momentsFrom(object[QLatin1String("again")]),
                momentFrom(object[QLatin1String("alive")]),
                QDate::fromString(object[QLatin1String("first-start")].toString(), Qt::ISODate)};
    }

    QByteArray json() const
    {
        QJsonObject object{{QLatin1String("shown"), momentsObject(shown)},
                           {QLatin1String("again"), momentsObject(again)},
                           {QLatin1String("first-start"), firstStart.toString(Qt::ISODate)}};
        if (alive)
            object.insert(QLatin1String("alive"), momentText(*alive));
        return QJsonDocument(object).toJson();
    }

    Memory memory() const
    {
        Memory memory;
        for (auto it = shown.begin(); it != shown.end(); ++it)
            memory.shown.insert(it.key());
        memory.again = again;
        return memory;
    }
};

ShownReminders::ShownReminders(const QString& diaryId)
{
    // The id is a UUID or a hash in hex; anything else is hashed by the file name's rules.
    QString name = diaryId;
    name.removeIf([](QChar c) { return !c.isLetterOrNumber() && c != u'-'; });
    m_path = stateFolder() + QStringLiteral("/reminders-%1.json").arg(name.left(64));
}

template <typename Change> auto ShownReminders::update(std::int64_t now, Change change)
{
    const FileLock lock(m_path + QStringLiteral(".lock"));
    Contents contents = Contents::read(m_path);
    auto result = change(contents);
    using Moments = QHash<QString, std::int64_t>;
    contents.shown.removeIf([&](Moments::iterator it) { return *it < now - kKeptShown; });
    contents.again.removeIf([&](Moments::iterator it) { return *it < now - kKeptAgain; });
    contents.alive = now;
    files::writeFile(m_path, contents.json());
    return result;
}

Memory ShownReminders::memory() const
{
    return Contents::read(m_path).memory();
}

QList<Reminder> ShownReminders::claim(const QList<Reminder>& due, std::int64_t now)
{
    return update(now, [&](Contents& contents) {
        const QList<Reminder> mine = toShow(due, now, contents.memory());
        for (const Reminder& reminder : mine) {
            contents.shown.insert(reminder.key(), reminder.entry.start());
            contents.again.remove(reminder.key());
        }
        return mine;
    });
}

void ShownReminders::release(const QList<Reminder>& reminders, std::int64_t now)
{
    update(now, [&](Contents& contents) {
        for (const Reminder& reminder : reminders)
            contents.shown.remove(reminder.key());
        return 0;
    });
}

void ShownReminders::askAgain(const Reminder& reminder, std::int64_t at, std::int64_t now)
{
    update(now, [&](Contents& contents) {
        contents.again.insert(reminder.key(), at);
        return 0;
    });
}

bool ShownReminders::firstStartOfDay(std::int64_t now, std::optional<std::int64_t>& since)
{
    return update(now, [&](Contents& contents) {
        const QDate today = dateTimeOf(now).date();
        if (contents.firstStart == today)
            return false;
        since = contents.alive;
        contents.firstStart = today;
        return true;
    });
}

void ShownReminders::markAlive(std::int64_t now)
{
    update(now, [](Contents&) { return 0; });
}

} // namespace reminders
