#include <QCalendarWidget>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include "widgets/DateTimePicker.h"
#include "widgets/KannadaCalendar.h"
#include "widgets/KannadaDateTimeEdit.h"

using namespace varnel;

class TestDateTimePicker : public QObject {
    Q_OBJECT
private slots:
    void showsKannadaDigits_data();
    void showsKannadaDigits();
    void valueSetInCodeEmitsNothing();
    void arrowKeysChangeTheCurrentSection_data();
    void arrowKeysChangeTheCurrentSection();
    void typedDigitsChangeTheValue_data();
    void typedDigitsChangeTheValue();
    void kannadaDigitsFromAnInputMethod();
    void clickIntoASectionAndType_data();
    void clickIntoASectionAndType();
    void tabLeavesThePickerAtOnce();
    void keepsWhatTheFormatDoesNotShow();
    void enabledFollowsTheWrapper();
    void datesHaveACalendarPopup();
};

namespace {

const QString dateFormat = QStringLiteral("dd/MM/yyyy   ");
const QString timeFormat = QStringLiteral("HH:mm");

QLineEdit* lineEditOf(DateTimePicker& picker)
{
    return picker.editor()->findChild<QLineEdit*>();
}

// As the user tabs into the picker: its window active, the first section selected.
bool tabInto(DateTimePicker& picker)
{
    picker.show();
    picker.activateWindow();
    if (!QTest::qWaitForWindowActive(&picker))
        return false;
    picker.setFocus(Qt::TabFocusReason);
    return picker.editor()->hasFocus();
}

// A key as a keyboard or an input method delivers it: with its text, maybe a Kannada digit.
void typeCharacter(QWidget* widget, QChar c)
{
    const int key = c.isDigit() && c.unicode() < 0x80 ? Qt::Key_0 + (c.unicode() - u'0') : 0;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

// The middle of the character at `index` of the picker's text, where a user clicks.
QPoint pointAtCharacter(QLineEdit* line, int index)
{
    const QFontMetrics metrics(line->font());
    const QString text = line->text();
    const int x = metrics.horizontalAdvance(text.left(index)) +
                  metrics.horizontalAdvance(text.mid(index, 1)) / 2;
    const QRect r = line->contentsRect();
    const QMargins m = line->textMargins();
    return QPoint(r.left() + m.left() + 2 + x, r.center().y());
}

} // namespace

void TestDateTimePicker::showsKannadaDigits_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("date, three blanks after the year")
        << dateFormat << QDateTime(QDate(2024, 3, 5), QTime(10, 0))
        << QStringLiteral("೦೫/೦೩/೨೦೨೪   ");
    QTest::newRow("time at 9:05 in the evening")
        << timeFormat << QDateTime(QDate(2024, 3, 5), QTime(21, 5, 33)) << QStringLiteral("೨೧:೦೫");
    QTest::newRow("last day") << dateFormat << QDateTime(QDate(9999, 12, 31), QTime(0, 0))
                              << QStringLiteral("೩೧/೧೨/೯೯೯೯   ");
}

void TestDateTimePicker::showsKannadaDigits()
{
    QFETCH(QString, format);
    QFETCH(QDateTime, value);
    QFETCH(QString, shown);
    DateTimePicker picker;
    picker.setCustomFormat(format);
    picker.setValue(value);
    QCOMPARE(lineEditOf(picker)->text(), shown);
    QCOMPARE(picker.Value(), value);
}

void TestDateTimePicker::valueSetInCodeEmitsNothing()
{
    DateTimePicker picker;
    QSignalSpy changes(&picker, &DateTimePicker::Change);
    picker.setCustomFormat(timeFormat);
    picker.setValue(QDateTime(QDate(2024, 1, 1), QTime(8, 30, 12)));
    picker.setValue(QDateTime(QDate(2025, 6, 1), QTime(9, 45, 59)));
    picker.setCustomFormat(dateFormat);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(picker.Value(), QDateTime(QDate(2025, 6, 1), QTime(9, 45, 59)));
}

