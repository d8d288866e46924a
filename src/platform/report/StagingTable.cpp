#include "platform/report/StagingTable.h"

#include <algorithm>
#include <memory>

#include <QDate>

#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/varnel/KannadaDigits.h"
#include "platform/varnel/VarnelCodec.h"

namespace report {

StagingReader::StagingReader(jet::Database& database, const QString& table, int chunkRows)
    : m_database(database), m_select(QStringLiteral("Select * from ") + table +
                                     QStringLiteral(" order by ") + database.rowIdentity()),
      m_chunkRows(std::max(1, chunkRows))
{
    const std::unique_ptr<jet::Recordset> count = database.OpenRecordset(
        QStringLiteral("Select count(*) from ") + table, jet::RecordsetType::Snapshot);
    m_count = count->Fields(0).Value().toInt();
    const std::unique_ptr<jet::Recordset> shape =
        database.OpenRecordset(m_select + QStringLiteral(" limit 0"), jet::RecordsetType::Snapshot);
    for (int i = 0; i < shape->FieldCount(); ++i)
        m_columns << shape->Fields(i).Name();
}

void StagingReader::rewind()
{
    m_chunk.clear();
    m_at = 0;
    m_fetched = 0;
}

bool StagingReader::fetch()
{
    m_chunk.clear();
    m_at = 0;
    const std::unique_ptr<jet::Recordset> rs = m_database.OpenRecordset(
        m_select + QStringLiteral(" limit %1 offset %2").arg(m_chunkRows).arg(m_fetched),
        jet::RecordsetType::Snapshot);
    const int count = rs->FieldCount();
    if (rs->RecordCount() > 0)
        rs->MoveFirst();
    for (; !rs->Eof(); rs->MoveNext()) {
        std::vector<QVariant> row;
        row.reserve(size_t(count));
        for (int i = 0; i < count; ++i)
            row.push_back(rs->Fields(i).Value());
        m_chunk.push_back(std::move(row));
    }
    m_fetched += int(m_chunk.size());
    return !m_chunk.empty();
}

const std::vector<QVariant>* StagingReader::next()
{
    if (m_at >= m_chunk.size()) {
        // A short chunk was the last one.
        if ((m_fetched > 0 && m_chunk.size() < size_t(m_chunkRows)) || !fetch())
            return nullptr;
    }
    return &m_chunk[m_at++];
}

StagingTable readStagingTable(jet::Database& database, const QString& table)
{
    StagingReader reader(database, table);
    StagingTable out;
    out.columns = reader.columns();
    out.rows.reserve(size_t(reader.rowCount()));
    while (const std::vector<QVariant>* row = reader.next())
        out.rows.push_back(*row);
    return out;
}

QString cellText(const QVariant& value, const QString& dateFormat, bool kannadaDigits)
{
    QString text;
    switch (value.typeId()) {
    case QMetaType::QDate: text = value.toDate().toString(dateFormat); break;
    case QMetaType::QByteArray: // text columns: Varnel bytes
        text = varnel::decode(value.toByteArray());
        break;
    default: text = value.toString(); break;
    }
    return kannadaDigits ? varnel::kannadaDigits(text) : varnel::asciiDigits(text);
}

} // namespace report
