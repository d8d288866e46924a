#include "registers/KeptDeletions.h"

#include "data/DiarySchema.h"
#include "engagements/ClashTexts.h"
#include "engagements/SaveClashCheck.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/jet/Transaction.h"
#include "registers/ClashCandidate.h"
#include "registers/RecordEditor.h"

namespace registers {

namespace {

QString keptTable()
{
    return QLatin1String(data::kKeptDeletionsTable);
}

} // namespace

KeptDeletions::KeptDeletions(jet::Database& database, const QString& table)
    : m_database(database), m_table(table),
      m_which(data::registerNamed(table).value_or(data::Register::Local)),
      m_columns(data::registerColumns(table))
{
}

std::int64_t KeptDeletions::number(const QString& sql)
{
    const auto rs = m_database.OpenRecordset(sql, jet::RecordsetType::Snapshot);
    return rs->RecordCount() > 0 ? rs->Fields(0).Value().toLongLong() : 0;
}

std::int64_t KeptDeletions::keep(std::int64_t key, const QDateTime& when)
{
    data::addKeptDeletionsTable(m_database);
    const QString columns = m_columns.join(QStringLiteral(", "));
    const QString name = jet::SqlLiteral(m_table);
    m_database.Execute(
        QStringLiteral("INSERT INTO %1 (register_name, deleted_at, %2) SELECT %3, %4, %2 FROM %5 "
                       "WHERE %6 = %7")
            .arg(keptTable(), columns, name,
                 jet::SqlLiteral(when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))), m_table,
                 m_database.rowIdentity())
            .arg(key));
    // Writers take turns, so the newest id of the register is the one just given.
    const std::int64_t id =
        number(QStringLiteral("Select max(deletion_id) from %1 where register_name = %2")
                   .arg(keptTable(), name));
    m_database.Execute(QStringLiteral("DELETE FROM %1 WHERE register_name = %2 AND deletion_id <= "
                                      "(SELECT deletion_id FROM %1 WHERE register_name = %2 ORDER "
                                      "BY deletion_id DESC LIMIT 1 OFFSET %3)")
                           .arg(keptTable(), name)
                           .arg(kKeptPerRegister));
    return id;
}

KeptDeletion KeptDeletions::current(jet::Recordset& rs) const
{
    KeptDeletion deletion{rs.Fields(0).Value().toLongLong(),
                          QString::fromLatin1(rs.Fields(1).Value().toByteArray()),
                          {m_which, 0, {}}};
    for (int i = 2; i < rs.FieldCount(); ++i)
        deletion.record.values << rs.Fields(i).Value();
    return deletion;
}

QString KeptDeletions::selectKept(const QString& condition) const
{
    return QStringLiteral("Select deletion_id, deleted_at, %1 from %2 where register_name = %3%4 "
                          "order by deletion_id desc")
        .arg(m_columns.join(QStringLiteral(", ")), keptTable(), jet::SqlLiteral(m_table),
             condition);
}

QList<KeptDeletion> KeptDeletions::list()
{
    QList<KeptDeletion> kept;
    if (!data::hasKeptDeletionsTable(m_database))
        return kept;
    const auto rs = m_database.OpenRecordset(selectKept(QString()), jet::RecordsetType::Snapshot);
    for (; !rs->Eof(); rs->MoveNext())
        kept << current(*rs);
    return kept;
}

std::optional<KeptDeletion> KeptDeletions::find(std::int64_t id)
{
    if (!data::hasKeptDeletionsTable(m_database))
        return std::nullopt;
    const auto rs = m_database.OpenRecordset(
        selectKept(QStringLiteral(" and deletion_id = %1").arg(id)), jet::RecordsetType::Snapshot);
    if (rs->RecordCount() < 1)
        return std::nullopt;
    return current(*rs);
}

int KeptDeletions::registerCount()
{
    return int(number(QStringLiteral("Select count(*) from %1").arg(m_table)));
}

KeptDeletions::Restored KeptDeletions::restoreAsking(std::int64_t id, int clashMinutes,
                                                     const std::function<bool(const QString&)>& ask)
{
    engagements::SaveClashCheck check(clashMinutes);
    for (;;) {
        Restored restored = restore(id, &check);
        if (restored.outcome != Outcome::Clashes ||
            !ask(engagements::texts::clashQuestion(restored.clashes)))
            return restored;
        check.accept(restored.clashes);
    }
}

KeptDeletions::Restored KeptDeletions::restore(std::int64_t id,
                                               const engagements::SaveClashCheck* check)
{
    jet::Transaction transaction(m_database);
    // Read inside the write: another window may have brought it back a moment ago.
    const std::optional<KeptDeletion> kept = find(id);
    if (!kept)
        return {};
    const int count = registerCount();
    if (count >= RecordEditor::kMaximumRecords)
        return {Outcome::RegisterFull, 0, 0, {}};
    if (check) {
        const auto candidate = clashCandidate(RegisterMapping::ofTable(m_table),
                                              RecordTimes::of(kept->record.values), std::nullopt);
        if (candidate) {
            QList<engagements::Entry> clashes = check->newClashes(m_database, *candidate);
            if (!clashes.isEmpty())
                return {Outcome::Clashes, 0, 0, clashes};
        }
    }
    const int serial = numberOnReturn(kept->record.serial(), count);
    // Room at `serial`: where UNIQUE is checked row by row the rows pass through negative
    // numbers, so two never share one.
    if (serial <= count) {
        if (m_database.checksUniqueAtStatementEnd()) {
            m_database.Execute(QStringLiteral("UPDATE %1 SET sl_no = sl_no + 1 WHERE sl_no >= %2")
                                   .arg(m_table)
                                   .arg(serial));
        } else {
            m_database.Execute(
                QStringLiteral("UPDATE %1 SET sl_no = -(sl_no + 1) WHERE sl_no >= %2")
                    .arg(m_table)
                    .arg(serial));
            m_database.Execute(
                QStringLiteral("UPDATE %1 SET sl_no = -sl_no WHERE sl_no < 0").arg(m_table));
        }
    }
    const QStringList values = QStringList{QString::number(serial)} + m_columns.mid(1);
    m_database.Execute(
        QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4 WHERE deletion_id = %5")
            .arg(m_table, m_columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")),
                 keptTable())
            .arg(id));
    const std::int64_t key = number(QStringLiteral("Select %1 AS row_key from %2 where sl_no = %3")
                                        .arg(m_database.rowIdentity(), m_table)
                                        .arg(serial));
    m_database.Execute(
        QStringLiteral("DELETE FROM %1 WHERE deletion_id = %2").arg(keptTable()).arg(id));
    transaction.commit();
    return {Outcome::Restored, serial, key, {}};
}

} // namespace registers
