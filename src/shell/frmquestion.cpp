#include "shell/frmquestion.h"

#include <QPushButton>

#include "shell/DialogHooks.h"
#include "shell/Twips.h"
#include "widgets/VarnelLabel.h"

bool frmquestion::msg_Value = false;

frmquestion::frmquestion(QWidget* parent)
    : MessageDialogBase(parent, 4845, 2055, Pictures::Icon::Question, 4800, 1200)
{
    setObjectName(QStringLiteral("frmquestion"));
    CmdYes = makeButton(QByteArray("\xBA\xCB\x7A\xC0\xC4"), twRect(240, 1440, 1335, 495), 15.75);
    CmdYes->setObjectName(QStringLiteral("CmdYes"));
    CmdNo = makeButton(QByteArray("\x45\xAE\xE8"), twRect(3240, 1440, 1335, 495), 15.75);
    CmdNo->setObjectName(QStringLiteral("CmdNo"));
    CmdYes->setDefault(true);
    CmdYes->setFocus();
    connect(CmdYes, &QPushButton::clicked, this, &frmquestion::CmdYes_Click);
    connect(CmdNo, &QPushButton::clicked, this, &frmquestion::CmdNo_Click);
}

void frmquestion::CmdYes_Click()
{
    done(Accepted);
    msg_Value = true;
}

void frmquestion::CmdNo_Click()
{
    done(Rejected);
    msg_Value = false;
}

// Escape and every close other than the two buttons end here.
void frmquestion::reject()
{
    CmdNo_Click();
}

bool frmquestion::ask(const QByteArray& varnelQuestion, QWidget* parent)
{
    if (DialogHooks* hooks = DialogHooks::current()) {
        msg_Value = hooks->question(varnelQuestion);
        return msg_Value;
    }
    msg_Value = false;
    frmquestion dialog(parent);
    dialog.Label1->setCaption(varnelQuestion);
    dialog.growToFitText();
    dialog.exec();
    return msg_Value;
}

bool frmquestion::askText(const QString& unicodeQuestion, QWidget* parent)
{
    if (DialogHooks* hooks = DialogHooks::current()) {
        msg_Value = hooks->questionText(unicodeQuestion);
        return msg_Value;
    }
    msg_Value = false;
    frmquestion dialog(parent);
    dialog.Label1->setText(unicodeQuestion);
    dialog.growToFitText();
    dialog.exec();
    return msg_Value;
}
