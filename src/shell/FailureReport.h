#pragma once

#include <exception>
#include <functional>

#include <QString>

class QWidget;

// A failure ends the running handler at that step; the user sees its text in the message
// dialog and the program goes on. For an engine error the text carries its number.
QString failureText(const std::exception& error);
void reportFailure(const std::exception& error, QWidget* parent = nullptr);
// For something thrown that is not a std::exception.
void reportUnknownFailure(QWidget* parent = nullptr);

// Runs a window's handler so that whatever it throws is reported over `window` and stops
// there: nothing crosses Qt's event dispatch.
void runReported(QWidget* window, const std::function<void()>& handler);
// As above, with `then` run once the handler has ended, however it ended, and before a failure
// is shown: a menu closes its pop-ups first, so the message stands over a tidy window.
void runReported(QWidget* window, const std::function<void()>& handler,
                 const std::function<void()>& then);
