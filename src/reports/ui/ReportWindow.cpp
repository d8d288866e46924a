#include "reports/ui/ReportWindow.h"

#include <optional>

#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QMdiSubWindow>

#include "data/DayName.h"
#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "platform/jet/Database.h"
#include "platform/report/ReportTemplate.h"
#include "platform/varnel/VarnelCodec.h"
#include "preview/ReportPreview.h"
#include "reports/ReportRegister.h"
#include "reports/ReportTexts.h"
#include "reports/Stager.h"
#include "shell/BusyPointer.h"
#include "shell/FailureReport.h"
#include "shell/ImageButton.h"
#include "shell/ImageButtonPanel.h"
#include "shell/Pictures.h"
#include "shell/SaveFileChooser.h"
#include "shell/ShellColours.h"
#include "shell/ShellTexts.h"
#include "shell/Twips.h"
#include "shell/WindowGround.h"
#include "shell/frmmsg.h"
#include "widgets/DateTimePicker.h"
#include "widgets/VarnelFonts.h"
#include "widgets/VarnelLabel.h"

namespace reports {

namespace {

// Layout in twips.
constexpr int kClientWidth = 7200;
constexpr int kFrameWidth = 3240;
constexpr int kFrameHeight = 1095;
constexpr int kButtonBlock = 1560; // disc, caption and a margin under the frames

void showMessageText(const QString& text, QWidget* parent)
{
    frmmsg::showText(text, parent);
}

} // namespace

ReportWindow::ReportWindow(const QString& name, const QByteArray& title, int top, QWidget* parent)
    : QWidget(parent)
{
    m_crystalrpt.setStarter(report::previewStarter(this, showMessageText, shell::chooseSaveFile));
    setObjectName(name);
    shell::paintGround(this);
    setWindowIcon(Pictures::programIcon());
    setWindowTitle(shell::productName());
    setFixedSize(QSize(tw(kClientWidth), tw(top + kFrameHeight + 120 + kButtonBlock)));

    auto* Label30 = new varnel::VarnelLabel(title, this);
    Label30->setObjectName(QStringLiteral("Label30"));
    Label30->setFont(varnel::varnelFont(varnel::VarnelFont::Akshara08, 18, true));
    Label30->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128)"));
    Label30->setAlignment(Qt::AlignCenter);
    Label30->setGeometry(twRect(120, 120, kClientWidth - 240, 555));

    dateFrame("Frame1", texts::from, 240, top, 0);
    dateFrame("Frame2", texts::until, kClientWidth - 240 - kFrameWidth, top, 1);

    m_panel = new ImageButtonPanel(this);
    ImageButtonLayout design;
    design.iconName = QStringLiteral("ImageReport");
    design.discName = QStringLiteral("ShapeReport");
    design.captionName = QStringLiteral("Label0");
    design.firstLine = 1;
    design.picture = Pictures::icon(Pictures::Icon::Report);
    design.disc = ImageButtonLayout::kListDisc;
    design.iconAt = ImageButtonLayout::iconInDisc(
        QPoint((kClientWidth - ImageButtonLayout::kListDisc) / 2, top + kFrameHeight + 120),
        ImageButtonLayout::kListDisc);
    design.caption = shell::reportCaption();
    design.captionColour = QColor(0, 0, 128);
    design.captionFont = varnel::varnelFont(varnel::VarnelFont::Akshara02, 12);
    m_imageReport = m_panel->add(design);
    m_imageReport->setCommand([this] { ImageReport_Click(); });
    m_panel->resetOn(this);

    Form_Load();
}

ReportWindow::~ReportWindow() = default;

