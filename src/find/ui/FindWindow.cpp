#include "find/ui/FindWindow.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "find/DiaryFind.h"
#include "find/ui/FindTexts.h"
#include "find/ui/HitsModel.h"
#include "platform/jet/Database.h"
#include "platform/jet/Field.h"
#include "platform/jet/Recordset.h"
#include "platform/varnel/KannadaDigits.h"
#include "registers/ui/OpenRecord.h"
#include "shell/ActivationRefresh.h"
#include "shell/FailureReport.h"
#include "shell/KeyboardIndicator.h"
#include "shell/Pictures.h"
#include "shell/WindowGround.h"
#include "shell/WindowRegistry.h"
#include "shell/frmmsg.h"
#include "typing/KannadaTyping.h"
#include "widgets/KannadaTypingBox.h"
#include "widgets/VarnelFonts.h"

using data::Register;
using find::FindHit;
using varnel::VarnelFont;

// What the window and its search thread share. The connection is used by one thread only:
// the search thread for a file, the window's for a server.
struct FindWindow::Shared {
    std::shared_ptr<jet::Database> db;
    std::int64_t seenVersion = 0;       // DataVersion when the last search read the diary
    std::atomic<quint64> generation{0}; // the latest search asked for; older ones stop
};

FindWindow::FindWindow(QWidget* parent)
    : QWidget(parent), TxtFind(new QLineEdit(this)), CmdTyping(new QToolButton(this)),
      GridHits(new QTableView(this)), LabelCount(new QLabel(this)),
      m_model(new find::HitsModel(this)), m_typing(new varnel::KannadaTypingBox(TxtFind, TxtFind))
{
    setObjectName(QStringLiteral("FindWindow"));
    shell::refreshOnActivation(this, [this] { lookForChanges(); });
    setWindowTitle(find::texts::title);
    setWindowIcon(Pictures::programIcon());
    shell::paintGround(this);

    // The diary through its readers' door: this window never writes it (the find index is a
    // cache in the user's folder). A failure ends the load here.
    m_shared = std::make_shared<Shared>();
    m_shared->db = data::OpenDiaryForReading(data::diaryPath());
    m_onServer = m_shared->db->isServer();

    auto* title = new QLabel(find::texts::title, this);
    title->setFont(varnel::varnelFont(VarnelFont::Akshara08, 18, true));
    title->setStyleSheet(QStringLiteral("color: rgb(128, 0, 0)"));
    auto* prompt = new QLabel(find::texts::prompt, this);
    prompt->setFont(varnel::varnelFont(VarnelFont::Akshara, 14.25, true));
    TxtFind->setObjectName(QStringLiteral("TxtFind"));
    TxtFind->setFont(varnel::varnelFont(VarnelFont::Akshara, 14.25));
    TxtFind->setClearButtonEnabled(true);
    prompt->setBuddy(TxtFind);
    CmdTyping->setObjectName(QStringLiteral("CmdTyping"));
    CmdTyping->setFont(varnel::varnelFont(VarnelFont::Akshara, 11));
    CmdTyping->setFocusPolicy(Qt::NoFocus);
    auto* hint = new QLabel(find::texts::hint, this);
    hint->setWordWrap(true);
    hint->setFont(varnel::varnelFont(VarnelFont::Akshara, 11));

    GridHits->setObjectName(QStringLiteral("GridHits"));
    GridHits->setFont(varnel::varnelFont(VarnelFont::Akshara, 14.25));
    GridHits->setModel(m_model);
    GridHits->setItemDelegateForColumn(find::HitsModel::TextColumn,
                                       new find::MatchDelegate(GridHits));
    GridHits->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridHits->setSelectionMode(QAbstractItemView::SingleSelection);
    GridHits->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridHits->setWordWrap(false);
    GridHits->verticalHeader()->hide();
    GridHits->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    GridHits->verticalHeader()->setDefaultSectionSize(GridHits->fontMetrics().height() + 10);
    GridHits->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {170, 70, 120, 70, 150};
    for (int c = 0; c < find::HitsModel::TextColumn; ++c)
        GridHits->setColumnWidth(c, widths[c]);
    LabelCount->setObjectName(QStringLiteral("LabelCount"));
    LabelCount->setFont(varnel::varnelFont(VarnelFont::Akshara, 12));

    auto* box = new QHBoxLayout;
    box->addWidget(prompt);
    box->addWidget(TxtFind, 1);
    box->addWidget(CmdTyping);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(box);
    layout->addWidget(hint);
    layout->addWidget(GridHits, 1);
    layout->addWidget(LabelCount);
    resize(960, 600);

    m_pause.setSingleShot(true);
    m_pause.setInterval(kPause);
    m_check.setInterval(kCheckEvery);
    connect(&m_pause, &QTimer::timeout, this, [this] { startSearch(false); });
    connect(&m_check, &QTimer::timeout, this, &FindWindow::lookForChanges);
    connect(TxtFind, &QLineEdit::textChanged, this, &FindWindow::TxtFind_Change);
    connect(TxtFind, &QLineEdit::returnPressed, this, [this] { OpenHit(); });
    connect(GridHits, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { OpenHit(index.row()); });
    connect(CmdTyping, &QToolButton::clicked, this, [this] {
        m_typing->finish();
        varnel::KannadaTyping::instance().toggle();
    });
    connect(&varnel::KannadaTyping::instance(), &varnel::KannadaTyping::changed, this,
            &FindWindow::showTypingState);
    TxtFind->installEventFilter(this);
    showTypingState();

    if (!m_onServer) {
        m_worker = new QObject;
        m_worker->moveToThread(&m_thread);
        connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
        m_thread.start();
    }
    // The index is made or brought up to date now, so the first search is as quick as the rest.
    dispatch([shared = m_shared] {
        try {
            find::updateIndex(*shared->db);
        } catch (const std::exception&) {
            // The searches match row by row meanwhile and report what fails.
        }
    });
    m_check.start();
    TxtFind->setFocus();
}

