#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

// A diary file in a temporary folder, filled and read with plain SQL so the tests do not
// depend on the code they check.
class RegisterFixture {
public:
    RegisterFixture();

    QString folder() const { return m_dir.path(); }
    QString databasePath() const { return m_dir.path() + QStringLiteral("/Tarnalist.mdb"); }

    // Creates the file with its six tables (through the program's own creation path).
    void create();
    // Adds rows 1..n to a register: topic / travel_from is the Varnel text of topicOf(i).
    void fill(const QString& table, int n);
    static QByteArray topicOf(int i);

    void exec(const QString& sql);
    int count(const QString& table);
    // (sl_no, column 4 for programmes / column 1 for tours) in serial order.
    QList<QPair<int, QByteArray>> rows(const QString& table);
    // Every column of one row as text, for before/after comparisons.
    QStringList row(const QString& table, int serial);
    // Every row of a query, each column as text.
    QList<QStringList> query(const QString& sql);

private:
    QTemporaryDir m_dir;
};
