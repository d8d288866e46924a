#include "agenda/ui/AgendaWindow.h"

#include <optional>
#include <utility>

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "agenda/AgendaTexts.h"
#include "agenda/ui/AgendaWindowTexts.h"
#include "data/DayName.h"
#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "platform/jet/Database.h"
#include "platform/jet/Field.h"
#include "platform/jet/Recordset.h"
#include "platform/report/ReportTemplate.h"
#include "platform/varnel/KannadaDigits.h"
#include "platform/varnel/VarnelCodec.h"
#include "preview/ReportPreview.h"
#include "registers/ui/OpenRecord.h"
#include "shell/ActivationRefresh.h"
#include "shell/FailureReport.h"
#include "shell/Pictures.h"
#include "shell/SaveFileChooser.h"
#include "shell/WindowGround.h"
#include "shell/WindowRegistry.h"
#include "shell/frmmsg.h"
#include "widgets/DateTimePicker.h"
#include "widgets/VarnelFonts.h"

using varnel::VarnelFont;

namespace {

enum Column { TimeColumn, RegisterColumn, SerialColumn, TextColumn, MarkColumn };

// Where a line of the agenda is: its day and its place in the day (-1 on a day's own row).
constexpr int kDayRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;

const QColor kClashText(160, 0, 0);
const QColor kClashGround(255, 222, 222);

QString digits(const QString& text)
{
    return varnel::kannadaDigits(text);
}

// A week is seven days from the first day chosen.
constexpr int kWeek = 7;

// The sheet's rows: each day's date and weekday on its first line only, so the sheet reads day
// by day; a day without engagements says so. Every row carries the range for the heading.
report::StagingTable sheetRows(const agenda::Agenda& shown)
{
    report::StagingTable table;
    table.columns = {QStringLiteral("agenda_date"), QStringLiteral("day_name"),
                     QStringLiteral("agenda_time"), QStringLiteral("register_name"),
                     QStringLiteral("sl_no"),       QStringLiteral("agenda_text"),
                     QStringLiteral("clash"),       QStringLiteral("range_from"),
                     QStringLiteral("range_to")};
    if (shown.days.isEmpty())
        return table;
    const QVariant from = shown.days.first().date, to = shown.days.last().date;
    for (const agenda::AgendaDay& day : shown.days) {
        const auto row = [&](bool first) {
            return std::vector<QVariant>{first ? QVariant(day.date) : QVariant(QString()),
                                         first ? QVariant(day.dayName) : QVariant(QString()),
                                         QString(),
                                         QString(),
                                         QString(),
                                         QString(),
                                         QString(),
                                         from,
                                         to};
        };
        if (day.lines.isEmpty()) {
            table.rows.push_back(row(true));
            table.rows.back()[5] = agenda::texts::nothingOnTheDay;
        }
        for (int l = 0; l < day.lines.size(); ++l) {
            const agenda::AgendaLine& line = day.lines[l];
            std::vector<QVariant> values = row(l == 0);
            if (line.time.isValid())
                values[2] = data::hourMinuteText(line.time);
            values[3] = data::registerCaption(line.entry.which);
            values[4] = QString::number(line.entry.serial);
            values[5] = line.text();
            if (!line.clashes.isEmpty())
                values[6] = agenda::texts::clashWord();
            table.rows.push_back(std::move(values));
        }
    }
    return table;
}

} // namespace