FindWindow::~FindWindow()
{
    ++m_shared->generation; // a search under way stops at its next row
    m_thread.quit();
    m_thread.wait();
}

const std::vector<FindHit>& FindWindow::hits() const
{
    return m_model->hits();
}

void FindWindow::showTypingState()
{
    CmdTyping->setText(
        KeyboardIndicator::textFor(varnel::KannadaTyping::instance().activeLayout()));
}

void FindWindow::TxtFind_Change()
{
    m_pause.start();
}

void FindWindow::dispatch(std::function<void()> job)
{
    if (m_worker)
        QMetaObject::invokeMethod(m_worker, std::move(job), Qt::QueuedConnection);
    else
        job();
}

// The text typed, with a word still being composed, is prepared here (the typing's m17n runs
// on this thread) and searched where the connection lives. A look for changes (onlyIfChanged)
// searches the last text again only when the diary changed since it was read.
void FindWindow::startSearch(bool onlyIfChanged)
{
    if (onlyIfChanged) {
        if (!m_query || !isVisible())
            return;
    } else {
        QString typed = TxtFind->text();
        if (m_typing->isComposing())
            typed.insert(TxtFind->cursorPosition(), m_typing->composition());
        m_query.emplace(typed);
        LabelCount->setText(m_query->isEmpty() ? QString() : find::texts::searching);
    }
    const quint64 generation = onlyIfChanged ? m_shared->generation.load() : ++m_shared->generation;
    dispatch([this, shared = m_shared, query = *m_query, generation, onlyIfChanged] {
        const auto stopped = [shared, generation] { return shared->generation != generation; };
        if (stopped())
            return;
        try {
            const std::int64_t version = shared->db->DataVersion();
            if (onlyIfChanged && version == shared->seenVersion)
                return;
            QElapsedTimer took;
            took.start();
            std::vector<FindHit> hits;
            if (!query.isEmpty())
                hits = find::search(*shared->db, query, {data::everyRegister(), true, stopped});
            shared->seenVersion = version;
            if (stopped())
                return;
            QMetaObject::invokeMethod(
                this,
                [this, generation, hits = std::move(hits), ms = took.elapsed()]() mutable {
                    showHits(generation, std::move(hits), ms);
                },
                Qt::QueuedConnection);
        } catch (...) {
            QMetaObject::invokeMethod(
                this,
                [this, generation, failure = std::current_exception()] {
                    showFailure(generation, failure);
                },
                Qt::QueuedConnection);
        }
    });
}

void FindWindow::showHits(quint64 generation, std::vector<FindHit> hits, qint64 took)
{
    if (generation != m_shared->generation)
        return;
    m_lastSearchTime = took;
    const size_t count = hits.size();
    m_model->setHits(std::move(hits));
    GridHits->scrollToTop();
    if (count > 0)
        GridHits->selectRow(0);
    if (!m_query || m_query->isEmpty())
        LabelCount->clear();
    else if (count == 0)
        LabelCount->setText(find::texts::foundNone);
    else if (count == 1)
        LabelCount->setText(find::texts::foundOne);
    else
        LabelCount->setText(find::texts::found.arg(varnel::kannadaDigits(QString::number(count))));
}

void FindWindow::showFailure(quint64 generation, std::exception_ptr failure)
{
    if (generation != m_shared->generation)
        return;
    LabelCount->clear();
    // One report per text typed: the looks for changes stay quiet until the next search.
    m_query.reset();
    runReported(this, [failure] { std::rethrow_exception(failure); });
}

// The row is looked up again by its identity, since another window may have renumbered or
// deleted it since it was found; its register window then moves its navigator to it.
void FindWindow::OpenHit(int row)
{
    if (row < 0)
        row = GridHits->currentIndex().isValid() ? GridHits->currentIndex().row() : 0;
    if (row >= int(hits().size()))
        return;
    const FindHit& hit = hits()[size_t(row)];
    dispatch([this, shared = m_shared, which = hit.record.which, key = hit.record.key] {
        int serial = 0;
        std::exception_ptr failure;
        try {
            serial = registers::serialOfRow(*shared->db, which, key);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this,
            [this, which, serial, failure] {
                if (failure)
                    runReported(this, [failure] { std::rethrow_exception(failure); });
                else
                    openRegister(which, serial);
            },
            Qt::QueuedConnection);
    });
}

void FindWindow::openRegister(Register which, int serial)
{
    if (serial < 1) {
        frmmsg::showText(find::texts::vanished, this);
        startSearch(false);
        return;
    }
    runReported(this, [which, serial] { registers::showRecordInItsWindow(which, serial); });
}

bool FindWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TxtFind) {
        // A word still being composed is searched as it stands.
        if (event->type() == QEvent::InputMethod)
            m_pause.start();
        // Down goes from the box into the list.
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && m_model->rowCount() > 0) {
            m_typing->finish();
            GridHits->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
