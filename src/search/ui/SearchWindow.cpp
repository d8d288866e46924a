#include "search/ui/SearchWindow.h"

#include <QMdiSubWindow>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QResizeEvent>

#include "data/DayName.h"
#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "platform/varnel/KannadaDigits.h"
#include "platform/varnel/VarnelCodec.h"
#include "search/DateOrderRule.h"
#include "search/ui/SearchGrid.h"
#include "search/ui/SearchWindowTexts.h"
#include "shell/ActivationRefresh.h"
#include "shell/BusyPointer.h"
#include "shell/FailureReport.h"
#include "shell/ImageButton.h"
#include "shell/ImageButtonPanel.h"
#include "shell/Pictures.h"
#include "shell/ShellColours.h"
#include "shell/ShellTexts.h"
#include "shell/Twips.h"
#include "shell/WindowGround.h"
#include "shell/WindowRegistry.h"
#include "widgets/DateTimePicker.h"
#include "widgets/VarnelFonts.h"
#include "widgets/VarnelLabel.h"

namespace search {

namespace {

using varnel::VarnelFont;

QRect pixels(const QRect& twips)
{
    return twRect(twips.x(), twips.y(), twips.width(), twips.height());
}

constexpr int kMargin = 360;   // right of and under the grid, in twips
constexpr int kCountRow = 360; // the line under the grid that counts the records listed
constexpr int kLowerRow = 600; // the row of title and product name under the grid
constexpr int kDisc = ImageButtonLayout::kListDisc;

} // namespace

QString SearchWindow::registerTable() const
{
    return data::tableName(m_design.which);
}

SearchWindow::SearchWindow(const SearchWindowDesign& design, QWidget* parent)
    : QWidget(parent), m_design(design), m_session(design.which)
{
    setObjectName(design.name);
    shell::paintGround(this);
    setWindowIcon(Pictures::programIcon());
    setWindowTitle(varnel::decode(design.title).trimmed());

    MSFlexGrid1 = new SearchGrid(this);
    MSFlexGrid1->setFont(varnel::varnelFont(VarnelFont::Akshara, 14.25));
    MSFlexGrid1->setGeometry(pixels(design.gridAt));
    MSFlexGrid1->setResults(&m_session.model());
    shell::refreshOnActivation(this, [this] { refreshIfChanged(); });

    m_countLine = new QLabel(this);
    m_countLine->setObjectName(QStringLiteral("RecordCount"));
    m_countLine->setFont(varnel::varnelFont(VarnelFont::Akshara, 12));

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    Label30 = new varnel::VarnelLabel(design.title, this);
    Label30->setObjectName(QStringLiteral("Label30"));
    Label30->setFont(varnel::varnelFont(VarnelFont::Akshara08, 18, true));
    Label30->setStyleSheet(QStringLiteral("color: rgb(128, 0, 0)"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Pictures::icon(Pictures::Icon::Program));
    Label10 = new QLabel(shell::productName(), this);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setFont(varnel::varnelFont(VarnelFont::Akshara08, 20, true));
    Label10->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128)"));

    buildButtons();
    // A restored window made small keeps the bounds, the buttons and the grid as designed
    // within reach: it shrinks no further.
    const QRect grid = pixels(design.gridAt);
    setMinimumSize(grid.right() + 1 + tw(kMargin),
                   grid.bottom() + 1 + tw(kMargin) + tw(kCountRow) + tw(kLowerRow));
    placeLowerParts();
}

SearchWindow::~SearchWindow()
{
    // The list goes with the session, before the grid (a child widget) is deleted.
    MSFlexGrid1->setModel(nullptr);
}

void SearchWindow::buildButtons()
{
    m_panel = new ImageButtonPanel(this);
    const QFont captionFont = varnel::varnelFont(VarnelFont::Akshara02, 12);
    auto design = [&](const char* icon, const char* disc, int caption, int firstLine,
                      Pictures::Icon picture, QPoint discAt, const QByteArray& text,
                      QColor colour) {
        ImageButtonLayout s;
        s.iconName = QString::fromLatin1(icon);
        s.discName = QString::fromLatin1(disc);
        s.captionName = QStringLiteral("Label0(%1)").arg(caption);
        s.firstLine = firstLine;
        s.picture = Pictures::icon(picture);
        s.iconAt = ImageButtonLayout::iconInDisc(discAt, kDisc);
        s.disc = kDisc;
        s.caption = text;
        s.captionColour = colour;
        s.captionFont = captionFont;
        // Centred under the disc, clear of its rim.
        s.captionRect =
            QRect(discAt.x() + kDisc / 2 - 1215 / 2, discAt.y() + kDisc + 60, 1215, 315);
        return s;
    };
    ImageFind = m_panel->add(design("ImageFind", "ShapeFind", 1, 1, Pictures::Icon::Find,
                                    m_design.findDiscAt, shell::findCaption(), QColor(0, 0, 128)));
    ImageExit = m_panel->add(design("ImageExit", "ShapeExit", 2, 4, Pictures::Icon::Back,
                                    m_design.exitDiscAt, shell::backCaption(), QColor(128, 0, 0)));
    ImageFind->setCommand([this] { ImageFind_Click(); });
    ImageExit->setCommand([this] { ImageExit_Click(); });
    m_panel->resetOn(this);
}

QGroupBox* SearchWindow::makeFrame(const QString& name, const QByteArray& caption, const QRect& at)
{
    auto* frame = new QGroupBox(varnel::decode(caption), this);
    frame->setObjectName(name);
    frame->setGeometry(pixels(at));
    frame->setFont(varnel::varnelFont(VarnelFont::Akshara, 12, true));
    return frame;
}

QCheckBox* SearchWindow::makeCheck(QWidget* frame, const QString& name, const QByteArray& caption,
                                   const QRect& at)
{
    auto* check = new QCheckBox(varnel::decode(caption), frame);
    check->setObjectName(name);
    check->setGeometry(pixels(at));
    check->setFont(varnel::varnelFont(VarnelFont::Akshara, 12));
    // Every bound is in force when the window opens; the box shows it.
    check->setChecked(true);
    return check;
}

varnel::DateTimePicker* SearchWindow::makePicker(QWidget* frame, const QString& name,
                                                 const char* format, const QRect& at,
                                                 qreal pointSize)
{
    auto* picker = new varnel::DateTimePicker(frame);
    picker->setObjectName(name);
    picker->setCustomFormat(QString::fromLatin1(format));
    picker->setFont(varnel::varnelFont(VarnelFont::Akshara, pointSize));
    picker->setGeometry(pixels(at));
    return picker;
}

void SearchWindow::addDateBound(int index, QWidget* frame, const QByteArray& caption,
                                const QRect& checkAt, const QRect& pickerAt, qreal pickerSize)
{
    CheckDate[size_t(index)] =
        makeCheck(frame, QStringLiteral("CheckDate(%1)").arg(index), caption, checkAt);
    DTPickerDate[size_t(index)] = makePicker(frame, QStringLiteral("DTPickerDate(%1)").arg(index),
                                             data::kPickerDateFormat, pickerAt, pickerSize);
    connect(CheckDate[size_t(index)], &QCheckBox::clicked, this,
            [this, index] { CheckDate_Click(index); });
    connect(DTPickerDate[size_t(index)], &varnel::DateTimePicker::Change, this,
            [this, index] { DTPickerDate_Change(index); });
}

bool SearchWindow::inForce(const QWidget* picker)
{
    return picker->isEnabled();
}

void SearchWindow::CheckDate_Click(int Index)
{
    DTPickerDate[size_t(Index)]->setEnabled(CheckDate[size_t(Index)]->isChecked());
    applyDateOrderRule(Index);
}

void SearchWindow::DTPickerDate_Change(int Index)
{
    applyDateOrderRule(Index);
}

void SearchWindow::applyDateOrderRule(int Index)
{
    varnel::DateTimePicker* picker = DTPickerDate[size_t(Index)];
    const QDate now = picker->Value().date();
    const QDate wanted =
        dateOrderRule(Index, DTPickerDate[0]->Value().date(), DTPickerDate[1]->Value().date(),
                      inForce(DTPickerDate[size_t(1 - Index)]));
    if (wanted != now)
        picker->moveTo(QDateTime(wanted, QTime(0, 0)));
}

// A diary that cannot be opened ends the load here: whoever opened the window reports it, and
// no empty search window is left behind.
void SearchWindow::openDiary(const QString& openingStatement)
{
    m_session.OpenDatabase(data::diaryPath());
    m_session.run(openingStatement);
    m_searched = false;
    FillGrid();
}

void SearchWindow::showResult(const QString& statement)
{
    BusyPointer busy;
    m_session.run(statement);
    m_searched = true;
    FillGrid();
}

void SearchWindow::FillGrid()
{
    // The model has replaced its rows; the list starts again at its top.
    MSFlexGrid1->scrollToTop();
    MSFlexGrid1->clearSelection();
    const int count = m_session.model().rowCount();
    if (count == 0)
        m_countLine->setText(m_searched ? texts::nothingMatched : texts::registerEmpty);
    else if (count == 1)
        m_countLine->setText(texts::oneRecordListed);
    else
        m_countLine->setText(
            texts::recordsListed.arg(varnel::kannadaDigits(QString::number(count))));
}

void SearchWindow::guarded(const std::function<void()>& handler)
{
    runReported(this, handler);
}

void SearchWindow::ImageExit_Click()
{
    unloadChildWindow(this);
}

void SearchWindow::refreshIfChanged()
{
    guarded([this] {
        if (m_session.refreshIfChanged())
            FillGrid();
    });
}

void SearchWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeLowerParts();
}

// The grid keeps its designed place and size as a minimum and takes the rest of a larger
// (maximised) window; the title row stays under it.
void SearchWindow::placeLowerParts()
{
    const QRect designed = pixels(m_design.gridAt);
    const int width = std::max(designed.width(), this->width() - designed.left() - tw(kMargin));
    const int height = std::max(designed.height(), this->height() - designed.top() - tw(kMargin) -
                                                       tw(kCountRow) - tw(kLowerRow));
    MSFlexGrid1->setGeometry(designed.left(), designed.top(), width, height);
    m_countLine->setGeometry(designed.left(), MSFlexGrid1->geometry().bottom() + tw(60), width,
                             tw(kCountRow - 60));

    const int lower = m_countLine->geometry().bottom() + tw(60);
    Line1->setGeometry(designed.left(), lower, width, 2);
    const int row = lower + tw(90);
    const int rowHeight = tw(525);
    Label30->setGeometry(designed.left(), row, std::max(tw(6000), width / 2), rowHeight);
    const int right = designed.left() + width;
    Label10->setGeometry(right - tw(1560), row, tw(1560), rowHeight);
    Image1->setGeometry(right - tw(1560) - tw(540), row + tw(22), tw(480), tw(480));
}

} // namespace search
