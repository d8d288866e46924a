#include "widgets/KannadaCalendar.h"

#include <QLocale>
#include <QPainter>
#include <QTextCharFormat>
#include <QTimer>
#include <QToolButton>

#include "platform/varnel/KannadaDigits.h"

namespace varnel {

KannadaCalendar::KannadaCalendar(QWidget* parent) : QCalendarWidget(parent)
{
    setLocale(QLocale(QLocale::Kannada, QLocale::India));
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setGridVisible(false);
    // The navigation bar sets the year's text itself when the page changes; put ours after it.
    connect(this, &QCalendarWidget::currentPageChanged, this,
            [this] { QTimer::singleShot(0, this, &KannadaCalendar::showYearInKannadaDigits); });
}

// Drawn like the stock cell (selection, weekend colours, days of other months greyed), with the
// day number in Kannada digits.
void KannadaCalendar::paintCell(QPainter* painter, const QRect& rect, QDate date) const
{
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    QTextCharFormat format = weekdayTextFormat(Qt::DayOfWeek(date.dayOfWeek()));
    format.merge(dateTextFormat(date));
    const bool selected = date == selectedDate();
    const bool shownMonth = date.month() == monthShown() && date.year() == yearShown();

    QColor background = palette().color(group, QPalette::Base);
    if (selected)
        background = palette().color(group, QPalette::Highlight);
    else if (format.background().style() != Qt::NoBrush)
        background = format.background().color();
    QColor text = palette().color(group, QPalette::Text);
    if (selected)
        text = palette().color(group, QPalette::HighlightedText);
    else if (!shownMonth)
        text = palette().color(QPalette::Disabled, QPalette::Text);
    else if (format.foreground().style() != Qt::NoBrush)
        text = format.foreground().color();

    painter->save();
    painter->fillRect(rect, background);
    painter->setPen(text);
    painter->drawText(rect, Qt::AlignCenter, kannadaDigits(QString::number(date.day())));
    painter->restore();
}

void KannadaCalendar::showEvent(QShowEvent* event)
{
    QCalendarWidget::showEvent(event);
    showYearInKannadaDigits();
}

void KannadaCalendar::showYearInKannadaDigits()
{
    if (auto* year = findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton")))
        year->setText(kannadaDigits(QString::number(yearShown())));
}

} // namespace varnel
