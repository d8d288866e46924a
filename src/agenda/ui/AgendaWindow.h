#pragma once

#include <cstdint>
#include <memory>

#include <QDate>
#include <QTimer>
#include <QWidget>

#include "agenda/Agenda.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace jet {
class Database;
}

namespace varnel {
class DateTimePicker;
}

// The week at a glance: every engagement of the three registers on a range of days (one day
// or a week from the picker's date; the current week from today when it opens), grouped by
// day under its Kannada weekday, in time order. Each line names its register; a clashing line
// is red and says so. Enter or a double click opens the record in its register window. Coming
// to the front, and every few seconds while open, the window reads the diary again when
// another window or program changed it.
class AgendaWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCheckEvery = 2000; // ms between looks for changes by others

    explicit AgendaWindow(QWidget* parent = nullptr);
    ~AgendaWindow() override;

    const agenda::Agenda& shown() const { return m_agenda; }
    QDate firstDay() const;
    int dayCount() const;

    varnel::DateTimePicker* DTPickerFrom;
    QComboBox* ComboDays;
    QTreeWidget* GridAgenda;
    QPushButton* CmdPrint;

public slots:
    // Reads the range afresh and shows it.
    void Reload();
    // Opens the record of the current line in its register window.
    void OpenLine(QTreeWidgetItem* item = nullptr);
    // The days shown as a day-by-day sheet (rptagenda.rpt) in the report preview.
    void Print();

private:
    void lookForChanges();
    void fillGrid(const agenda::Agenda& agenda);

    std::shared_ptr<jet::Database> m_db;
    std::int64_t m_seenVersion = 0;
    agenda::Agenda m_agenda;
    QTimer m_check;
};
