#include "shell/frmabout.h"

#include <QKeyEvent>
#include <QLabel>

#include "data/Version.h"
#include "platform/varnel/VarnelCodec.h"
#include "shell/ImageButton.h"
#include "shell/ImageButtonPanel.h"
#include "shell/MouseHooks.h"
#include "shell/Pictures.h"
#include "shell/ShellColours.h"
#include "shell/ShellTexts.h"
#include "shell/Twips.h"
#include "widgets/VarnelFonts.h"
#include "widgets/VarnelLabel.h"

namespace {

using varnel::VarnelFont;

varnel::VarnelLabel* makeLabel(QWidget* form, const char* name, const QRect& place,
                               const QFont& font)
{
    auto* label = new varnel::VarnelLabel(form);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    label->setFont(font);
    return label;
}

void setTextColour(QWidget* w, const QColor& colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    w->setPalette(pal);
}

// A documented Varnel lead-in followed by a text of our own.
QString creditLine(const char* varnelLeadIn, const QString& rest)
{
    return varnel::decode(QByteArray(varnelLeadIn)) + rest;
}

} // namespace

frmabout::frmabout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmabout"));
    setWindowTitle(QString());
    setModal(true);
    setGeometry(twRect(3000, 2340, 6480, 4200));
    setFixedSize(size());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, shell::kFormColour);
    setPalette(pal);
    setAutoFillBackground(true);

    // The white title lies behind the dark one, one pixel lower right: a white edge.
    const QFont title = varnel::varnelFont(VarnelFont::Akshara08, 45.75, true);
    Label5 = makeLabel(this, "Label5", twRect(330, 135, 4200, 960), title);
    Label5->setText(shell::productName());
    setTextColour(Label5, shell::kWhite);
    Label3 = makeLabel(this, "Label3", twRect(315, 120, 4215, 1095), title);
    Label3->setText(shell::productName());
    setTextColour(Label3, QColor(0, 0, 128));

    Label6 = makeLabel(this, "Label6", twRect(3000, 840, 1335, 375),
                       varnel::varnelFont(VarnelFont::Akshara, 15));
    Label6->setCaption(QByteArray("\x44\xAA\xC0\xC8\x77\xDB\x20" VELMORA_VERSION));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twRect(120, 1080, 480, 480));
    Image1->setPixmap(Pictures::icon(Pictures::Icon::Program));

    const QFont body = varnel::varnelFont(VarnelFont::Akshara, 14.25);
    Label10 = makeLabel(this, "Label10", twRect(720, 1200, 1335, 315), body);
    Label10->setText(shell::productName());
    Label10->setAlignment(Qt::AlignCenter);
    Label10->setFrameShape(QFrame::Box);
    Label10->setLineWidth(1);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twRect(240, 1680, 6135, 135));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);

    Label2 = makeLabel(this, "Label2", twRect(1350, 1920, 4965, 375),
                       varnel::varnelFont(VarnelFont::Akshara, 14.25, true));
    Label2->setText(creditLine("\x76\xC0\x41\x76\xC1\xE6\x41\xB1\xC0\x20\x43\xA9\xFC\xAA\xC0\xC8"
                               "\xA2\xDE\x3A\x20",
                               shell::teamName()));
    Label1 = makeLabel(this, "Label1", twRect(1350, 2280, 4575, 1035), body);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setText(shell::licenceText());

    const QFont small = varnel::varnelFont(VarnelFont::Akshara02, 12);
    Label4 = makeLabel(this, "Label4", twRect(1350, 3420, 2205, 375), small);
    Label4->setText(creditLine("\xA4\xAA\xC0\x69\xC1\xF0\x74\x3A\x20", shell::teamName()));
    Label7 = makeLabel(this, "Label7", twRect(1350, 3780, 3975, 315), small);
    Label7->setText(
        creditLine("\xAA\xC0\xC4\xC4\x52\xA5\xC0\xC4\x6C\x20\xAB\xA3\xC1\xE5\xB8\xC0\x3A\x20",
                   shell::teamName()));

    buttons = new ImageButtonPanel(this);
    ImageButtonLayout exit;
    exit.iconName = QStringLiteral("ImageExit");
    exit.discName = QStringLiteral("ShapeExit");
    exit.captionName = QStringLiteral("Label0(1)");
    exit.picture = Pictures::icon(Pictures::Icon::Back);
    exit.iconAt = QPoint(5580, 300);
    exit.disc = ImageButtonLayout::kAboutDisc;
    exit.caption = shell::backCaption();
    exit.captionColour = QColor(128, 0, 0);
    exit.captionFont = small;
    // Under the icon like the registers' captions, but kept inside the card.
    exit.captionRect = QRect(5160, 975, 1215, 315);
    ImageExit = buttons->add(exit);
    connect(ImageExit, &ImageButton::clicked, this, &frmabout::ImageExit_Click);

    MouseHooks::on(this)
        ->backgroundOnly()
        .onClick([this](QMouseEvent*) { Form_Click(); })
        .onMove([this](QMouseEvent*) { Form_MouseMove(); });
}

void frmabout::Form_Click()
{
    reject();
}

void frmabout::Form_KeyDown(int KeyCode)
{
    if (KeyCode == Qt::Key_Escape)
        reject();
}

void frmabout::ImageExit_Click()
{
    reject();
}

void frmabout::Form_MouseMove()
{
    buttons->reset();
}

void frmabout::keyPressEvent(QKeyEvent* event)
{
    Form_KeyDown(event->key());
    event->accept();
}
