#pragma once

#include <cstdint>
#include <memory>

#include <QList>
#include <QString>

#include "search/SearchResultsModel.h"

namespace jet {
class Database;
} // namespace jet

namespace search {

// The records of `which` that `statement` lists (without their keys), read in one statement: the
// diary as it stood at one moment (one read transaction on the file, one statement on a
// server), whatever other connections commit meanwhile. Records the statement's order leaves
// tied come in the order they were added, on the file as on a server.
QList<data::Record> readSearchRecords(jet::Database& database, data::Register which,
                                      const QString& statement);

// What a search window holds while it is loaded: its own diary connection (Db) and the list of
// the current result (RsResult): the records its statement read, as they stood when it ran.
// Only reads.
class SearchSession {
public:
    explicit SearchSession(data::Register which);
    ~SearchSession();
    SearchSession(const SearchSession&) = delete;
    SearchSession& operator=(const SearchSession&) = delete;

    // Opens the diary at `diaryPath` through the engine's one door (created when missing).
    void OpenDatabase(const QString& diaryPath);

    // Reads the rows of `statement` (readSearchRecords) as the new RsResult and puts them into
    // the list. On a failure the previous result and list stay as they were.
    void run(const QString& statement);

    // Runs the list's statement again when another window or program changed the diary since
    // it ran; true when it did.
    bool refreshIfChanged();

    SearchResultsModel& model() { return m_model; }
    const SearchResultsModel& model() const { return m_model; }
    jet::Database* database() const { return Db.get(); }
    // The current result: the records listed, in the list's order.
    const QList<data::Record>& RsResult() const { return m_model.records(); }
    // The statement of the list shown.
    QString statement() const { return m_statement; }

private:
    std::shared_ptr<jet::Database> Db;
    SearchResultsModel m_model;
    QString m_statement;
    std::int64_t m_seenVersion = 0;
};

} // namespace search
