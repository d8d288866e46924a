// Two programs on one diary, checked against a model after every step.
//
//   trial_shared_diary [STEPS] [SEED]      the trial (ctest runs a short one; see the README)
//   trial_shared_diary worker DIARY        a copy of the program: windows driven from stdin
//   trial_shared_diary churn DIARY         a program that opens and closes the diary, forever
//
// Two worker processes hold two register windows each; a third process keeps opening and
// closing the diary; now and then a worker is killed (SIGKILL) in the middle of a step. Windows
// also take back their own deletions and saves (undo). After every step the register must be
// what the model says: no record lost, doubled or overwritten, serial numbers 1..N, and the
// file sound.

#include <csignal>
#include <map>
#include <memory>
#include <optional>

#include <sqlite3.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTextStream>
#include <QThread>

#include "FakeRegisterView.h"
#include "RegisterFixture.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "registers/RecordEditor.h"
#include "registers/RegisterMapping.h"

using registers::RecordEditor;
using registers::RegisterMapping;

namespace {

int topicId(const QByteArray& topic)
{
    return topic.mid(topic.lastIndexOf(' ') + 1).toInt();
}

struct Window {
    FakeRegisterView view;
    RecordEditor editor{RegisterMapping::local(), view};
    Window() { view.editor = &editor; }
};

// One copy of the program: "open W", "close W", "add W ID", "change W ID", "delete W",
// "scroll W N", "undo W"; answers "ok SHOWN STATE KEY" (SHOWN is the topic on screen, KEY its
// row as the window knows it, both 0 while adding).
int runWorker(const QString& diary)
{
    std::map<int, std::unique_ptr<Window>> windows;
    QTextStream in(stdin);
    QTextStream out(stdout);
    QString line;
    while (in.readLineInto(&line)) {
        const QStringList words = line.split(QLatin1Char(' '));
        const QString verb = words.value(0);
        const int w = words.value(1).toInt();
        const int arg = words.value(2).toInt();
        try {
            if (verb == QLatin1String("open")) {
                windows[w] = std::make_unique<Window>();
                windows[w]->editor.OpenRegister(diary);
            } else if (verb == QLatin1String("close")) {
                windows.erase(w);
                out << "ok 0 0\n" << Qt::flush;
                continue;
            }
            Window& window = *windows.at(w);
            FakeRegisterView& view = window.view;
            // A new record stands on a day of its own, so no two records clash.
            const QDate ownDay = QDate(2030, 1, 1).addDays(arg);
            if (verb == QLatin1String("add")) {
                window.editor.ImageNew_Click();
                view.dates[1] = ownDay;
                view.typeVarnel(4, RegisterFixture::topicOf(arg));
                view.type(5, QStringLiteral("ಸ್ಥಳ"));
                view.answers = {true};
                window.editor.ImageSave_Click();
            } else if (verb == QLatin1String("change")) {
                if (window.editor.state() != RecordEditor::State::Browsing)
                    view.dates[1] = ownDay;
                view.typeVarnel(4, RegisterFixture::topicOf(arg));
                view.type(5, QStringLiteral("ಸ್ಥಳ"));
                view.answers = {true, false}; // save; then No to any question about others
                window.editor.ImageSave_Click();
            } else if (verb == QLatin1String("delete")) {
                view.answers = {true};
                window.editor.ImageDelete_Click();
            } else if (verb == QLatin1String("undo")) {
                // Yes, and Yes to the clash question: the fixture's first records share a minute.
                view.answers = {true, true};
                window.editor.Undo_Click();
            } else if (verb == QLatin1String("scroll")) {
                if (window.editor.state() == RecordEditor::State::Browsing)
                    view.scrollTo(qBound(1, arg, view.navMax));
            }
            view.answers.clear();
            const bool browsing = window.editor.state() == RecordEditor::State::Browsing;
            out << "ok " << (browsing ? topicId(view.shownText(4)) : 0) << ' '
                << int(window.editor.state()) << ' ' << window.editor.shownKey().value_or(0) << '\n'
                << Qt::flush;
        } catch (const std::exception& e) {
            out << "err " << QString::fromUtf8(e.what()).simplified() << '\n' << Qt::flush;
        }
    }
    return 0;
}

int runChurn(const QString& diary)
{
    for (;;) {
        auto db = data::OpenDiaryDatabase(diary);
        auto rs = db->OpenRecordset(QStringLiteral("Select * from local order by sl_no"));
        rs->RecordCount();
        QThread::msleep(3);
    }
}

// The register as stored: topic ids in serial order and their rows in `keys`, or an empty list
// with `problem` set.
QList<int> storedTopics(const QString& diary, QString& problem, QList<qint64>& keys)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(diary.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_busy_timeout(db, 10000);
    QList<int> topics;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr);
    if (sqlite3_step(st) != SQLITE_ROW ||
        qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "ok") != 0)
        problem = QStringLiteral("integrity_check failed");
    sqlite3_finalize(st);
    keys.clear();
    sqlite3_prepare_v2(db, "SELECT sl_no, topic, rowid FROM local ORDER BY sl_no", -1, &st,
                       nullptr);
    int expected = 1;
    while (sqlite3_step(st) == SQLITE_ROW) {
        if (sqlite3_column_int(st, 0) != expected++)
            problem = QStringLiteral("serial numbers are not 1..N");
        const QString stored =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        topics << topicId(stored.toLatin1());
        keys << sqlite3_column_int64(st, 2);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return topics;
}

