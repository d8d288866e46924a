#pragma once

#include <QByteArrayList>
#include <QList>
#include <QStringList>

#include "shell/DialogHooks.h"

// Dialog hooks for tests: installed while it lives. Questions take the queued answers in order,
// then `defaultAnswer`; every question, message and notice is recorded.
class DialogScript : public DialogHooks {
public:
    DialogScript();
    ~DialogScript() override;

    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    DialogScript& answer(bool yes);

    void message(const QByteArray& varnel) override;
    void text(const QString& unicode) override;
    bool question(const QByteArray& varnel) override;
    void saveNotice() override;

    QByteArrayList questions;
    QByteArrayList messages;
    QStringList texts;
    int notices = 0;
    bool defaultAnswer = false;

private:
    QList<bool> answers_;
    DialogHooks* previous_;
};
