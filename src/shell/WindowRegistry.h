#pragma once

#include <functional>

#include <QString>

class QWidget;

// The one place that opens working windows by name. Each window registers a factory under its
// documented name (frmlocal, frmfind1, frmreport, …); the menus open windows only through here.
//
// A new window is made by its factory and shown as a child window of the main window's client
// area. A window that wants to open maximised says so in its load handler (its constructor)
// with setWindowState(Qt::WindowMaximized); the child window frame takes that state over.
// A window that is already open comes to the front unchanged. Closing a window (or
// unloadChildWindow) removes it, so the next opening makes it afresh.
using ChildWindowFactory = std::function<QWidget*()>;

enum class WindowOpening {
    Busy,  // the hourglass while the window loads (registers, searches, reports)
    Plain, // no pointer change (the help window)
};

void registerChildWindow(const QString& name, ChildWindowFactory factory);
// Forgets the factory of `name`; the menus' entry for it then only closes the pop-ups.
void unregisterChildWindow(const QString& name);
// Whether a factory is registered under `name` (a menu shows an optional entry only then).
bool isChildWindowRegistered(const QString& name);

// Opens (or brings forward) the window `name`. `beforeShow` runs on the window between loading
// and showing, whether it was just made or already open. Returns the window, or nullptr for a
// name nothing has registered (then nothing happens) or when there is no main window.
QWidget* openChildWindow(const QString& name, const std::function<void(QWidget*)>& beforeShow = {},
                         WindowOpening opening = WindowOpening::Busy);

// The open window `name`, or nullptr.
QWidget* childWindow(const QString& name);

// Unloads a working window: closes its child window frame (or the widget itself when it has
// none). For a window's own close command, e.g. its back button.
void unloadChildWindow(QWidget* window);
