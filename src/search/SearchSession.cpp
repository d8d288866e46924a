#include "search/SearchSession.h"

#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"

namespace search {

SearchSession::SearchSession(SearchRegister which) : m_model(which) {}

SearchSession::~SearchSession() = default;

void SearchSession::OpenDatabase(const QString& diaryPath)
{
    Db = data::OpenDiaryDatabase(diaryPath);
}

void SearchSession::run(const QString& statement)
{
    if (!Db)
        throw jet::JetError(jet::errors::kInvalidOperation,
                            QStringLiteral("No diary is open for this search."));
    // A read-only copy taken in one pass: the list is a picture of the rows at this moment, and
    // a long register reads in a single walk instead of a lookup per row.
    auto result = Db->OpenRecordset(statement, jet::RecordsetType::Snapshot);
    QList<SearchRecord> records = readRecords(*result);
    RsResult = std::move(result);
    m_statement = statement;
    m_model.setRecords(std::move(records));
}

} // namespace search
