#include "shell/frmMenu.h"

#include <QStyle>

#include <utility>

#include "shell/FailureReport.h"
#include "shell/KeyboardMenuEntries.h"
#include "shell/MouseHooks.h"
#include "shell/ProgramExit.h"
#include "shell/RegisterChoice.h"
#include "shell/ShapeWidget.h"
#include "shell/ShellColours.h"
#include "shell/Twips.h"
#include "shell/WindowRegistry.h"
#include "shell/frmabout.h"
#include "widgets/VarnelFonts.h"
#include "widgets/VarnelLabel.h"

namespace {

const char* const kLocal =
    "\xB8\xC0\xDC\xBD\xC3\x41\x69\xC0\xC4\x20\x50\xC1\x41\x69\xC0\xC4\xF0\x50\xC0\xE6\xAA\xC0"
    "\xC4\x55\xC0\xBC\xC0\xC4";
const char* const kOutstation =
    "\xA5\xC0\x67\xC0\xB8\xC0\xDC\xBC\xC0\x20\x50\xC1\x41\x69\xC0\xC4\xF0\x50\xC0\xE6\xAA\xC0"
    "\xC4\x55\xC0\xBC\xC0\xC4";
const char* const kTour =
    "\xA5\xC0\xE6\xAA\xC1\xB8\xC0\x20\xAB\xAA\xC0\x67\xC0\x55\xC0\xBC\xC0\xC4";
const char* const kHelp = "\xB8\xC0\xBA\xC1\x41\x69\xC0\xC4";
const char* const kAbout = "\x76\xC0\x41\x76\xC1\xE6\x41\xB1\xC0\x7A\xC0\x20\xA7\x55\xC9\xCE";
const char* const kExit = "\xA4\x55\xC0\xF0\xAA\xC0\xC4\xA3\xC0";

const char* const kCaptions[4][frmMenu::kEntries] = {
    {kLocal, kOutstation, kTour},
    {kLocal, kOutstation, kTour},
    {kLocal, kOutstation, kTour},
    {kHelp, kAbout, kExit},
};

// Working windows opened by the entries of frmMenu1 to frmMenu3.
const char* const kWindows[3][frmMenu::kEntries] = {
    {"frmlocal", "frmoutstation", "frmtour"},
    {"frmfind1", "frmfind2", "frmfind3"},
    {"frmreport", "frmreport", "frmreport3"},
};

struct MenuLayout {
    int clientWidth;
    std::array<int, frmMenu::kEntries> labelTop;
    std::array<int, frmMenu::kEntries> labelWidth;
    std::array<int, frmMenu::kEntries> shapeTop;
    int shapeWidth;
    int bandHeight;
};

const MenuLayout& layoutOf(int number)
{
    static const MenuLayout common{
        3135, {120, 570, 1080}, {2535, 2535, 2295}, {120, 570, 1050}, 2775, 2775};
    static const MenuLayout help{2805, {120, 600, 1110}, {2295, 2295, 2295}, {120, 570, 1080}, 2415,
                                 2655};
    return number == 4 ? help : common;
}

// Lit rows look as the documented entries do under their mask-drawn highlight.
void setLit(QLabel* row, bool lit)
{
    if (row->property("lit").toBool() == lit)
        return;
    row->setProperty("lit", lit);
    row->style()->unpolish(row);
    row->style()->polish(row);
}

} // namespace

QByteArray frmMenu::entryCaption(int number, int index)
{
    return QByteArray(kCaptions[number - 1][index]);
}

frmMenu::frmMenu(int number, QWidget* parent, MenuHost host)
    : DialogFrame(QSize(tw(layoutOf(number).clientWidth), tw(1560)), parent), m_number(number),
      m_host(std::move(host))
{
    setObjectName(QStringLiteral("frmMenu%1").arg(number));
    const MenuLayout& layout = layoutOf(number);
    QWidget* ground = client();
    QPalette pal = ground->palette();
    pal.setColor(QPalette::Window, shell::kWhite);
    ground->setPalette(pal);

    Shape0 = new ShapeWidget(ShapeWidget::Kind::Rectangle, ground);
    Shape0->setObjectName(QStringLiteral("Shape0"));
    Shape0->setGeometry(twRect(-120, -480, 495, layout.bandHeight));
    Shape0->setFillColour(shell::kFormColour);
    Shape0->setBorderColour(shell::kWhite);

    for (int i = 0; i < kEntries; ++i) {
        auto* shape = new ShapeWidget(ShapeWidget::Kind::Rectangle, ground);
        shape->setObjectName(QStringLiteral("Shape1(%1)").arg(i));
        shape->setGeometry(twRect(240, layout.shapeTop[i], layout.shapeWidth, 345));
        shape->setFillColour(shell::kButtonColour);
        shape->setBorderColour(shell::kBlack);
        shape->setDrawMode(ShapeWidget::DrawMode::Mask);
        shape->hide();
        Shape1[i] = shape;
    }
    const QFont font = varnel::varnelFont(varnel::VarnelFont::Akshara, 14.25);
    for (int i = 0; i < kEntries; ++i) {
        auto* label = new varnel::VarnelLabel(ground);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        label->setGeometry(twRect(480, layout.labelTop[i], layout.labelWidth[i], 375));
        label->setFont(font);
        label->setCaption(entryCaption(number, i));
        Label1[i] = label;
        MouseHooks::on(label)
            ->onClick([this, i](QMouseEvent*) { Label1_Click(i); })
            .onMove([this, i](QMouseEvent*) { Label1_MouseMove(i); });
    }
    // The lists pop-up's find window, where the program has it.
    if (number == 2 && isChildWindowRegistered(QStringLiteral("FindWindow")))
        addRow(QStringLiteral("LabelFindAll"), QStringLiteral(u"ಎಲ್ಲದರಲ್ಲೂ ಹುಡುಕು"),
               [] { openChildWindow(QStringLiteral("FindWindow")); });
    // After it, the week's agenda ("the week's engagements"), where the program has its window.
    if (number == 2 && isChildWindowRegistered(QStringLiteral("AgendaWindow")))
        addRow(QStringLiteral("LabelAgenda"), QStringLiteral(u"ವಾರದ ಕಾರ್ಯಸೂಚಿ"),
               [] { openChildWindow(QStringLiteral("AgendaWindow")); });
    // The help pop-up's further entries: the diary's backups where the program has the restore
    // window, the recently deleted records, and the Kannada keyboards.
    if (number == 4 && isChildWindowRegistered(QStringLiteral("RestoreWindow")))
        addRow(QStringLiteral("LabelRestore"), QStringLiteral(u"ದಿನಚರಿಯ ಪ್ರತಿಗಳು"),
               [] { openChildWindow(QStringLiteral("RestoreWindow")); });
    // Beside it, the records the registers keep after a deletion.
    if (number == 4 && isChildWindowRegistered(QStringLiteral("RecentlyDeletedWindow")))
        addRow(QStringLiteral("LabelDeleted"), QStringLiteral(u"ಇತ್ತೀಚೆಗೆ ಅಳಿಸಿದವು"),
               [] { openChildWindow(QStringLiteral("RecentlyDeletedWindow")); });
    if (number == 4)
        addKeyboardEntries(this);
    Form_Load();
}

