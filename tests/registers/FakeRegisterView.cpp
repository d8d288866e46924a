#include "FakeRegisterView.h"

void FakeRegisterView::scrollTo(int value)
{
    if (navEnabled)
        setNavigatorValue(value);
}

QByteArray FakeRegisterView::shownText(int ordinal) const
{
    return text(ordinal).bytes;
}

varnel::Encoded FakeRegisterView::text(int ordinal) const
{
    const TextField f = texts.value(ordinal);
    if (f.typed)
        return varnel::encode(*f.typed);
    return varnel::Encoded{f.stored, {}};
}

void FakeRegisterView::setNavigatorMaximum(int maximum)
{
    navMax = maximum;
    if (navValue > maximum) // a scroll bar pulls its value in, and reports the change
        setNavigatorValue(maximum);
}

void FakeRegisterView::setNavigatorValue(int value)
{
    value = qBound(1, value, navMax);
    if (value == navValue)
        return;
    navValue = value;
    if (editor)
        editor->VScroll1_Change();
}

bool FakeRegisterView::ask(const QByteArray& question)
{
    questions << question;
    return answers.isEmpty() ? false : answers.takeFirst();
}
