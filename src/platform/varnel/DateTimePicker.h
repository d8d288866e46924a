#pragma once

#include <QDateTime>
#include <QString>
#include <QWidget>

namespace varnel {

class KannadaDateTimeEdit;

// The date and time picker: Value read and set, Enabled through setEnabled, a custom display
// format ("dd/MM/yyyy   ", "HH:mm") drawn with Kannada digits, and Change() for the user's changes
// only. Parts of the value that the format does not show (the seconds of a time picker, the time
// of a date picker) keep what was set.
class DateTimePicker : public QWidget {
    Q_OBJECT
public:
    explicit DateTimePicker(QWidget* parent = nullptr);

    QDateTime Value() const { return m_value; }
    void setValue(const QDateTime& value); // emits nothing

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

    KannadaDateTimeEdit* m_edit;
    QDateTime m_value;
    QString m_format;
    bool m_settingValue = false;
};

} // namespace varnel
