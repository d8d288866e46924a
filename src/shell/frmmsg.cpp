#include "shell/frmmsg.h"

#include <QKeyEvent>
#include <QPushButton>

#include "shell/DialogHooks.h"
#include "shell/Twips.h"
#include "widgets/VarnelLabel.h"

frmmsg::frmmsg(QWidget* parent, Pictures::Icon picture)
    : MessageDialogBase(parent, 4845, 1905, picture, 4920, 1080)
{
    setObjectName(QStringLiteral("frmmsg"));
    Command1 = makeButton(QByteArray("\xB8\xC0\x6A"), twRect(1642, 1320, 1560, 495), 14.25);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command1->setFocus();
    connect(Command1, &QPushButton::clicked, this, &frmmsg::Command1_Click);
}

void frmmsg::Command1_Click()
{
    accept();
}

void frmmsg::keyPressEvent(QKeyEvent* event)
{
    // The dialog has no cancel button, so Escape does nothing; OK is the only way on.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    MessageDialogBase::keyPressEvent(event);
}

void frmmsg::showMessage(const QByteArray& varnel, QWidget* parent)
{
    if (DialogHooks* hooks = DialogHooks::current()) {
        hooks->message(varnel);
        return;
    }
    frmmsg dialog(parent);
    dialog.Label1->setCaption(varnel);
    dialog.growToFitText();
    dialog.exec();
}

void frmmsg::showText(const QString& unicodeKannada, QWidget* parent)
{
    if (DialogHooks* hooks = DialogHooks::current()) {
        hooks->text(unicodeKannada);
        return;
    }
    frmmsg dialog(parent);
    dialog.Label1->setText(unicodeKannada);
    dialog.growToFitText();
    dialog.exec();
}

void frmmsg::showNotice(const QString& unicodeKannada, QWidget* parent)
{
    if (DialogHooks* hooks = DialogHooks::current()) {
        hooks->text(unicodeKannada);
        return;
    }
    frmmsg dialog(parent, Pictures::Icon::Information);
    dialog.Label1->setText(unicodeKannada);
    dialog.growToFitText();
    dialog.exec();
}
