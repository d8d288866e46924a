#include "shell/DialogScript.h"

DialogScript::DialogScript() : previous_(DialogHooks::install(this)) {}

DialogScript::~DialogScript()
{
    DialogHooks::install(previous_);
}

DialogScript& DialogScript::answer(bool yes)
{
    answers_.append(yes);
    return *this;
}

void DialogScript::message(const QByteArray& varnel)
{
    messages.append(varnel);
}

void DialogScript::text(const QString& unicode)
{
    texts.append(unicode);
}

bool DialogScript::question(const QByteArray& varnel)
{
    questions.append(varnel);
    return answers_.isEmpty() ? defaultAnswer : answers_.takeFirst();
}

void DialogScript::saveNotice()
{
    ++notices;
}