class Worker {
public:
    explicit Worker(const QString& diary) : m_diary(diary) { start(); }
    ~Worker() { kill(); }

    void start()
    {
        m_process = std::make_unique<QProcess>();
        m_process->start(QCoreApplication::applicationFilePath(),
                         {QStringLiteral("worker"), m_diary});
        m_process->waitForStarted();
    }
    void send(const QString& command) { m_process->write((command + QLatin1Char('\n')).toUtf8()); }
    QString reply()
    {
        while (!m_process->canReadLine()) {
            if (!m_process->waitForReadyRead(60000))
                return QStringLiteral("err no answer");
        }
        return QString::fromUtf8(m_process->readLine()).trimmed();
    }
    void kill()
    {
        if (m_process) {
            m_process->kill();
            m_process->waitForFinished();
        }
    }

private:
    QString m_diary;
    std::unique_ptr<QProcess> m_process;
};

// A step a window may take back: the topic it deleted (at `serial`), or added or changed from
// `before` to `topic` in row `key`.
struct UndoModel {
    enum { Deleted, Added, Changed } kind;
    int topic;
    int before = 0;
    int serial = 0;
    qint64 key = 0;
};

struct WindowModel {
    bool open = false;
    int shown = 0;
    bool browsing = false;
    qint64 key = 0;
    QList<UndoModel> undo;
};

// What taking back `step` does to `topics` (rows `keys`): a deletion comes back at its number
// (after the last record when there are fewer now); a save is taken back only while its row is
// stored as saved.
void predictUndo(const UndoModel& step, QList<int>& topics, const QList<qint64>& keys)
{
    const qsizetype at = keys.indexOf(step.key);
    const bool asSaved = at >= 0 && topics[at] == step.topic;
    if (step.kind == UndoModel::Deleted)
        topics.insert(qMin(step.serial, int(topics.size()) + 1) - 1, step.topic);
    else if (step.kind == UndoModel::Added && asSaved)
        topics.removeAt(at);
    else if (step.kind == UndoModel::Changed && asSaved)
        topics[at] = step.before;
}

