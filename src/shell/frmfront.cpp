#include "shell/frmfront.h"

#include <cstdio>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "shell/BusyPointer.h"
#include "shell/MouseHooks.h"
#include "shell/Pictures.h"
#include "shell/ProgramExit.h"
#include "shell/ShellColours.h"
#include "shell/Twips.h"
#include "shell/frmMDI.h"

namespace {

constexpr int kEscape = 27;
constexpr int kBorder = 1; // the thin fixed border of a tool window

// The character a key press produces, or 0 for keys without one (function keys, arrows,
// Shift and the like).
int characterOf(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape: return kEscape;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    default: break;
    }
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return 0;
    return text.at(0).unicode();
}

} // namespace

frmfront::frmfront(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmfront"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString());
    setWindowIcon(Pictures::programIcon());
    const QSize client(tw(5580), tw(4215));
    setFixedSize(client + QSize(2 * kBorder, 2 * kBorder));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, shell::kFormColour);
    setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    MouseHooks::on(this)->onClick([this](QMouseEvent*) { Form_Click(); });
}

void frmfront::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect client = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    p.fillRect(rect(), QColor(64, 64, 64));
    p.fillRect(client, shell::kFormColour);
    // The picture starts at the client area's corner and is cut at its edges.
    p.setClipRect(client);
    p.drawPixmap(client.topLeft(), Pictures::frontPicture());
    // With VELMORA_FRONT_SHOWN=1 in the environment the program says on standard error when
    // the front screen is first painted (scripts/check-install.sh waits for that line).
    static bool told = false;
    if (!told && qEnvironmentVariableIntValue("VELMORA_FRONT_SHOWN") == 1) {
        told = true;
        std::fputs("velmora: front screen shown\n", stderr);
    }
}

void frmfront::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (m_dismissed)
        return;
    const int character = characterOf(event);
    if (character != 0)
        Form_KeyPress(character);
}

void frmfront::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    if (!m_dismissed && !event->isAutoRepeat())
        Form_KeyUp(event->key() == Qt::Key_Escape ? kEscape : event->key());
}

void frmfront::Form_Click()
{
    OpenMainWindow();
}

void frmfront::Form_KeyPress(int KeyAscii)
{
    if (KeyAscii == kEscape)
        EndProgram();
    else
        OpenMainWindow();
}

void frmfront::Form_KeyUp(int KeyCode)
{
    if (KeyCode == kEscape)
        EndProgram();
    else
        OpenMainWindow();
}

void frmfront::EndProgram()
{
    // The release of the Escape that ended the program does nothing more.
    m_dismissed = true;
    shell::endProgram();
}

void frmfront::OpenMainWindow()
{
    // A key's press and its release, or a click queued behind a key, open one main window.
    if (m_dismissed)
        return;
    m_dismissed = true;
    close();
    BusyPointer busy;
    auto* main = frmMDI::instance() ? frmMDI::instance() : new frmMDI;
    main->show();
}

void frmfront::closeEvent(QCloseEvent* event)
{
    event->accept();
    // Closed by the platform before it was dismissed: nothing is left, so the program ends.
    if (!m_dismissed) {
        m_dismissed = true;
        shell::endProgram();
    }
}
