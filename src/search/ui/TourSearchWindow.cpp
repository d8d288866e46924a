#include "search/ui/TourSearchWindow.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QPointer>
#include <QTimer>

#include "search/SearchTexts.h"
#include "search/ui/SearchGrid.h"
#include "search/ui/SearchWindowTexts.h"
#include "shell/Twips.h"
#include "shell/frmmsg.h"
#include "widgets/DateTimePicker.h"
#include "widgets/VarnelFonts.h"
#include "widgets/VarnelLabel.h"
#include "widgets/VarnelLineEdit.h"

namespace search {

SearchWindowDesign tourSearchDesign()
{
    return {QStringLiteral("frmfind3"), data::Register::Tour, texts::titleTour,
            QPoint(8880, 600),          QPoint(10560, 600),   QRect(360, 2160, 11055, 4215)};
}

TourSearchWindow::TourSearchWindow(QWidget* parent) : SearchWindow(tourSearchDesign(), parent)
{
    const QFont body = varnel::varnelFont(varnel::VarnelFont::Akshara, 14.25);
    QGroupBox* Frame3 =
        makeFrame(QStringLiteral("Frame3"), texts::journey, QRect(360, 360, 4455, 1575));
    auto placeBox = [&](const char* labelName, const QByteArray& caption, QRect labelAt,
                        const char* boxName, QRect boxAt) {
        auto* label = new varnel::VarnelLabel(caption, Frame3);
        label->setObjectName(QString::fromLatin1(labelName));
        label->setFont(body);
        label->setGeometry(twRect(labelAt.x(), labelAt.y(), labelAt.width(), labelAt.height()));
        auto* box = new varnel::VarnelLineEdit(Frame3);
        box->setObjectName(QString::fromLatin1(boxName));
        box->setFont(body);
        box->setGeometry(twRect(boxAt.x(), boxAt.y(), boxAt.width(), boxAt.height()));
        box->installEventFilter(this);
        return box;
    };
    TxtFrom = placeBox("Label26", texts::fromWhere, QRect(120, 420, 840, 375), "TxtFrom",
                       QRect(960, 360, 3375, 450));
    TxtTo = placeBox("Label27", texts::toWhere, QRect(120, 1020, 840, 375), "TxtTo",
                     QRect(960, 960, 3375, 450));

    QGroupBox* Frame4 = makeFrame(QStringLiteral("Frame4"), {}, QRect(4920, 360, 3375, 1575));
    // The pickers run a little past their designed 1935 twips, so that a date in Kannada
    // digits fits at 15 points.
    addDateBound(0, Frame4, texts::from, QRect(240, 330, 960, 450), QRect(1200, 360, 2070, 450),
                 15);
    addDateBound(1, Frame4, texts::to, QRect(240, 960, 960, 450), QRect(1200, 960, 2070, 450), 15);

    setTabOrder(TxtFrom, TxtTo);
    setTabOrder(TxtTo, CheckDate[0]);
    setTabOrder(CheckDate[0], DTPickerDate[0]);
    setTabOrder(DTPickerDate[0], CheckDate[1]);
    setTabOrder(CheckDate[1], DTPickerDate[1]);
    setTabOrder(DTPickerDate[1], grid());

    // Form_Load
    setWindowState(Qt::WindowMaximized);
    OpenSearch();
}

void TourSearchWindow::OpenSearch()
{
    const QDateTime today(QDate::currentDate(), QTime(0, 0));
    DTPickerDate[0]->setValue(today);
    DTPickerDate[1]->setValue(today);
    openDiary(tourOpeningQuery());
}

void TourSearchWindow::Qry_tour()
{
    // The place texts as typed, not trimmed: blanks are a criterion too.
    const varnel::Encoded from = TxtFrom->varnel();
    const varnel::Encoded to = TxtTo->varnel();
    const QString problem = placeProblem(TxtFrom, from) + placeProblem(TxtTo, to);
    if (!problem.isEmpty()) {
        frmmsg::showText(problem.trimmed(), this);
        return;
    }
    TourCriteria criteria;
    criteria.from = from.bytes;
    criteria.to = to.bytes;
    if (inForce(DTPickerDate[0]))
        criteria.dateFrom = DTPickerDate[0]->Value().date();
    if (inForce(DTPickerDate[1]))
        criteria.dateTo = DTPickerDate[1]->Value().date();
    showResult(tourQuery(criteria));
}

QString TourSearchWindow::placeProblem(const varnel::VarnelLineEdit* box,
                                       const varnel::Encoded& place) const
{
    const QByteArray caption = box == TxtFrom ? texts::fromWhere : texts::toWhere;
    const QString inBox = texts::inPlaceBox.arg(varnel::decode(caption).trimmed());
    if (!place.ok())
        return inBox + varnel::refusalMessage(place.refusals, varnel::RefusedIn::Searching) +
               QStringLiteral("\n\n");
    switch (placeFault(place.bytes)) {
    case PlaceFault::None: return {};
    case PlaceFault::UnclosedBracket:
        return inBox + texts::unclosedBracket + QStringLiteral("\n\n") + texts::patternCharacters +
               QStringLiteral("\n\n");
    case PlaceFault::BackwardRange:
        return inBox + texts::backwardRange + QStringLiteral("\n\n") + texts::patternCharacters +
               QStringLiteral("\n\n");
    }
    return {};
}

void TourSearchWindow::ImageFind_Click()
{
    guarded([this] { Qry_tour(); });
}

bool TourSearchWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == TxtFrom || watched == TxtTo))
        PlaceBox_GotFocus(static_cast<varnel::VarnelLineEdit*>(watched));
    return SearchWindow::eventFilter(watched, event);
}

void TourSearchWindow::PlaceBox_GotFocus(varnel::VarnelLineEdit* box)
{
    box->setSelStart(0);
    box->setSelLength(int(box->text().size()));
    // Again after the event that gave the focus, so that a click's caret does not undo it.
    QTimer::singleShot(0, box, [box = QPointer(box)] {
        if (box && box->hasFocus()) {
            box->setSelStart(0);
            box->setSelLength(int(box->text().size()));
        }
    });
}

} // namespace search
