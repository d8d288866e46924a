#include "widgets/DateTimePicker.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QScopedValueRollback>

#include "widgets/KannadaCalendar.h"
#include "widgets/KannadaDateTimeEdit.h"

namespace varnel {

DateTimePicker::DateTimePicker(QWidget* parent)
    : QWidget(parent), m_edit(new KannadaDateTimeEdit(this)),
      m_value(QDate::currentDate(), QTime::currentTime()), m_committed(m_value)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    setFocusProxy(m_edit);
    m_edit->setMinimumDate(QDate(1601, 1, 1));
    connect(m_edit, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& shown) {
        if (!m_settingValue)
            userEdited(shown);
    });
    connect(m_edit, &KannadaDateTimeEdit::committed, this, &DateTimePicker::commit);
    m_highlight.setSingleShot(true);
    m_highlight.setInterval(1500);
    connect(&m_highlight, &QTimer::timeout, this, [this] { m_edit->setPalette(QPalette()); });
    setCustomFormat(QStringLiteral("dd/MM/yyyy"));
}

// The month view is a window of its own and does not inherit the picker's font.
void DateTimePicker::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::FontChange || !m_edit->calendarPopup())
        return;
    if (QCalendarWidget* calendar = m_edit->calendarWidget())
        calendar->setFont(font());
}

void DateTimePicker::setValue(const QDateTime& value)
{
    QScopedValueRollback<bool> guard(m_settingValue, true);
    m_value = m_committed = value;
    m_edit->setDateTime(value);
}

void DateTimePicker::moveTo(const QDateTime& value)
{
    setValue(value);
    QPalette marked = m_edit->palette();
    marked.setColor(QPalette::Base, QColor(255, 230, 130));
    m_edit->setPalette(marked);
    m_highlight.start();
}

void DateTimePicker::setCustomFormat(const QString& format)
{
    QScopedValueRollback<bool> guard(m_settingValue, true);
    m_format = format;
    m_edit->setDisplayFormat(format);
    const bool dates = m_edit->displayedSections() & QDateTimeEdit::DateSections_Mask;
    m_edit->setCalendarPopup(dates);
    if (dates && !qobject_cast<KannadaCalendar*>(m_edit->calendarWidget())) {
        auto* calendar = new KannadaCalendar;
        calendar->setFont(font());
        m_edit->setCalendarWidget(calendar);
        calendar->installEventFilter(m_edit); // its closing commits the date
    }
    m_edit->setDateTime(m_value);
}

// Only the parts the format shows come from the editor; the rest stay as set.
void DateTimePicker::userEdited(const QDateTime& shown)
{
    const QDateTimeEdit::Sections s = m_edit->displayedSections();
    QDate date = m_value.date();
    if (s & QDateTimeEdit::DateSections_Mask)
        date = shown.date();
    const QTime was = m_value.time().isValid() ? m_value.time() : QTime(0, 0);
    const QTime now = shown.time();
    const QTime time((s & QDateTimeEdit::HourSection) ? now.hour() : was.hour(),
                     (s & QDateTimeEdit::MinuteSection) ? now.minute() : was.minute(),
                     (s & QDateTimeEdit::SecondSection) ? now.second() : was.second(),
                     (s & QDateTimeEdit::MSecSection) ? now.msec() : was.msec());
    m_value = QDateTime(date, time);
}

void DateTimePicker::commit()
{
    if (m_value == m_committed)
        return;
    m_committed = m_value;
    emit Change();
}

} // namespace varnel