void TestDateTimePicker::arrowKeysChangeTheCurrentSection_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("key");
    QTest::addColumn<QDateTime>("expected");
    // The first section is current when the picker gets the focus.
    const QDateTime start(QDate(2024, 3, 5), QTime(21, 5, 33));
    QTest::newRow("date up: next day") << dateFormat << int(Qt::Key_Up) << start.addDays(1);
    QTest::newRow("date down: day before") << dateFormat << int(Qt::Key_Down) << start.addDays(-1);
    QTest::newRow("time up: next hour, seconds kept")
        << timeFormat << int(Qt::Key_Up) << start.addSecs(3600);
}

void TestDateTimePicker::arrowKeysChangeTheCurrentSection()
{
    QFETCH(QString, format);
    QFETCH(int, key);
    QFETCH(QDateTime, expected);
    DateTimePicker picker;
    picker.setCustomFormat(format);
    picker.setValue(QDateTime(QDate(2024, 3, 5), QTime(21, 5, 33)));
    QVERIFY(tabInto(picker));
    QSignalSpy changes(&picker, &DateTimePicker::Change);
    QTest::keyClick(picker.editor(), Qt::Key(key));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(picker.Value(), expected);
    QVERIFY(!lineEditOf(picker)->text().contains(QRegularExpression(QStringLiteral("[0-9]"))));
}

void TestDateTimePicker::typedDigitsChangeTheValue_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDateTime>("expected");
    QTest::addColumn<QString>("shown");
    QTest::newRow("time") << timeFormat << QStringLiteral("0740")
                          << QDateTime(QDate(2024, 3, 5), QTime(7, 40, 33))
                          << QStringLiteral("೦೭:೪೦");
    QTest::newRow("date") << dateFormat << QStringLiteral("17082026")
                          << QDateTime(QDate(2026, 8, 17), QTime(21, 5, 33))
                          << QStringLiteral("೧೭/೦೮/೨೦೨೬   ");
    QTest::newRow("year, the caret put there by arrow keys")
        << dateFormat << QStringLiteral(">>>>>>>2030")
        << QDateTime(QDate(2030, 3, 5), QTime(21, 5, 33)) << QStringLiteral("೦೫/೦೩/೨೦೩೦   ");
}

// Typing over the sections, as a user does with the keyboard alone.
void TestDateTimePicker::typedDigitsChangeTheValue()
{
    QFETCH(QString, format);
    QFETCH(QString, typed);
    QFETCH(QDateTime, expected);
    QFETCH(QString, shown);
    DateTimePicker picker;
    picker.setCustomFormat(format);
    picker.setValue(QDateTime(QDate(2024, 3, 5), QTime(21, 5, 33)));
    QVERIFY(tabInto(picker));
    QSignalSpy changes(&picker, &DateTimePicker::Change);
    for (QChar c : typed) // '>' is the Right arrow key
        c == u'>' ? QTest::keyClick(picker.editor(), Qt::Key_Right)
                  : QTest::keyClick(picker.editor(), c.toLatin1());
    QCOMPARE(picker.Value(), expected);
    QCOMPARE(lineEditOf(picker)->text(), shown);
    QCOMPARE(changes.count(), 1); // once the value is whole, never for the digits on the way
}

void TestDateTimePicker::kannadaDigitsFromAnInputMethod()
{
    DateTimePicker picker;
    picker.setCustomFormat(timeFormat);
    picker.setValue(QDateTime(QDate(2024, 3, 5), QTime(21, 5, 33)));
    QVERIFY(tabInto(picker));
    QLineEdit* line = lineEditOf(picker);
    line->setSelection(0, 2);
    QInputMethodEvent event;
    event.setCommitString(QStringLiteral("೦೯"));
    QCoreApplication::sendEvent(line, &event);
    QCOMPARE(picker.Value().time(), QTime(9, 5, 33));
    QCOMPARE(line->text(), QStringLiteral("೦೯:೦೫"));
}

void TestDateTimePicker::clickIntoASectionAndType_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("clickAt"); // a character of the shown text
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDateTime>("expected");
    QTest::addColumn<bool>("inputMethod"); // committed by an input method, not typed as keys
    const QDate day(2024, 3, 5);
    const QTime time(21, 5, 33);
    QTest::newRow("month, ASCII digits")
        << dateFormat << 4 << QStringLiteral("11") << QDateTime(QDate(2024, 11, 5), time) << false;
    QTest::newRow("year, Kannada digits")
        << dateFormat << 8 << QStringLiteral("೨೦೩೦") << QDateTime(QDate(2030, 3, 5), time) << false;
    QTest::newRow("minutes, Kannada digits")
        << timeFormat << 4 << QStringLiteral("೪೫") << QDateTime(day, QTime(21, 45, 33)) << false;
    QTest::newRow("hours, ASCII digits")
        << timeFormat << 0 << QStringLiteral("07") << QDateTime(day, QTime(7, 5, 33)) << false;
    QTest::newRow("day, Kannada digits from an input method")
        << dateFormat << 1 << QStringLiteral("೨೮") << QDateTime(QDate(2024, 3, 28), time) << true;
}

