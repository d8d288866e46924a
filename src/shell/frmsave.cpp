#include "shell/frmsave.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include "shell/DialogFrame.h"
#include "shell/DialogHooks.h"
#include "shell/Pictures.h"
#include "shell/ShellColours.h"
#include "shell/Twips.h"
#include "shell/WindowGround.h"
#include "widgets/VarnelFonts.h"
#include "widgets/VarnelLabel.h"

frmsave::frmsave(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_frame(new DialogFrame(QSize(tw(3615), tw(720)), this))
{
    setObjectName(QStringLiteral("frmsave"));
    setModal(true);
    setFixedSize(m_frame->size());
    QWidget* client = m_frame->client();
    shell::paintGround(client, shell::kFormColour);

    Image1 = new QLabel(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twRect(120, 0, 480, 480));
    Image1->setPixmap(Pictures::icon(Pictures::Icon::SaveNotice));

    Label2 = new varnel::VarnelLabel(client);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(twRect(720, 60, 2610, 375));
    Label2->setFont(varnel::varnelFont(varnel::VarnelFont::Akshara08, 18));
    Label2->setCaption(
        QByteArray("\x47\xBD\xB8\xC0\xAF\xC1\x55\xC0\xC4\x77\xDB\x7A\xC9\x2E\x2E\x2E\x2E\x2E"));

    for (int k = 0; k < kCells; ++k) {
        auto* cell = new QLabel(client);
        cell->setObjectName(QStringLiteral("Label1(%1)").arg(k));
        cell->setGeometry(twRect(360 * k, 420, 375, 345));
        cell->setFrameShape(QFrame::Box);
        cell->setLineWidth(1);
        shell::paintGround(cell, shell::kCellColour);
        Label1[k] = cell;
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kInterval);
    connect(Timer1, &QTimer::timeout, this, &frmsave::Timer1_Timer);

    Form_Load();
    Timer1->start();
}

void frmsave::Form_Load()
{
    move(twPoint(2000, 2000));
}

void frmsave::Timer1_Timer()
{
    if (CellIndex >= 0 && CellIndex < kCells) {
        shell::paintGround(Label1[CellIndex], shell::kCellPainted);
        ++CellIndex;
    } else if (CellIndex == kCells) {
        CellIndex = 0;
        Timer1->stop();
        accept();
    }
}

bool frmsave::cellPainted(int k) const
{
    return Label1[k]->palette().color(QPalette::Window) == shell::kCellPainted;
}

void frmsave::keyPressEvent(QKeyEvent* event)
{
    // The notice closes itself; no key ends it early.
    event->accept();
}

void frmsave::showNotice(QWidget* parent)
{
    if (DialogHooks* hooks = DialogHooks::current()) {
        hooks->saveNotice();
        return;
    }
    frmsave notice(parent);
    notice.exec();
}
