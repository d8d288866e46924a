#pragma once

#include "platform/jet/Recordset.h"

namespace jet {

class PgDatabase;

// A record set on the diary server. Every set reads its rows in one query (never one round
// trip per row); a dynaset keeps them by row identity, writes by identity and reads its rows
// again, in one query, once this connection wrote or another desk's change was noticed.
class PgRecordset final : public Recordset {
public:
    PgRecordset(std::shared_ptr<PgDatabase> database, const QString& sql, RecordsetType type);
    ~PgRecordset() override;

    int RecordCount() const override;
    void MoveFirst() override;
    void MoveLast() override;
    void MoveNext() override;
    void MovePrevious() override;
    bool Eof() const override;
    bool Bof() const override;
    int FieldCount() const override;
    void AddNew() override;
    void Edit() override;
    void Update() override;
    void CancelUpdate() override;
    void Delete() override;
    qint64 Bookmark() const override;
    void Requery() override;
    void FindFirst(const QString& criterion) override;
    bool NoMatch() const override;
    QString tableName() const override;
    bool isUpdatable() const override;
    bool isAdding() const override;
    bool isEditing() const override;

private:
    struct Impl;

    void reloadAfterRollback() override;
    QVariant fieldValue(int ordinal) override;
    void setFieldValue(int ordinal, const QVariant& value) override;
    QString fieldName(int ordinal) const override;

    std::unique_ptr<Impl> d;
};

} // namespace jet
