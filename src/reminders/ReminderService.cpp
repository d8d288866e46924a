#include "reminders/ReminderService.h"

#include <algorithm>
#include <cstdio>

#include "platform/jet/JetError.h"
#include "platform/paths/NativePath.h"
#include "reminders/ReminderSettings.h"
#include "reminders/ReminderTexts.h"

namespace reminders {

namespace {

// A writer's commit touches the journal and then the file: the look waits for both.
constexpr int kSettleMs = 500;
// The summary of engagements begun while the computer was off looks back at most this far.
constexpr std::int64_t kLookBack = 7 * 24 * 60 * 60;

template <typename Work> void guarded(Work work)
{
    try {
        work();
    } catch (const jet::JetError& error) {
        sayOnce(error.text());
    } catch (const std::exception& error) {
        sayOnce(QString::fromLocal8Bit(error.what()));
    }
}

} // namespace

void sayOnce(const QString& text)
{
    static QSet<QString> said;
    if (said.contains(text))
        return;
    said.insert(text);
    std::fprintf(stderr, "velmora-reminders: %s\n", files::shownPath(text).toUtf8().constData());
    std::fflush(stderr);
}

ReminderService::ReminderService(const QString& diaryPath, Notifier& notifier, int checkSeconds,
                                 QObject* parent)
    : QObject(parent), m_notifier(notifier), m_diary(diaryPath), m_checkSeconds(checkSeconds)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ReminderService::check);
    connect(&m_diary, &DiaryFollower::touched, this, [this] {
        if (m_timer.remainingTime() > kSettleMs)
            m_timer.start(kSettleMs);
    });
    connect(&m_notifier, &Notifier::actionChosen, this, &ReminderService::remindAgain);
}

ReminderService::~ReminderService()
{
    if (m_shown)
        guarded([this] { m_shown->markAlive(momentOf(QDateTime::currentDateTime())); });
}

void ReminderService::check()
{
    const QDateTime now = QDateTime::currentDateTime();
    const Settings settings = readSettings();
    if (!settings.enabled) {
        emit switchedOff();
        return;
    }
    guarded([&] { readDiary(settings, now); });
    if (m_shown) {
        guarded([&] {
            if (!m_summaryAsked)
                summariseBegun(momentOf(now), now.date());
            showDue(momentOf(now), now.date());
        });
    }
    schedule(now);
}

void ReminderService::readDiary(const Settings& settings, const QDateTime& now)
{
    // The range read moves with the day; the settings choose what is due.
    if (settings == m_settings && now.date() == m_readDay && !m_diary.changed())
        return;
    m_diary.read([&](jet::Database& database) {
        if (!m_shown)
            m_shown.emplace(diaryIdentity(database));
        m_reminders = readReminders(database, settings, now);
    });
    m_settings = settings;
    m_readDay = now.date();
}

void ReminderService::summariseBegun(std::int64_t now, const QDate& today)
{
    m_summaryAsked = true;
    std::optional<std::int64_t> since;
    if (!m_shown->firstStartOfDay(now, since) || !since)
        return;
    const QList<engagements::Entry> begun =
        begunUnreminded(m_reminders, std::max(*since, now - kLookBack), now, m_shown->memory());
    if (!begun.isEmpty() && m_notifier.ready())
        m_notifier.show(texts::begunSummary(begun.size()), texts::begunBody(begun, today), false);
}

void ReminderService::showDue(std::int64_t now, const QDate& today)
{
    Memory memory = m_shown->memory();
    memory.shown.unite(m_shownHere);
    const QList<Reminder> due = toShow(m_reminders, now, memory);
    // Claimed only when they can be shown: a missing service leaves them due, for when it comes.
    if (due.isEmpty() || !m_notifier.ready())
        return;
    QList<Reminder> mine = due;
    // Shown all the same when what was shown cannot be kept: better twice than never.
    guarded([&] { mine = m_shown->claim(due, now); });
    for (const Reminder& reminder : mine)
        m_shownHere.insert(reminder.key());
    QList<texts::Details> details(mine.size());
    guarded([&] {
        m_diary.read([&](jet::Database& database) {
            for (qsizetype i = 0; i < mine.size(); ++i)
                details[i] = readDetails(database, mine[i].entry);
        });
    });
    QList<Reminder> unshown;
    for (qsizetype i = 0; i < mine.size(); ++i) {
        const auto id =
            m_notifier.show(texts::summary(mine[i], today), texts::body(mine[i], details[i]), true);
        if (id)
            m_notified.insert(*id, mine[i]);
        else
            unshown.append(mine[i]);
    }
    if (!unshown.isEmpty())
        m_shown->release(unshown, now);
}

void ReminderService::remindAgain(uint id, const QString& action)
{
    const auto notified = m_notified.constFind(id);
    if (action != QLatin1String("again") || notified == m_notified.constEnd() || !m_shown)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    guarded(
        [&] { m_shown->askAgain(*notified, momentOf(now) + kAgainMinutes * 60, momentOf(now)); });
    schedule(now);
}

void ReminderService::schedule(const QDateTime& now)
{
    qint64 wait = qint64(m_checkSeconds) * 1000;
    if (m_shown) {
        const std::int64_t moment = momentOf(now);
        if (const auto next = nextMoment(m_reminders, moment, m_shown->memory()))
            wait = std::min<qint64>(wait, (*next - moment) * 1000 - now.time().msec());
    }
    m_timer.start(int(std::max<qint64>(wait, 0)));
}

} // namespace reminders
