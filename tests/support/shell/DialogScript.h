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
    DialogScript() : m_previous(DialogHooks::install(this)) {}
    ~DialogScript() override { DialogHooks::install(m_previous); }

    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    DialogScript& answer(bool yes)
    {
        m_answers.append(yes);
        return *this;
    }

    void message(const QByteArray& varnel) override { messages.append(varnel); }
    void text(const QString& unicode) override { texts.append(unicode); }
    bool question(const QByteArray& varnel) override
    {
        questions.append(varnel);
        return m_answers.isEmpty() ? defaultAnswer : m_answers.takeFirst();
    }
    void saveNotice() override { ++notices; }

    QByteArrayList questions;
    QByteArrayList messages;
    QStringList texts;
    int notices = 0;
    bool defaultAnswer = false;

private:
    QList<bool> m_answers;
    DialogHooks* m_previous;
};