void frmMenu::Form_Load()
{
    // Under its strip label, at the top of the client area.
    move(m_host.left, 0);
}

void frmMenu::Label1_MouseMove(int Index)
{
    for (int i = 0; i < kEntries; ++i)
        Shape1[i]->setVisible(i == Index);
    for (const Row& row : m_rows)
        setLit(row.label, false);
}

QLabel* frmMenu::addRow(const QString& name, const QString& caption, std::function<void()> action)
{
    constexpr int kRow = 480;
    const int top = client()->height() + tw(30);
    setFixedSize(size() + QSize(0, tw(kRow)));
    client()->resize(client()->size() + QSize(0, tw(kRow)));
    auto* label = new varnel::VarnelLabel(client());
    label->setObjectName(name);
    label->setGeometry(tw(240), top, tw(2415), tw(345));
    label->setIndent(tw(240) - 1);
    label->setStyleSheet(QStringLiteral("QLabel { border: 1px solid transparent; }"
                                        "QLabel[lit=\"true\"] { background: rgb(239, 239, 239);"
                                        " border: 1px solid black; }"));
    label->setFont(varnel::varnelFont(varnel::VarnelFont::Akshara, 14.25));
    label->setText(caption);
    label->show();
    const int index = entryCount();
    m_rows.push_back({label, std::move(action)});
    MouseHooks::on(label)
        ->onClick([this, index](QMouseEvent*) { chooseEntry(index); })
        .onMove([this, index](QMouseEvent*) { highlightEntry(index); });
    return label;
}

void frmMenu::highlightEntry(int index)
{
    Label1_MouseMove(index < kEntries ? index : -1);
    if (index >= kEntries && index < entryCount())
        setLit(m_rows[index - kEntries].label, true);
}

int frmMenu::highlightedEntry() const
{
    for (int i = 0; i < kEntries; ++i) {
        if (!Shape1[i]->isHidden())
            return i;
    }
    for (size_t r = 0; r < m_rows.size(); ++r) {
        if (m_rows[r].label->property("lit").toBool())
            return kEntries + int(r);
    }
    return -1;
}

void frmMenu::chooseEntry(int index)
{
    if (index < kEntries) {
        Label1_Click(index);
        return;
    }
    // As for the documented entries: the pop-ups close, then a failure is reported.
    const auto action = m_rows[index - kEntries].action;
    runReported(m_host.window, action, [this] { closeMenus(); });
}

void frmMenu::Label1_Click(int Index)
{
    if (m_number == 4 && Index == 2) {
        shell::endProgram();
        return;
    }
    // The pop-ups close after the entry's action. A window that fails to load is reported
    // here, before the failure can leave the handler, over a tidy main window.
    runReported(
        m_host.window, [this, Index] { openEntry(Index); }, [this] { closeMenus(); });
}

void frmMenu::closeMenus()
{
    if (m_host.closeMenus)
        m_host.closeMenus();
}

void frmMenu::openEntry(int Index)
{
    if (m_number == 4) {
        if (Index == 0) {
            openChildWindow(QStringLiteral("frmhelp"), {}, WindowOpening::Plain);
        } else {
            frmabout about;
            about.exec();
        }
        return;
    }
    const QString name = QString::fromLatin1(kWindows[m_number - 1][Index]);
    if (m_number == 3 && Index < 2)
        openChildWindow(name, [Index](QWidget* w) {
            if (auto* choice = dynamic_cast<RegisterChoice*>(w))
                choice->setOption_tarna(Index);
        });
    else
        openChildWindow(name);
}
