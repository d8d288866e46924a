#pragma once

#include <cstdint>
#include <memory>

#include <QString>

#include "search/SearchResultsModel.h"

namespace jet {
class Database;
class Recordset;
} // namespace jet

namespace search {

// What a search window holds while it is loaded: its own diary connection (Db) and the list of
// the current result, which holds that result's record set (RsResult). Only reads.
class SearchSession {
public:
    explicit SearchSession(SearchRegister which);
    ~SearchSession();
    SearchSession(const SearchSession&) = delete;
    SearchSession& operator=(const SearchSession&) = delete;

    // Opens the diary at `diaryPath` through the engine's one door (created when missing).
    void OpenDatabase(const QString& diaryPath);

    // Opens `statement` as the new RsResult and puts its rows into the list. On a failure the
    // previous result and list stay as they were.
    void run(const QString& statement);

    // Runs the list's statement again when another window or program changed the diary since
    // it ran; true when it did.
    bool refreshIfChanged();

    SearchResultsModel& model() { return m_model; }
    const SearchResultsModel& model() const { return m_model; }
    jet::Database* database() const { return Db.get(); }
    jet::Recordset* RsResult() const { return m_model.result(); }
    // The statement of the list shown.
    QString statement() const { return m_statement; }

private:
    std::shared_ptr<jet::Database> Db;
    SearchResultsModel m_model;
    QString m_statement;
    std::int64_t m_seenVersion = 0;
};

} // namespace search
