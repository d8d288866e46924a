#pragma once

#include <QCalendarWidget>

namespace varnel {

// The picker's month view: Kannada day and month names, day numbers and year in Kannada digits,
// no week numbers.
class KannadaCalendar : public QCalendarWidget {
    Q_OBJECT
public:
    explicit KannadaCalendar(QWidget* parent = nullptr);

protected:
    void paintCell(QPainter* painter, const QRect& rect, QDate date) const override;
    void showEvent(QShowEvent* event) override;

private:
    void showYearInKannadaDigits();
};

} // namespace varnel