// One click puts the caret into a section; what is typed then replaces that section.
void TestDateTimePicker::clickIntoASectionAndType()
{
    QFETCH(QString, format);
    QFETCH(int, clickAt);
    QFETCH(QString, typed);
    QFETCH(QDateTime, expected);
    QFETCH(bool, inputMethod);
    DateTimePicker picker;
    picker.setCustomFormat(format);
    picker.setValue(QDateTime(QDate(2024, 3, 5), QTime(21, 5, 33)));
    picker.resize(220, 40);
    picker.show();
    picker.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&picker));
    QLineEdit* line = lineEditOf(picker);
    QTest::mouseClick(line, Qt::LeftButton, {}, pointAtCharacter(line, clickAt));
    QVERIFY(picker.editor()->hasFocus());
    for (QChar c : typed) {
        if (inputMethod) {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(QGuiApplication::focusObject(), &commit);
        } else {
            typeCharacter(QApplication::focusWidget(), c);
        }
    }
    QCOMPARE(picker.Value(), expected);
}

// Tab and Shift+Tab go to the next and the previous control, never to another section.
void TestDateTimePicker::tabLeavesThePickerAtOnce()
{
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* picker = new DateTimePicker(&window);
    auto* after = new QLineEdit(&window);
    picker->setCustomFormat(dateFormat);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    picker->setFocus(Qt::TabFocusReason);
    QVERIFY(picker->editor()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), after);
    QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(picker->editor()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), before);
}

// A time picker keeps the date and the seconds it was given; a date picker keeps the time.
void TestDateTimePicker::keepsWhatTheFormatDoesNotShow()
{
    DateTimePicker time;
    time.setCustomFormat(timeFormat);
    time.setValue(QDateTime(QDate(2003, 7, 9), QTime(14, 20, 47, 120)));
    time.editor()->setTime(QTime(15, 20));
    QCOMPARE(time.Value(), QDateTime(QDate(2003, 7, 9), QTime(15, 20, 47, 120)));

    DateTimePicker date;
    date.setCustomFormat(dateFormat);
    date.setValue(QDateTime(QDate(2003, 7, 9), QTime(14, 20, 47)));
    date.editor()->setDate(QDate(2004, 2, 29));
    QCOMPARE(date.Value(), QDateTime(QDate(2004, 2, 29), QTime(14, 20, 47)));
}

void TestDateTimePicker::enabledFollowsTheWrapper()
{
    DateTimePicker picker;
    picker.setEnabled(false);
    QVERIFY(!picker.editor()->isEnabled());
    picker.setEnabled(true);
    QVERIFY(picker.editor()->isEnabled());
}

// The month view shows the year in Kannada digits and takes the picker's font.
void TestDateTimePicker::datesHaveACalendarPopup()
{
    DateTimePicker picker;
    picker.setCustomFormat(dateFormat);
    picker.setValue(QDateTime(QDate(2024, 3, 5), QTime(10, 0)));
    QVERIFY(picker.editor()->calendarPopup());
    auto* calendar = qobject_cast<KannadaCalendar*>(picker.editor()->calendarWidget());
    QVERIFY(calendar);
    QFont font = picker.font();
    font.setPointSizeF(17.5);
    picker.setFont(font);
    QCOMPARE(calendar->font().pointSizeF(), 17.5);

    calendar->show();
    calendar->setCurrentPage(2025, 7);
    auto* year = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton"));
    QVERIFY(year);
    QTRY_COMPARE(year->text(), QStringLiteral("೨೦೨೫"));

    picker.setCustomFormat(timeFormat);
    QVERIFY(!picker.editor()->calendarPopup());
}

QTEST_MAIN(TestDateTimePicker)
#include "tst_date_time_picker.moc"
