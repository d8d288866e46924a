#pragma once

#include <QByteArray>
#include <QString>

// Stands in for the three dialogs while installed, so that logic can be driven without an
// event loop: questions get scripted answers, messages and notices are recorded. The dialogs'
// static entry points (frmmsg, frmquestion, frmsave) ask it first. Only tests install hooks
// (tests/support/shell/DialogScript.h); the program always shows the real dialogs.
class DialogHooks {
public:
    virtual ~DialogHooks();

    virtual void message(const QByteArray& varnel) = 0;
    virtual void text(const QString& unicode) = 0;
    virtual bool question(const QByteArray& varnel) = 0;
    // A question in Unicode Kannada (one naming a file); scripted like the others.
    virtual bool questionText(const QString& unicode) { return question(unicode.toUtf8()); }
    virtual void saveNotice() = 0;

    // The installed hooks, or nullptr when the real dialogs are shown.
    static DialogHooks* current();
    // Installs `hooks` (nullptr removes them) and returns the ones installed before.
    static DialogHooks* install(DialogHooks* hooks);
};
