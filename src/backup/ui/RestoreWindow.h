#pragma once

#include <QList>
#include <QWidget>

#include "backup/BackupCatalog.h"

class QLabel;
class QPushButton;
class QTableWidget;

// The restore window, opened from the help pop-up: the diary's backups, newest first, with the
// date and time each was taken and the records of each register in it. Restore asks in the
// question dialog first; the diary as it is now is then backed up and the chosen backup's
// records are written into it. Windows that hold the diary see them at their next read.
class RestoreWindow : public QWidget {
    Q_OBJECT
public:
    explicit RestoreWindow(QWidget* parent = nullptr);

    // Reads the list of backups afresh.
    void ListBackups();
    const QList<backup::BackupEntry>& entries() const { return m_entries; }

    QLabel* Label1;
    QTableWidget* GridBackups;
    QPushButton* CmdRestore;
    QPushButton* CmdClose;

public slots:
    void CmdRestore_Click();
    void CmdClose_Click();

private:
    QList<backup::BackupEntry> m_entries;
};
