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
    // The statement alone, as the windows open it: a record set of the rows' keys, whose rows
    // the list reads as it shows them.
    const std::int64_t version = Db->DataVersion();
    m_model.setResult(Db->OpenRecordset(statement));
    m_statement = statement;
    m_seenVersion = version;
}

bool SearchSession::refreshIfChanged()
{
    if (!Db || m_statement.isEmpty() || Db->DataVersion() == m_seenVersion)
        return false;
    run(m_statement);
    return true;
}

} // namespace search