QGroupBox* ReportWindow::dateFrame(const char* name, const QByteArray& caption, int left, int top,
                                   int index)
{
    auto* frame = new QGroupBox(varnel::decode(caption), this);
    frame->setObjectName(QLatin1String(name));
    frame->setFont(varnel::varnelFont(varnel::VarnelFont::Akshara, 12, true));
    frame->setGeometry(twRect(left, top, kFrameWidth, kFrameHeight));

    auto* label = new varnel::VarnelLabel(texts::date, frame);
    label->setObjectName(index == 0 ? QStringLiteral("Label1") : QStringLiteral("Label2"));
    label->setFont(varnel::varnelFont(varnel::VarnelFont::Akshara, 12));
    label->setGeometry(twRect(120, 420, 735, 435));

    auto* picker = new varnel::DateTimePicker(frame);
    picker->setObjectName(QStringLiteral("DTPickerDate(%1)").arg(index));
    picker->setCustomFormat(QString::fromLatin1(data::kPickerDateFormat));
    picker->setFont(varnel::varnelFont(varnel::VarnelFont::Akshara, 14.25));
    picker->setGeometry(twRect(900, 390, kFrameWidth - 1020, 495));
    connect(picker, &varnel::DateTimePicker::Change, this,
            [this, index] { DTPickerDate_Change(index); });
    m_pickers[size_t(index)] = picker;
    if (index == 1)
        setTabOrder(m_pickers[0], picker);
    return frame;
}

void ReportWindow::Form_Load()
{
    ResetDates();
    // The move to the client area's top left happens when the frame first shows (showEvent).
}

void ReportWindow::ResetDates()
{
    const QDateTime today(QDate::currentDate(), QTime(0, 0));
    m_pickers[0]->setValue(today);
    m_pickers[1]->setValue(today);
}

void ReportWindow::DTPickerDate_Change(int Index)
{
    QDateTime first = m_pickers[0]->Value();
    QDateTime last = m_pickers[1]->Value();
    keepRangeOrdered(Index, first, last);
    // Set in code, so the other picker's change handler does not run; the moved one shows it.
    for (int i = 0; i < 2; ++i) {
        const QDateTime& wanted = i == 0 ? first : last;
        if (m_pickers[size_t(i)]->Value() != wanted)
            m_pickers[size_t(i)]->moveTo(wanted);
    }
}

void ReportWindow::ImageReport_Click()
{
    const ReportRegister& reg = selectedRegister();
    runReported(this, [this, &reg] {
        std::optional<BusyPointer> busy(std::in_place);
        // A template that cannot be used is refused before the staging table is touched.
        const QString templatePath = reg.templatePath(data::resourceFolder());
        report::readReportTemplate(report::existingProgramFile(templatePath));
        Db = data::OpenDiaryDatabase(data::diaryPath());
        // The preview's PDF is laid out in the temporary folder: no room there, nothing staged.
        requireRoomForReport(*Db, reg, m_pickers[0]->Value().date(), m_pickers[1]->Value().date(),
                             QDir::tempPath(), QDir::tempPath());
        const int staged =
            stageRange(*Db, reg, m_pickers[0]->Value().date(), m_pickers[1]->Value().date());
        if (staged != 0) {
            m_crystalrpt.setReportFileName(templatePath);
            // The diary the rows were staged in, wherever the template lies (share/velmora when
            // installed system-wide).
            m_crystalrpt.setDiaryOpener([opener = stagedDiaryOpener(Db), diary = data::diaryPath()](
                                            const QString&) { return opener(diary); });
            m_crystalrpt.setAction(1); // laid out on a thread of its own, into a preview
            busy.reset();
        } else {
            busy.reset();
            frmmsg::showMessage(reg.notice, this);
        }
    });
}

bool ReportWindow::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange) {
        // A fixed tool-window border: a small title bar with only a close button.
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            // The close button is drawn only with the system menu hint.
            frame->setWindowFlags(Qt::SubWindow | Qt::Tool | Qt::CustomizeWindowHint |
                                  Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                  Qt::WindowCloseButtonHint);
            frame->setOption(QMdiSubWindow::RubberBandResize, false);
        }
    }
    return QWidget::event(event);
}

void ReportWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        frame->adjustSize();
        frame->setFixedSize(frame->size()); // a fixed border: the frame cannot be resized
        frame->move(0, 0);
    }
}

} // namespace reports
