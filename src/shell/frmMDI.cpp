#include "shell/frmMDI.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QVBoxLayout>

#include "shell/KeyboardIndicator.h"
#include "shell/MenuKeys.h"
#include "shell/MouseHooks.h"
#include "shell/Pictures.h"
#include "shell/ProgramExit.h"
#include "shell/ShapeWidget.h"
#include "shell/ShellColours.h"
#include "shell/StatusLine.h"
#include "shell/Twips.h"
#include "shell/WindowGround.h"
#include "shell/frmMenu.h"
#include "widgets/VarnelFonts.h"
#include "widgets/VarnelLabel.h"

namespace {

frmMDI* loaded = nullptr;

struct StripLabel {
    const char* caption;
    QRect label;
    QRect shape;
};

const std::array<StripLabel, MenuStrip::kLabels>& stripLabels()
{
    static const std::array<StripLabel, MenuStrip::kLabels> labels{{
        {"\xB8\xC9\xC3\xA5\xC0\xF0\x71\xC9\x2F\x20\xA7\x7A\xC0\xAF\xC1\xAA\xC0\x75\xC9",
         twRect(240, 90, 2175, 375), twRect(240, 60, 2175, 375)},
        {"\x50\xC1\x41\x69\xC0\xC4\xF0\x50\xC0\xE6\xAA\xC0\xC4\x55\xC0\xBC\xC0\x20\xA5\xC0\x6E"
         "\xD6",
         twRect(3360, 90, 2175, 375), twRect(3360, 60, 2190, 375)},
        {"\xAA\xC0\x67\xC0\xA2\x55\xC0\xBC\xC0\xC4", twRect(6600, 90, 1455, 375),
         twRect(6600, 60, 1455, 375)},
        {"\xB8\xC0\xBA\xC1\x41\x69\xC0\xC4", twRect(9030, 90, 1455, 375),
         twRect(9030, 60, 1455, 375)},
    }};
    return labels;
}

} // namespace

frmMDI::frmMDI(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMDI"));
    setWindowTitle(QString());
    setWindowIcon(Pictures::programIcon());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Picture1 = new QWidget(central);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedHeight(tw(495));
    shell::paintGround(Picture1);
    layout->addWidget(Picture1);

    const QFont labelFont = varnel::varnelFont(varnel::VarnelFont::Akshara, 14.25);
    for (int i = 0; i < MenuStrip::kLabels; ++i) {
        const StripLabel& def = stripLabels()[i];
        auto* shape = new ShapeWidget(ShapeWidget::Kind::Rectangle, Picture1);
        shape->setObjectName(QStringLiteral("Shape%1").arg(i + 1));
        shape->setGeometry(def.shape);
        shape->setFillColour(shell::kWhite);
        shape->setBorderColour(shell::kBlack);
        shape->hide();
        Shape[i] = shape;
    }
    for (int i = 0; i < MenuStrip::kLabels; ++i) {
        const StripLabel& def = stripLabels()[i];
        auto* label = new varnel::VarnelLabel(Picture1);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setGeometry(def.label);
        label->setFont(labelFont);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setCaption(QByteArray(def.caption));
        Label[i] = label;
        const int n = i + 1;
        MouseHooks::on(label)
            ->onClick([this, n](QMouseEvent*) { labelClick(n); })
            .onMove([this, n](QMouseEvent*) { labelMouseMove(n); });
    }
    m_keyboardState = new KeyboardIndicator(Picture1);
    m_menuKeys = new MenuKeys(this);
    MouseHooks::on(Picture1)
        ->backgroundOnly()
        .onClick([this](QMouseEvent*) { Picture1_Click(); })
        .onMove([this](QMouseEvent*) { Picture1_MouseMove(); });

    m_mdiArea = new QMdiArea(central);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_mdiArea->setBackground(shell::kFormColour);
    m_mdiArea->setFrameShape(QFrame::NoFrame);
    m_mdiArea->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    layout->addWidget(m_mdiArea, 1);
    MouseHooks::on(m_mdiArea->viewport())
        ->backgroundOnly()
        .onClick([this](QMouseEvent*) { MDIForm_Click(); })
        .onMove([this](QMouseEvent*) { MDIForm_MouseMove(); });

    setCentralWidget(central);
    shell::showStatusLine(this);
    loaded = this;
    MDIForm_Load();
}

frmMDI::~frmMDI()
{
    if (loaded == this)
        loaded = nullptr;
}

frmMDI* frmMDI::instance()
{
    return loaded;
}

frmMenu* frmMDI::popup(int n) const
{
    return m_popups[n - 1];
}

void frmMDI::MDIForm_Load()
{
    // Where no window manager maximises it, the restored size fills the screen as well.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
}

void frmMDI::labelClick(int n)
{
    m_strip.labelClick(n);
    showStrip();
}

void frmMDI::labelMouseMove(int n)
{
    m_strip.labelHover(n);
    showStrip();
}

void frmMDI::MDIForm_Click()
{
    m_strip.closeAll();
    showStrip();
}

void frmMDI::MDIForm_MouseMove()
{
    m_strip.backgroundHover();
    showStrip();
}

void frmMDI::Picture1_Click()
{
    MDIForm_Click();
}

void frmMDI::Picture1_MouseMove()
{
    MDIForm_MouseMove();
}

void frmMDI::Label1_Click()
{
    labelClick(1);
}
void frmMDI::Label2_Click()
{
    labelClick(2);
}
void frmMDI::Label3_Click()
{
    labelClick(3);
}
void frmMDI::Label4_Click()
{
    labelClick(4);
}
void frmMDI::Label1_MouseMove()
{
    labelMouseMove(1);
}
void frmMDI::Label2_MouseMove()
{
    labelMouseMove(2);
}
void frmMDI::Label3_MouseMove()
{
    labelMouseMove(3);
}
void frmMDI::Label4_MouseMove()
{
    labelMouseMove(4);
}

void frmMDI::showStrip()
{
    for (int n = 1; n <= MenuStrip::kLabels; ++n)
        Shape[n - 1]->setVisible(m_strip.highlighted(n));
    const int open = m_strip.openPopup();
    for (int n = 1; n <= MenuStrip::kLabels; ++n) {
        QPointer<frmMenu>& popup = m_popups[n - 1];
        if (n != open && popup) {
            // Unloaded; deleted once the event that got here (maybe its own click) is done.
            popup->hide();
            popup->deleteLater();
            popup = nullptr;
        }
    }
    if (open == 0)
        return;
    QPointer<frmMenu>& popup = m_popups[open - 1];
    if (!popup)
        popup = new frmMenu(open, m_mdiArea->viewport(),
                            {Label[open - 1]->x(), this, [this] { MDIForm_Click(); }});
    popup->show();
    popup->raise();
}

void frmMDI::closeEvent(QCloseEvent* event)
{
    event->accept();
    shell::endProgram();
}
