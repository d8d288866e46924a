#include "shell/MessageDialogBase.h"

#include <QLabel>
#include <QPushButton>

#include "platform/varnel/VarnelCodec.h"
#include "shell/DialogButton.h"
#include "shell/ShapeWidget.h"
#include "shell/ShellColours.h"
#include "shell/Twips.h"
#include "shell/WindowGround.h"
#include "widgets/VarnelFonts.h"
#include "widgets/VarnelLabel.h"

MessageDialogBase::MessageDialogBase(QWidget* parent, int clientWidth, int clientHeight,
                                     Pictures::Icon picture, int ruleRight, int ruleTop)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("-"));
    setFixedSize(tw(clientWidth), tw(clientHeight));
    setModal(true);
    shell::paintGround(this);
    setFont(varnel::varnelFont(varnel::VarnelFont::Akshara, 14.25));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twRect(120, 120, 480, 480));
    Image1->setPixmap(Pictures::icon(picture));

    Label1 = new varnel::VarnelLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twRect(720, 120, 3975, 975));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setFont(font());

    Line1 = new ShapeWidget(ShapeWidget::Kind::Rectangle, this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setBorderWidth(0);
    Line1->setFillColour(shell::kBlack);
    Line1->setGeometry(0, tw(ruleTop), tw(ruleRight), 1);
}

QPushButton* MessageDialogBase::makeButton(const QByteArray& caption, const QRect& place,
                                           qreal points)
{
    QPushButton* button =
        shell::dialogButton(varnel::decode(caption), this, varnel::VarnelFont::Akshara08, points);
    button->setGeometry(place);
    return button;
}

void MessageDialogBase::growToFitText()
{
    const int needed = Label1->heightForWidth(Label1->width());
    const int extra = needed - Label1->height();
    if (extra <= 0)
        return;
    const int ruleTop = Line1->y();
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->y() >= ruleTop)
            child->move(child->x(), child->y() + extra);
    }
    Label1->resize(Label1->width(), needed);
    setFixedSize(width(), height() + extra);
}
