#pragma once

#include <cstdint>
#include <memory>

#include <QList>
#include <QWidget>

#include "registers/KeptDeletions.h"
#include "registers/RegisterMapping.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace jet {
class Database;
}

namespace registers {

// The recently-deleted window, opened from the help pop-up: the deletions each register keeps,
// newest first, with the record's date, time, subject or places, when it was deleted and the
// number it had. Bring back asks in the question dialog first; the record returns at that
// number as an undo does, and leaves the list. Register windows see it at their next read.
class RecentlyDeletedWindow : public QWidget {
    Q_OBJECT
public:
    explicit RecentlyDeletedWindow(QWidget* parent = nullptr);
    ~RecentlyDeletedWindow() override;

    // Reads the chosen register's kept deletions afresh.
    void ListDeletions();
    const RegisterMapping& mapping() const;
    const QList<KeptDeletion>& deletions() const { return m_kept; }

    QList<QRadioButton*> OptRegister; // local, outstation, tour
    QTableWidget* GridDeleted;
    QLabel* LabelNone; // shown when the register keeps no deletion
    QPushButton* CmdRestore;
    QPushButton* CmdClose;

public slots:
    void CmdRestore_Click();
    void CmdClose_Click();

private:
    std::shared_ptr<jet::Database> m_database;
    QList<KeptDeletion> m_kept;
    std::int64_t m_seenVersion = 0; // the diary's change version the list was read at
};

} // namespace registers