int runTrial(int steps, quint32 seed)
{
    QTextStream out(stdout);
    RegisterFixture fixture;
    fixture.create();
    fixture.fill(QStringLiteral("local"), 5);
    const QString diary = fixture.databasePath();
    QList<int> model = {1, 2, 3, 4, 5};
    QList<qint64> keys = {1, 2, 3, 4, 5};
    int nextTopic = 1000;

    QProcess churn;
    churn.start(QCoreApplication::applicationFilePath(), {QStringLiteral("churn"), diary});
    Worker workers[2] = {Worker(diary), Worker(diary)};
    WindowModel windows[2][2];
    QRandomGenerator random(seed);
    int counts[8] = {};
    int kills = 0;

    for (int step = 0; step < steps; ++step) {
        const int p = int(random.bounded(2));
        const int w = int(random.bounded(2));
        WindowModel& window = windows[p][w];
        QString command;
        int action = 0;
        if (!window.open) {
            command = QStringLiteral("open %1").arg(w);
        } else {
            action = 1 + int(random.bounded(7));
            switch (action) {
            case 1: command = QStringLiteral("add %1 %2").arg(w).arg(nextTopic); break;
            case 2: command = QStringLiteral("change %1 %2").arg(w).arg(nextTopic); break;
            case 3: command = QStringLiteral("delete %1").arg(w); break;
            case 4: command = QStringLiteral("close %1").arg(w); break;
            case 7: command = QStringLiteral("undo %1").arg(w); break;
            default:
                command = QStringLiteral("scroll %1 %2").arg(w).arg(1 + random.bounded(12));
                break;
            }
        }
        // What the step does to the register, if it runs to the end, and what the window may
        // take back afterwards.
        // A save or deletion acts on the window's row only while it is stored as shown.
        QList<int> after = model;
        const qsizetype at = window.browsing ? keys.indexOf(window.key) : -1;
        const bool asShown = at >= 0 && model[at] == window.shown;
        std::optional<UndoModel> done;
        if (action == 1 || (action == 2 && !window.browsing)) {
            after << nextTopic;
            done = UndoModel{UndoModel::Added, nextTopic}; // its key comes with the reply
        } else if (action == 2 && asShown) {
            after[at] = nextTopic;
            done = UndoModel{UndoModel::Changed, nextTopic, window.shown, 0, window.key};
        } else if (action == 3 && asShown) {
            after.removeAt(at);
            done = UndoModel{UndoModel::Deleted, window.shown, 0, int(at) + 1};
        } else if (action == 7 && !window.undo.isEmpty()) {
            predictUndo(window.undo.last(), after, keys);
        }
        ++counts[action];
        workers[p].send(command);

        const bool killing = random.bounded(25) == 0;
        QString reply;
        if (killing) {
            QThread::usleep(random.bounded(20000));
            workers[p].kill();
            workers[p].start();
            windows[p][0] = windows[p][1] = WindowModel{};
            ++kills;
        } else {
            reply = workers[p].reply();
        }

        QString problem;
        const QList<int> stored = storedTopics(diary, problem, keys);
        if (!killing && !reply.startsWith(QLatin1String("ok")))
            problem = QStringLiteral("step failed: ") + reply;
        else if (killing ? (stored != model && stored != after) : stored != after)
            problem = QStringLiteral("the register differs from the model");
        if (!problem.isEmpty()) {
            out << "FAIL at step " << step << " (" << command << "): " << problem << "\n";
            out << "  model: ";
            for (int t : after)
                out << t << ' ';
            out << "\n  store: ";
            for (int t : stored)
                out << t << ' ';
            out << '\n';
            churn.kill();
            churn.waitForFinished();
            return 1;
        }
        model = stored;
        if (action == 1 || action == 2)
            ++nextTopic;
        if (!killing) {
            const QStringList words = reply.split(QLatin1Char(' '));
            window.open = action != 4;
            if (!window.open)
                window.undo.clear();
            else if (done && done->kind == UndoModel::Added)
                window.undo << UndoModel{UndoModel::Added, done->topic, 0, 0,
                                         words.value(3).toLongLong()};
            else if (done)
                window.undo << *done;
            else if (action == 7 && !window.undo.isEmpty())
                window.undo.removeLast();
            window.shown = words.value(1).toInt();
            window.key = words.value(3).toLongLong();
            window.browsing = words.value(2).toInt() == int(RecordEditor::State::Browsing);
        }
    }
    churn.kill();
    churn.waitForFinished();
    out << "trial passed: " << steps << " steps (opened " << counts[0] << ", added " << counts[1]
        << ", changed " << counts[2] << ", deleted " << counts[3] << ", closed " << counts[4]
        << ", browsed " << counts[5] + counts[6] << ", undone " << counts[7] << "), " << kills
        << " workers killed, " << model.size() << " records at the end\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("worker"))
        return runWorker(args.value(2));
    if (args.value(1) == QLatin1String("churn"))
        return runChurn(args.value(2));
    std::signal(SIGPIPE, SIG_IGN);
    const int steps = args.size() > 1 ? args.value(1).toInt() : 200;
    const quint32 seed = args.size() > 2 ? args.value(2).toUInt() : 20261207u;
    return runTrial(steps, seed);
}
