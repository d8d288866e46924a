#include "registers/ui/RecentlyDeletedWindow.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "engagements/ClashRule.h"
#include "platform/jet/Database.h"
#include "platform/varnel/KannadaDigits.h"
#include "platform/varnel/VarnelCodec.h"
#include "registers/RecordEditor.h"
#include "registers/RegisterTexts.h"
#include "registers/UndoTexts.h"
#include "registers/ui/DeletedTexts.h"
#include "shell/ActivationRefresh.h"
#include "shell/DialogButton.h"
#include "shell/FailureReport.h"
#include "shell/ShellColours.h"
#include "shell/WindowGround.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMenu.h"
#include "shell/frmmsg.h"
#include "shell/frmquestion.h"
#include "widgets/VarnelFonts.h"

namespace registers {

namespace {

using varnel::VarnelFont;

const RegisterMapping& mappingAt(int index)
{
    switch (index) {
    case 1: return RegisterMapping::outstation();
    case 2: return RegisterMapping::tour();
    default: return RegisterMapping::local();
    }
}

QString digits(const QString& text)
{
    return varnel::kannadaDigits(text);
}

QPushButton* button(const QString& caption, const QString& name, QWidget* parent)
{
    QPushButton* b = shell::dialogButton(caption, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

RecentlyDeletedWindow::RecentlyDeletedWindow(QWidget* parent)
    : QWidget(parent), GridDeleted(new QTableWidget(this)),
      LabelNone(new QLabel(texts::noneDeleted, this)),
      CmdRestore(button(texts::bringBack, QStringLiteral("CmdRestore"), this)),
      CmdClose(button(texts::closeWindow, QStringLiteral("CmdClose"), this))
{
    setObjectName(QStringLiteral("RecentlyDeletedWindow"));
    setWindowTitle(texts::deletedTitle);
    shell::paintGround(this);

    auto* title = new QLabel(texts::deletedTitle, this);
    title->setFont(varnel::varnelFont(VarnelFont::Akshara08, 18, true));
    auto* explanation = new QLabel(texts::deletedExplanation, this);
    explanation->setWordWrap(true);
    explanation->setFont(varnel::varnelFont(VarnelFont::Akshara, 12));

    // The registers by the names the menus give them; the arrow keys move between them.
    auto* registers = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(varnel::decode(frmMenu::entryCaption(1, i)), this);
        option->setObjectName(QStringLiteral("OptRegister(%1)").arg(i));
        option->setFont(varnel::varnelFont(VarnelFont::Akshara, 12));
        group->addButton(option, i);
        registers->addWidget(option);
        OptRegister << option;
    }
    registers->addStretch();
    OptRegister.first()->setChecked(true);

    GridDeleted->setObjectName(QStringLiteral("GridDeleted"));
    GridDeleted->setFont(varnel::varnelFont(VarnelFont::Akshara, 12));
    GridDeleted->setColumnCount(5);
    GridDeleted->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridDeleted->setSelectionMode(QAbstractItemView::SingleSelection);
    GridDeleted->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridDeleted->setTabKeyNavigation(false);
    GridDeleted->verticalHeader()->hide();
    GridDeleted->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    GridDeleted->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    LabelNone->setObjectName(QStringLiteral("LabelNone"));
    LabelNone->setFont(varnel::varnelFont(VarnelFont::Akshara, 12));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(LabelNone);
    buttons->addStretch();
    buttons->addWidget(CmdRestore);
    buttons->addWidget(CmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(explanation);
    layout->addLayout(registers);
    layout->addWidget(GridDeleted, 1);
    layout->addLayout(buttons);
    resize(820, 520);

    connect(group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            runReported(this, [this] { ListDeletions(); });
    });
    connect(CmdRestore, &QPushButton::clicked, this, &RecentlyDeletedWindow::CmdRestore_Click);
    connect(CmdClose, &QPushButton::clicked, this, &RecentlyDeletedWindow::CmdClose_Click);
    connect(GridDeleted, &QTableWidget::itemSelectionChanged, this,
            [this] { CmdRestore->setEnabled(GridDeleted->currentRow() >= 0); });

    m_database = data::OpenDiaryDatabase(data::diaryPath());
    ListDeletions();
    GridDeleted->setFocus();
    // A deletion in a register window meanwhile shows when this window comes to the front.
    shell::refreshOnActivation(this, [this] {
        runReported(this, [this] {
            if (m_database->DataVersion() != m_seenVersion)
                ListDeletions();
        });
    });
}

RecentlyDeletedWindow::~RecentlyDeletedWindow() = default;

const RegisterMapping& RecentlyDeletedWindow::mapping() const
{
    for (int i = 0; i < OptRegister.size(); ++i) {
        if (OptRegister[i]->isChecked())
            return mappingAt(i);
    }
    return mappingAt(0);
}

void RecentlyDeletedWindow::ListDeletions()
{
    const RegisterMapping& m = mapping();
    const bool tour = m.keepsDatesInOrder();
    m_seenVersion = m_database->DataVersion();
    GridDeleted->setHorizontalHeaderLabels(
        {varnel::decode(texts::date), varnel::decode(texts::time),
         tour ? varnel::decode(texts::travelFrom) + QStringLiteral(" – ") +
                    varnel::decode(texts::travelTo)
              : varnel::decode(texts::topic),
         texts::deletedAt, texts::numberThen});
    m_kept = KeptDeletions(*m_database, m.table).list();
    GridDeleted->clearContents();
    GridDeleted->setRowCount(int(m_kept.size()));
    for (int row = 0; row < m_kept.size(); ++row) {
        const KeptDeletion& deletion = m_kept[row];
        const QDateTime when =
            QDateTime::fromString(deletion.deletedAt, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QStringList cells = {
            digits(m.dateOf(deletion.record.values).toString(QStringLiteral("dd/MM/yyyy"))),
            digits(m.timeOf(deletion.record.values).toString(QStringLiteral("HH:mm"))),
            m.about(deletion.record.values),
            digits(when.toString(QStringLiteral("dd/MM/yyyy HH:mm"))),
            digits(QString::number(deletion.record.value(0).toInt()))};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column == 2)
                item->setToolTip(cells[column]);
            if (column == 4)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            GridDeleted->setItem(row, column, item);
        }
    }
    if (!m_kept.isEmpty())
        GridDeleted->selectRow(0);
    CmdRestore->setEnabled(!m_kept.isEmpty());
    LabelNone->setVisible(m_kept.isEmpty());
}

void RecentlyDeletedWindow::CmdRestore_Click()
{
    runReported(this, [this] {
        const int row = GridDeleted->currentRow();
        if (row < 0 || row >= m_kept.size())
            return;
        const KeptDeletion deletion = m_kept[row];
        const RegisterMapping& m = mapping();
        KeptDeletions kept(*m_database, m.table);
        const int serial =
            KeptDeletions::numberOnReturn(deletion.record.value(0).toInt(), kept.registerCount());
        if (!frmquestion::askText(
                texts::undoDeletionQuestion().arg(digits(QString::number(serial)),
                                                  m.named(deletion.record.values)),
                this))
            return;
        const KeptDeletions::Restored restored = kept.restoreAsking(
            deletion.id, engagements::clashMinutes(),
            [this](const QString& question) { return frmquestion::askText(question, this); });
        switch (restored.outcome) {
        case KeptDeletions::Outcome::Clashes: return;
        case KeptDeletions::Outcome::Restored:
            frmmsg::showNotice(texts::broughtBack.arg(digits(QString::number(restored.serial))),
                               this);
            break;
        case KeptDeletions::Outcome::NotKept:
            frmmsg::showText(texts::undoAlreadyRestoredNotice(), this);
            break;
        case KeptDeletions::Outcome::RegisterFull:
            frmmsg::showText(texts::registerFullNotice(RecordEditor::kMaximumRecords), this);
            break;
        }
        ListDeletions();
    });
}

void RecentlyDeletedWindow::CmdClose_Click()
{
    unloadChildWindow(this);
}

} // namespace registers
