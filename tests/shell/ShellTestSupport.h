#pragma once

#include <functional>

#include <QList>
#include <QPoint>
#include <Qt>

class QWidget;
class frmMDI;

// Counts shell::endProgram calls instead of leaving the event loop, while it lives.
class EndProgramRecorder {
public:
    EndProgramRecorder();
    ~EndProgramRecorder();
    int calls = 0;

private:
    std::function<void()> m_previous;
};

// Runs `act` on the modal dialog once one is shown (polls every 10 ms, up to 5 s), so a test
// can answer a dialog that the code under test shows with exec().
void whenModal(const std::function<void(QWidget*)>& act);

// Every main window alive (loaded), visible or not.
QList<frmMDI*> mainWindows();
// Deletes every main window and the pop-ups and working windows inside it.
void unloadMainWindows();

// Mouse input as the platform delivers it: to the top-level window at the widget's point, so
// that the widget under the pointer (not the one named) receives it.
void moveTo(QWidget* widget, QPoint pos = {});
void clickAt(QWidget* widget, QPoint pos = {}, Qt::MouseButton button = Qt::LeftButton);
void pressAt(QWidget* widget, QPoint pos = {}, Qt::MouseButton button = Qt::LeftButton);
void releaseAt(QWidget* widget, QPoint pos = {}, Qt::MouseButton button = Qt::LeftButton);
