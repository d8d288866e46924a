#pragma once

#include <memory>

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

#include "TempProgramFolder.h"

namespace jet {
class Database;
}

// A diary in a fresh program folder, filled with rows made for one test.
class SearchDiary {
public:
    SearchDiary();
    // The same on a PostgreSQL server: an empty diary is laid out at `connection`, the folder's
    // velmora.conf names it (so the windows' diary is the server's), and db() is a connection
    // of its own, another desk's.
    explicit SearchDiary(const QString& connection);
    ~SearchDiary();

    QString folder() const { return m_folder.path(); }
    QString diaryPath() const { return m_folder.diaryPath(); }
    jet::Database& db() { return *m_db; }

    // Texts are given in Unicode Kannada and stored as Varnel.
    void addProgramme(const QString& table, int serial, const QDate& date, const QTime& time,
                      const QString& topic = QStringLiteral("ವಿಷಯ"));
    void addTour(int serial, const QString& from, const QString& to, const QDate& departs,
                 const QDate& arrives);
    void loadSample();

    // The sl_no of each row `statement` lists, in the list's order.
    QList<int> serialsOf(const QString& statement);

private:
    TempProgramFolder m_folder;
    std::shared_ptr<jet::Database> m_db;
};