AgendaWindow::AgendaWindow(QWidget* parent)
    : QWidget(parent), DTPickerFrom(new varnel::DateTimePicker(this)),
      ComboDays(new QComboBox(this)), GridAgenda(new QTreeWidget(this)),
      CmdPrint(new QPushButton(agenda::texts::printCaption, this))
{
    setObjectName(QStringLiteral("AgendaWindow"));
    shell::refreshOnActivation(this, [this] { lookForChanges(); });
    setWindowTitle(agenda::texts::windowTitle);
    setWindowIcon(Pictures::programIcon());
    shell::paintGround(this);

    // The diary as every window opens it (made when missing); a failure ends the load here.
    m_db = data::OpenDiaryForReading(data::diaryPath());

    auto* title = new QLabel(agenda::texts::windowTitle, this);
    title->setFont(varnel::varnelFont(VarnelFont::Akshara08, 18, true));
    title->setStyleSheet(QStringLiteral("color: rgb(128, 0, 0)"));
    auto* from = new QLabel(agenda::texts::fromCaption, this);
    from->setFont(varnel::varnelFont(VarnelFont::Akshara, 14.25, true));
    DTPickerFrom->setObjectName(QStringLiteral("DTPickerFrom"));
    DTPickerFrom->setCustomFormat(QString::fromLatin1(data::kPickerDateFormat));
    DTPickerFrom->setFont(varnel::varnelFont(VarnelFont::Akshara, 14.25));
    DTPickerFrom->setMinimumWidth(160);
    DTPickerFrom->setValue(QDateTime(QDate::currentDate(), QTime(0, 0)));
    ComboDays->setObjectName(QStringLiteral("ComboDays"));
    ComboDays->setFont(varnel::varnelFont(VarnelFont::Akshara, 14.25));
    ComboDays->addItem(agenda::texts::oneDay, 1);
    ComboDays->addItem(agenda::texts::oneWeek, kWeek);
    ComboDays->setCurrentIndex(1);
    CmdPrint->setObjectName(QStringLiteral("CmdPrint"));
    CmdPrint->setFont(varnel::varnelFont(VarnelFont::Akshara, 14.25));
    auto* hint = new QLabel(agenda::texts::hint, this);
    hint->setWordWrap(true);
    hint->setFont(varnel::varnelFont(VarnelFont::Akshara, 11));

    GridAgenda->setObjectName(QStringLiteral("GridAgenda"));
    GridAgenda->setFont(varnel::varnelFont(VarnelFont::Akshara, 14.25));
    GridAgenda->setHeaderLabels({agenda::texts::timeHead, agenda::texts::registerHead,
                                 agenda::texts::serialHead, agenda::texts::textHead,
                                 agenda::texts::markHead});
    GridAgenda->setRootIsDecorated(false);
    GridAgenda->setItemsExpandable(false);
    GridAgenda->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridAgenda->setSelectionMode(QAbstractItemView::SingleSelection);
    GridAgenda->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridAgenda->setUniformRowHeights(true);
    GridAgenda->header()->setStretchLastSection(false);
    GridAgenda->header()->setSectionResizeMode(TextColumn, QHeaderView::Stretch);
    const int widths[] = {90, 110, 70, 0, 110};
    for (int c : {TimeColumn, RegisterColumn, SerialColumn, MarkColumn})
        GridAgenda->setColumnWidth(c, widths[c]);

    auto* bar = new QHBoxLayout;
    bar->addWidget(from);
    bar->addWidget(DTPickerFrom);
    bar->addWidget(ComboDays);
    bar->addStretch(1);
    bar->addWidget(CmdPrint);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(bar);
    layout->addWidget(hint);
    layout->addWidget(GridAgenda, 1);
    resize(960, 600);

    // A diary that fails to read is reported, and the window stays as it was.
    const auto reload = [this] { runReported(this, [this] { Reload(); }); };
    connect(DTPickerFrom, &varnel::DateTimePicker::Change, this, reload);
    connect(ComboDays, &QComboBox::currentIndexChanged, this, reload);
    connect(GridAgenda, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { OpenLine(item); });
    connect(CmdPrint, &QPushButton::clicked, this, &AgendaWindow::Print);
    m_check.setInterval(kCheckEvery);
    connect(&m_check, &QTimer::timeout, this, &AgendaWindow::lookForChanges);
    Reload();
    m_check.start();
}

AgendaWindow::~AgendaWindow() = default;

QDate AgendaWindow::firstDay() const
{
    return DTPickerFrom->Value().date();
}

int AgendaWindow::dayCount() const
{
    return ComboDays->currentData().toInt();
}

void AgendaWindow::Reload()
{
    const std::int64_t version = m_db->DataVersion();
    fillGrid(agenda::readAgenda(*m_db, firstDay(), dayCount()));
    m_seenVersion = version;
}

void AgendaWindow::lookForChanges()
{
    if (!isVisible())
        return;
    try {
        if (m_db->DataVersion() != m_seenVersion)
            Reload();
    } catch (...) {
        // One report per failure: the looks stop until the user asks for the range again.
        m_check.stop();
        runReported(this,
                    [failure = std::current_exception()] { std::rethrow_exception(failure); });
    }
}

