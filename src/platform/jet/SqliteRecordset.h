#pragma once

#include "platform/jet/Recordset.h"

namespace jet {

class SqliteDatabase;

// A record set over an SQLite file: a dynaset keeps its rowids and reads the current row when
// it is asked for; a read-only set holds its rows.
class SqliteRecordset final : public Recordset {
public:
    SqliteRecordset(std::shared_ptr<SqliteDatabase> database, const QString& sql,
                    RecordsetType type);
    ~SqliteRecordset() override;

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
