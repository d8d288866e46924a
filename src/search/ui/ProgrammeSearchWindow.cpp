#include "search/ui/ProgrammeSearchWindow.h"

#include <QCheckBox>
#include <QGroupBox>

#include "data/DayName.h"
#include "search/SearchTexts.h"
#include "search/ui/SearchGrid.h"
#include "widgets/DateTimePicker.h"

namespace search {

namespace {

// Inside each frame: the date bound on the first row, the time bound on the second. The
// pickers start a little left of their designed 1320 and run nearly to the frame's edge, so
// a date in Kannada digits and its three trailing blanks fit at 14.25 points.
const QRect kDateCheck(120, 360, 1125, 450);
const QRect kDatePicker(1260, 360, 2040, 450);
const QRect kTimeCheck(120, 960, 1125, 450);
const QRect kTimePicker(1260, 960, 2040, 450);

} // namespace

SearchWindowDesign localSearchDesign()
{
    return {QStringLiteral("frmfind1"), data::Register::Local, texts::titleLocal,
            QPoint(8460, 480),          QPoint(10320, 480),    QRect(360, 2040, 11175, 4215)};
}

SearchWindowDesign outstationSearchDesign()
{
    return {QStringLiteral("frmfind2"), data::Register::Outstation, texts::titleOutstation,
            QPoint(8100, 480),          QPoint(10080, 480),         QRect(360, 2040, 11055, 4215)};
}

ProgrammeSearchWindow::ProgrammeSearchWindow(const SearchWindowDesign& design, QWidget* parent)
    : SearchWindow(design, parent), m_table(data::tableName(design.which))
{
    QGroupBox* Frame1 =
        makeFrame(QStringLiteral("Frame1"), texts::from, QRect(540, 240, 3375, 1575));
    QGroupBox* Frame2 =
        makeFrame(QStringLiteral("Frame2"), texts::to, QRect(4260, 240, 3375, 1575));
    const std::array<QGroupBox*, 2> frames = {Frame1, Frame2};
    for (int i = 0; i < 2; ++i) {
        addDateBound(i, frames[size_t(i)], texts::date, kDateCheck, kDatePicker, 14.25);
        CheckTime[size_t(i)] = makeCheck(frames[size_t(i)], QStringLiteral("CheckTime(%1)").arg(i),
                                         texts::time, kTimeCheck);
        DTPickerTime[size_t(i)] =
            makePicker(frames[size_t(i)], QStringLiteral("DTPickerTime(%1)").arg(i),
                       data::kPickerTimeFormat, kTimePicker, 15);
        connect(CheckTime[size_t(i)], &QCheckBox::clicked, this, [this, i] { CheckTime_Click(i); });
    }
    setTabOrder(CheckDate[0], DTPickerDate[0]);
    setTabOrder(DTPickerDate[0], CheckTime[0]);
    setTabOrder(CheckTime[0], DTPickerTime[0]);
    setTabOrder(DTPickerTime[0], CheckDate[1]);
    setTabOrder(CheckDate[1], DTPickerDate[1]);
    setTabOrder(DTPickerDate[1], CheckTime[1]);
    setTabOrder(CheckTime[1], DTPickerTime[1]);
    setTabOrder(DTPickerTime[1], grid());

    // Form_Load
    setWindowState(Qt::WindowMaximized);
    OpenSearch();
}

void ProgrammeSearchWindow::OpenSearch()
{
    const QDateTime today(QDate::currentDate(), QTime(0, 0));
    const QTime clock = QTime::currentTime();
    const QDateTime now(QDate(1899, 12, 30), QTime(clock.hour(), clock.minute()));
    for (int i = 0; i < 2; ++i) {
        DTPickerDate[size_t(i)]->setValue(today);
        DTPickerTime[size_t(i)]->setValue(now);
    }
    openDiary(programmeOpeningQuery(m_table));
}

void ProgrammeSearchWindow::CheckTime_Click(int Index)
{
    DTPickerTime[size_t(Index)]->setEnabled(CheckTime[size_t(Index)]->isChecked());
}

ProgrammeBounds ProgrammeSearchWindow::boundsInForce() const
{
    ProgrammeBounds bounds;
    if (inForce(DTPickerDate[0]))
        bounds.dateFrom = DTPickerDate[0]->Value().date();
    if (inForce(DTPickerDate[1]))
        bounds.dateTo = DTPickerDate[1]->Value().date();
    // The pickers show whole minutes: time-from starts its minute, time-to takes all of its.
    if (inForce(DTPickerTime[0])) {
        const QTime t = DTPickerTime[0]->Value().time();
        bounds.timeFrom = QTime(t.hour(), t.minute(), 0);
    }
    if (inForce(DTPickerTime[1])) {
        const QTime t = DTPickerTime[1]->Value().time();
        bounds.timeTo = QTime(t.hour(), t.minute(), 59);
    }
    return bounds;
}

void ProgrammeSearchWindow::Qry_date()
{
    guarded([this] { showResult(programmeQuery(m_table, boundsInForce())); });
}

void ProgrammeSearchWindow::ImageFind_Click()
{
    Qry_date();
}

} // namespace search
