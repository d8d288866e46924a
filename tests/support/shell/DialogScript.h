#pragma once

#include <QByteArrayList>
#include <QList>
#include <QStringList>

#include "shell/DialogHooks.h"

// Dialog hooks for tests: installed while it lives. Questions take the queued answers in order,
// then `defaultAnswer`; every question, message and notice is recorded.
//
// Test code only, so it stays out of the program; header-only, so that any test that includes
// it needs nothing more than the shell library.
class DialogScript : public DialogHooks {
public:
    DialogScript() : previous_(DialogHooks::install(this)) {}
    ~DialogScript() override { DialogHooks::install(previous_); }

    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    DialogScript& answer(bool yes)
    {
        answers_.append(yes);
        return *this;
    }

    void message(const QByteArray& varnel) override { messages.append(varnel); }
    void text(const QString& unicode) override { texts.append(unicode); }
    bool question(const QByteArray& varnel) override
    {
        questions.append(varnel);
        return answers_.isEmpty() ? defaultAnswer : answers_.takeFirst();
    }
    void saveNotice() override { ++notices; }

    QByteArrayList questions;
    QByteArrayList messages;
    QStringList texts;
    int notices = 0;
    bool defaultAnswer = false;

private:
    QList<bool> answers_;
    DialogHooks* previous_;
};