// Each day is a row of its own (date and weekday) with its lines under it; the line that was
// current stays current when the same record is still shown.
void AgendaWindow::fillGrid(const agenda::Agenda& shown)
{
    std::optional<std::pair<data::Register, std::int64_t>> current;
    if (QTreeWidgetItem* item = GridAgenda->currentItem()) {
        const int d = item->data(0, kDayRole).toInt(), l = item->data(0, kLineRole).toInt();
        if (l >= 0 && d < m_agenda.days.size() && l < m_agenda.days[d].lines.size()) {
            const engagements::Entry& e = m_agenda.days[d].lines[l].entry;
            current.emplace(e.which, e.key);
        }
    }
    const int scrolled = GridAgenda->verticalScrollBar()->value();
    m_agenda = shown;
    GridAgenda->clear();
    QTreeWidgetItem* again = nullptr;
    QTreeWidgetItem* first = nullptr;
    QFont dayFont = GridAgenda->font();
    dayFont.setBold(true);
    for (int d = 0; d < m_agenda.days.size(); ++d) {
        const agenda::AgendaDay& day = m_agenda.days[d];
        auto* dayRow = new QTreeWidgetItem(GridAgenda);
        dayRow->setText(TimeColumn, digits(data::gridDateText(day.date)) + QStringLiteral("  ") +
                                        varnel::decode(day.dayName).trimmed());
        dayRow->setFirstColumnSpanned(true);
        dayRow->setFont(TimeColumn, dayFont);
        dayRow->setBackground(TimeColumn, QColor(235, 235, 215));
        dayRow->setFlags(Qt::ItemIsEnabled);
        dayRow->setData(0, kDayRole, d);
        dayRow->setData(0, kLineRole, -1);
        if (day.lines.isEmpty()) {
            auto* none = new QTreeWidgetItem(dayRow);
            none->setText(TextColumn, agenda::texts::nothingOnTheDay);
            none->setFlags(Qt::ItemIsEnabled);
            none->setData(0, kDayRole, d);
            none->setData(0, kLineRole, -1);
        }
        for (int l = 0; l < day.lines.size(); ++l) {
            const agenda::AgendaLine& line = day.lines[l];
            auto* row = new QTreeWidgetItem(dayRow);
            row->setText(TimeColumn,
                         line.time.isValid() ? digits(data::hourMinuteText(line.time)) : QString());
            row->setText(RegisterColumn, data::registerCaption(line.entry.which));
            row->setText(SerialColumn, digits(QString::number(line.entry.serial)));
            row->setText(TextColumn, line.text());
            row->setToolTip(TextColumn, line.text());
            row->setData(0, kDayRole, d);
            row->setData(0, kLineRole, l);
            if (!line.clashes.isEmpty()) {
                row->setText(MarkColumn, agenda::texts::clashWord());
                for (int c = TimeColumn; c <= MarkColumn; ++c) {
                    row->setForeground(c, kClashText);
                    row->setBackground(c, kClashGround);
                }
            }
            if (!first)
                first = row;
            if (current && current->first == line.entry.which &&
                current->second == line.entry.key && !again)
                again = row;
        }
    }
    GridAgenda->expandAll();
    if (again) {
        GridAgenda->setCurrentItem(again);
        GridAgenda->verticalScrollBar()->setValue(scrolled);
    } else if (first) {
        GridAgenda->setCurrentItem(first);
    }
}

// The row is looked up again by its identity, since another window may have renumbered or
// deleted it since the agenda was read; its register window then moves its navigator to it.
void AgendaWindow::OpenLine(QTreeWidgetItem* item)
{
    if (!item)
        item = GridAgenda->currentItem();
    if (!item)
        return;
    const int d = item->data(0, kDayRole).toInt(), l = item->data(0, kLineRole).toInt();
    if (l < 0 || d >= m_agenda.days.size() || l >= m_agenda.days[d].lines.size())
        return;
    const engagements::Entry entry = m_agenda.days[d].lines[l].entry;
    runReported(this, [this, entry] {
        const int serial = registers::serialOfRow(*m_db, entry.which, entry.key);
        if (serial < 1) {
            frmmsg::showText(agenda::texts::vanished, this);
            Reload();
            return;
        }
        registers::showRecordInItsWindow(entry.which, serial);
    });
}

void AgendaWindow::Print()
{
    runReported(this, [this] {
        Reload();
        const report::StagedReport sheet{
            report::readReportTemplate(report::existingProgramFile(
                data::resourceFolder() + QStringLiteral("/rptagenda.rpt"))),
            sheetRows(m_agenda)};
        const report::ReportFile file = report::writeReportToFile(sheet);
        // Over the main window, as the registers' reports are, so it outlives this window.
        auto* preview = new report::ReportPreview(
            file, [](const QString& text, QWidget* parent) { frmmsg::showText(text, parent); },
            window(), shell::chooseSaveFile);
        preview->show();
        preview->raise();
        preview->activateWindow();
        if (!file.notes.isEmpty())
            frmmsg::showText(file.notes.join(QLatin1Char('\n')), preview);
    });
}
