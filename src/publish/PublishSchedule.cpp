#include "publish/PublishSchedule.h"

#include <algorithm>

#include <QThread>

#include "platform/files/ProgramSettings.h"
#include "platform/jet/JetError.h"
#include "publish/CalDavClient.h"
#include "publish/PublishError.h"
#include "publish/PublishRun.h"

namespace publish {

namespace {

constexpr int kCheckMs = 30 * 1000;
constexpr qint64 kRefreshSeconds = 60 * 60;
constexpr int kLongestPauseMinutes = 60;

} // namespace

PublishSchedule::PublishSchedule(const QString& diaryPath, QObject* parent)
    : QObject(parent), m_diaryPath(diaryPath)
{
    m_timer.setInterval(kCheckMs);
    connect(&m_timer, &QTimer::timeout, this, &PublishSchedule::check);
}

PublishSchedule::~PublishSchedule()
{
    if (m_round)
        m_round->wait();
}

bool PublishSchedule::start()
{
    const QString url = files::programSetting(QStringLiteral("publish/url")).toString().trimmed();
    if (url.isEmpty())
        return false;
    try {
        m_url = checkedCollectionUrl(url);
    } catch (const PublishError& error) {
        emit failed(error.text);
        return false;
    }
    m_timer.start();
    QTimer::singleShot(0, this, &PublishSchedule::check);
    return true;
}

// The diary is read here, on the program's thread (its connections are not shared across
// threads); only the requests to the server run on the round's own thread.
void PublishSchedule::check()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (m_round || (m_nextTry.isValid() && now < m_nextTry))
        return;
    const bool force =
        !m_lastFullPublish.isValid() || m_lastFullPublish.secsTo(now) >= kRefreshSeconds;
    QList<CalendarObject> objects;
    try {
        objects = diaryObjects(m_diaryPath, data::everyRegister());
    } catch (const jet::JetError& error) {
        failedAt(now, error.text());
        return;
    }
    if (!force && alreadyPublished(m_url, objects))
        return;
    m_round = QThread::create([this, objects] {
        m_failure.clear();
        try {
            publishObjects(m_url, objects);
        } catch (const PublishError& error) {
            m_failure = error.text;
        } catch (const std::exception& error) {
            m_failure = QString::fromUtf8(error.what());
        }
    });
    connect(m_round, &QThread::finished, this, &PublishSchedule::roundDone);
    m_round->start();
}

void PublishSchedule::failedAt(const QDateTime& now, const QString& text)
{
    m_nextTry = now.addSecs(60 * std::min(1 << std::min(m_failures, 6), kLongestPauseMinutes));
    ++m_failures;
    emit failed(text);
}

void PublishSchedule::roundDone()
{
    m_round->deleteLater();
    m_round = nullptr;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!m_failure.isEmpty()) {
        failedAt(now, m_failure);
        return;
    }
    m_failures = 0;
    m_nextTry = QDateTime();
    m_lastFullPublish = now;
    emit published(now);
}
} // namespace publish
