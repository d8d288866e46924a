#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include <QThread>
#include <QTimer>
#include <QWidget>

#include "find/FindHit.h"
#include "find/FindQuery.h"

class QLabel;
class QLineEdit;
class QTableView;
class QToolButton;

namespace varnel {
class KannadaTypingBox;
}

namespace find {
class HitsModel;
}

// The find window: one box, and every record of the three registers whose text fields hold
// what is typed, as find::search orders them (as typed first, then loosely, each newest first),
// listed while the user types (after a pause of kPause). The search runs on a thread of its own
// with the window's own reading connection to the diary file, so
// typing never waits for it; a search the user typed past is abandoned. Enter or a double
// click opens the record in its register window. Coming to the front, and every few seconds
// while open, the window searches again when another window or program changed the diary.
class FindWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPause = 250;       // ms after the last key
    static constexpr int kCheckEvery = 2000; // ms between looks for changes by others

    explicit FindWindow(QWidget* parent = nullptr);
    ~FindWindow() override;

    // The hits listed, in the list's order.
    const std::vector<find::FindHit>& hits() const;
    // How long the last search took on its thread, in milliseconds.
    qint64 lastSearchTime() const { return m_lastSearchTime; }

    QLineEdit* TxtFind;
    QToolButton* CmdTyping; // Kannada typing off and on, as Scroll Lock does
    QTableView* GridHits;
    QLabel* LabelCount;

public slots:
    // Opens the record of row `row` (the selected row, or the first) in its register window.
    void OpenHit(int row = -1);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Shared;

    void TxtFind_Change();
    void startSearch(bool onlyIfChanged);
    void lookForChanges() { startSearch(true); }
    // Runs `job` where the diary connection lives: the search thread for a file, here for a
    // server (whose one connection the program's windows share).
    void dispatch(std::function<void()> job);
    void showHits(quint64 generation, std::vector<find::FindHit> hits, qint64 took);
    void showFailure(quint64 generation, std::exception_ptr failure);
    void openRegister(data::Register which, int serial);
    void showTypingState();

    std::shared_ptr<Shared> m_shared;
    QThread m_thread;
    QObject* m_worker = nullptr;
    bool m_onServer = false;
    find::HitsModel* m_model;
    varnel::KannadaTypingBox* m_typing;
    QTimer m_pause;
    QTimer m_check;
    std::optional<find::FindQuery> m_query;
    qint64 m_lastSearchTime = 0;
};
