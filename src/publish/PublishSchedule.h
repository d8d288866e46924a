#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class QThread;

namespace publish {

// Publishing by itself, for a background program: with `[publish] url=...` in Velmora.ini it
// looks at the diary every half minute and publishes when its records differ from what was last
// sent (so within a minute of a change), and at least hourly, which also puts back what someone
// else changed on the server. After a failure it tries again after growing pauses (1, 2, 4 …
// minutes, at most an hour). The diary is read on the program's thread (a few milliseconds); the
// requests to the server run on a thread of their own, so the program's event loop goes on. The
// time of the last complete publish is kept in the state (see lastPublished()).
class PublishSchedule : public QObject {
    Q_OBJECT

public:
    explicit PublishSchedule(const QString& diaryPath, QObject* parent = nullptr);
    ~PublishSchedule() override; // waits for a round in progress

    // Reads the setting and starts; false (nothing runs) when no URL, or a bad one, is set.
    bool start();

signals:
    void published(const QDateTime& at);
    void failed(const QString& text); // one line, never a password

private:
    void check();
    void roundDone();
    void failedAt(const QDateTime& now, const QString& text);

    QString m_diaryPath;
    QUrl m_url;
    QTimer m_timer;
    QThread* m_round = nullptr;
    QString m_failure; // the last round's, empty when it succeeded
    int m_failures = 0;
    QDateTime m_nextTry;
    QDateTime m_lastFullPublish;
};

} // namespace publish
