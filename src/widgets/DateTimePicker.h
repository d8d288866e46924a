#pragma once

#include <QDateTime>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace varnel {

class KannadaDateTimeEdit;

// The date and time picker: Value read and set, Enabled through setEnabled, a custom display
// format ("dd/MM/yyyy   ", "HH:mm") drawn with Kannada digits, and Change() for the user's changes
// only. Parts of the value that the format does not show (the seconds of a time picker, the time
// of a date picker) keep what was set.
//
// Value() is what the picker shows, digit by digit as it is typed; Change() runs once the user
// has committed a new value (see KannadaDateTimeEdit::committed), so the rules that keep two
// pickers in order never act on a date half typed.
class DateTimePicker : public QWidget {
    Q_OBJECT
public:
    explicit DateTimePicker(QWidget* parent = nullptr);

    QDateTime Value() const { return m_value; }
    void setValue(const QDateTime& value); // emits nothing
    // A value that a rule sets in answer to the user's change of another picker: set as
    // setValue sets it, and shown with a brief highlight so the user sees this picker move.
    void moveTo(const QDateTime& value);
    bool isHighlighted() const { return m_highlight.isActive(); }

    void setCustomFormat(const QString& format);
    QString customFormat() const { return m_format; }

    // The editor inside, for tests and focus handling.
    KannadaDateTimeEdit* editor() const { return m_edit; }

signals:
    void Change();

protected:
    void changeEvent(QEvent* event) override;

private:
    void userEdited(const QDateTime& shown);
    void commit();

    KannadaDateTimeEdit* m_edit;
    QDateTime m_value;
    QDateTime m_committed; // the value of the last Change, or as set
    QTimer m_highlight;
    QString m_format;
    bool m_settingValue = false;
};

} // namespace varnel
