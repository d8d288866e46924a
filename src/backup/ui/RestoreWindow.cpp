#include "backup/ui/RestoreWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "backup/DiaryBackup.h"
#include "backup/ui/BackupTexts.h"
#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "platform/varnel/KannadaDigits.h"
#include "platform/varnel/VarnelCodec.h"
#include "shell/BusyPointer.h"
#include "shell/DialogButton.h"
#include "shell/ShellColours.h"
#include "shell/WindowGround.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMenu.h"
#include "shell/frmmsg.h"
#include "shell/frmquestion.h"
#include "widgets/VarnelFonts.h"

namespace {

using varnel::VarnelFont;

QString diaryPath()
{
    return data::diaryPath();
}

QString count(int records)
{
    return records < 0 ? backup::texts::unreadable
                       : varnel::kannadaDigits(QString::number(records));
}

QPushButton* button(const QString& caption, const QString& name, QWidget* parent)
{
    QPushButton* b = shell::dialogButton(caption, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

RestoreWindow::RestoreWindow(QWidget* parent)
    : QWidget(parent), Label1(new QLabel(this)), GridBackups(new QTableWidget(this)),
      CmdRestore(button(backup::texts::restore, QStringLiteral("CmdRestore"), this)),
      CmdClose(button(backup::texts::close, QStringLiteral("CmdClose"), this))
{
    setObjectName(QStringLiteral("RestoreWindow"));
    setWindowTitle(backup::texts::title);
    shell::paintGround(this);

    auto* title = new QLabel(backup::texts::title, this);
    title->setFont(varnel::varnelFont(VarnelFont::Akshara08, 18, true));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(backup::texts::explanation);
    Label1->setWordWrap(true);
    Label1->setFont(varnel::varnelFont(VarnelFont::Akshara, 12));

    GridBackups->setObjectName(QStringLiteral("GridBackups"));
    GridBackups->setFont(varnel::varnelFont(VarnelFont::Akshara, 12));
    GridBackups->setColumnCount(5);
    // The registers by the names the menus give them.
    GridBackups->setHorizontalHeaderLabels(
        {backup::texts::date, backup::texts::time, varnel::decode(frmMenu::entryCaption(1, 0)),
         varnel::decode(frmMenu::entryCaption(1, 1)), varnel::decode(frmMenu::entryCaption(1, 2))});
    GridBackups->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridBackups->setSelectionMode(QAbstractItemView::SingleSelection);
    GridBackups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridBackups->verticalHeader()->hide();
    GridBackups->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    GridBackups->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdRestore);
    buttons->addWidget(CmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(Label1);
    layout->addWidget(GridBackups, 1);
    layout->addLayout(buttons);
    resize(760, 520);

    connect(CmdRestore, &QPushButton::clicked, this, &RestoreWindow::CmdRestore_Click);
    connect(CmdClose, &QPushButton::clicked, this, &RestoreWindow::CmdClose_Click);
    connect(GridBackups, &QTableWidget::itemSelectionChanged, this,
            [this] { CmdRestore->setEnabled(GridBackups->currentRow() >= 0); });
    ListBackups();
}

void RestoreWindow::ListBackups()
{
    m_entries = backup::listBackups(diaryPath());
    GridBackups->clearContents();
    GridBackups->setRowCount(int(m_entries.size()));
    for (int row = 0; row < m_entries.size(); ++row) {
        const backup::BackupEntry& entry = m_entries[row];
        const QStringList cells = {
            varnel::kannadaDigits(entry.taken.toString(QStringLiteral("dd/MM/yyyy"))),
            varnel::kannadaDigits(entry.taken.toString(QStringLiteral("HH:mm:ss"))),
            count(entry.local), count(entry.outstation), count(entry.tour)};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (!entry.readable())
                item->setToolTip(entry.problem);
            GridBackups->setItem(row, column, item);
        }
    }
    if (!m_entries.isEmpty())
        GridBackups->selectRow(0);
    CmdRestore->setEnabled(!m_entries.isEmpty());
}

void RestoreWindow::CmdRestore_Click()
{
    const int row = GridBackups->currentRow();
    if (row < 0 || row >= m_entries.size())
        return;
    const backup::BackupEntry entry = m_entries[row];
    const QString when =
        varnel::kannadaDigits(entry.taken.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")));
    if (!frmquestion::ask(varnel::encode(backup::texts::restoreQuestion.arg(when)).bytes, this))
        return;
    try {
        {
            BusyPointer busy;
            backup::restoreBackup(entry.path, diaryPath());
        }
        frmmsg::showNotice(backup::texts::restored, this);
    } catch (const std::exception& error) {
        qWarning("Velmora: %s", error.what());
        frmmsg::showText(backup::texts::restoreFailed + QStringLiteral("\n\n") +
                             QString::fromUtf8(error.what()),
                         this);
    }
    ListBackups();
}

void RestoreWindow::CmdClose_Click()
{
    unloadChildWindow(this);
}
