#include "search/SearchSession.h"

#include <iterator>
#include <vector>

#include <QRegularExpression>

#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/QueryText.h"

namespace search {

namespace {

// `statement` with the row identity as the last key of its ORDER BY, when it ends in one (every
// search's statement does): ties then come in the order rows were added, as a server gives them,
// whichever way the file's engine chooses to order the rest.
QString tiesInAddedOrder(const QString& statement, const QString& identity)
{
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    // Column names, directions and commas only: nothing (a LIMIT, a closing bracket, a
    // semicolon) that an added key would land after.
    static const QRegularExpression keysOnly(QStringLiteral("^[\\w\\s,.\"]*$"));
    static const QRegularExpression limit(QStringLiteral("\\b(limit|offset)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QString text = jet::withoutLiterals(statement);
    QRegularExpressionMatch last;
    for (auto it = orderBy.globalMatch(text); it.hasNext();)
        last = it.next();
    if (!last.hasMatch())
        return statement;
    const QString keys = text.mid(last.capturedEnd());
    if (!keysOnly.match(keys).hasMatch() || limit.match(keys).hasMatch())
        return statement;
    qsizetype end = statement.size();
    while (end > 0 && statement[end - 1].isSpace())
        --end;
    return statement.left(end) + QStringLiteral(", ") + identity;
}

} // namespace

QList<data::Record> readSearchRecords(jet::Database& database, data::Register which,
                                      const QString& statement)
{
    QList<data::Record> records;
    database.ReadRows(tiesInAddedOrder(statement, database.rowIdentity()),
                      [&](std::vector<QVariant>& row) {
                          data::Record& record = records.emplaceBack();
                          record.which = which;
                          record.values = QVariantList(std::make_move_iterator(row.begin()),
                                                       std::make_move_iterator(row.end()));
                          return true;
                      });
    return records;
}

SearchSession::SearchSession(data::Register which) : m_model(which) {}

SearchSession::~SearchSession() = default;

void SearchSession::OpenDatabase(const QString& diaryPath)
{
    Db = data::OpenDiaryForReading(diaryPath);
}

void SearchSession::run(const QString& statement)
{
    if (!Db)
        throw jet::JetError(jet::errors::kInvalidOperation,
                            QStringLiteral("No diary is open for this search."));
    // The version before the rows: a commit landing in between only makes the next
    // refreshIfChanged read again.
    const std::int64_t version = Db->DataVersion();
    QList<data::Record> records = readSearchRecords(*Db, m_model.searchRegister(), statement);
    m_model.setRecords(std::move(records));
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
