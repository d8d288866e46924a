#pragma once

#include <memory>

#include <QString>
#include <QVariant>

#include "platform/jet/Field.h"
#include "platform/jet/RecordsetType.h"

namespace jet {

class Database;

// The rows of one query, walked with a current-row position and written through AddNew/Edit/
// Update/Delete. A dynaset holds the keys of its rows, taken when it is opened, and shows each
// row as stored when it becomes current, so it sees what other windows saved before (on a file
// it reads the row then; on a server it reads all its rows in one query, again after writes).
//
// Positioning, which the register windows rely on:
// - rows added through the set appear at its end; after Update the current row is the one that
//   was current before AddNew; CancelUpdate returns to it;
// - Edit + Update keeps the row where it is, whatever the query's order;
// - after Delete there is no current row until the next Move;
// - RecordCount is exact from the start and never counts a pending AddNew;
// - moving while an AddNew or Edit is pending abandons it.
// Failures throw JetError; the set stays usable.
class Recordset {
public:
    virtual ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    virtual int RecordCount() const = 0;
    virtual void MoveFirst() = 0;
    virtual void MoveLast() = 0;
    virtual void MoveNext() = 0;
    virtual void MovePrevious() = 0;
    virtual bool Eof() const = 0;
    virtual bool Bof() const = 0;

    Field Fields(int ordinal);
    virtual int FieldCount() const = 0;

    virtual void AddNew() = 0;
    virtual void Edit() = 0;
    virtual void Update() = 0;
    virtual void CancelUpdate() = 0;
    virtual void Delete() = 0;

    // The identity of the current row in its table; it never changes while the row lives,
    // whatever happens to its serial number.
    virtual qint64 Bookmark() const = 0;
    // Reads the query's rows afresh (what every connection has committed by now) and moves to
    // the first; a pending AddNew or Edit is abandoned.
    virtual void Requery() = 0;

    // Criterion in the query language, e.g. "sl_no=12". The first matching row in the set's
    // order becomes current; without a match NoMatch() is true and the position is kept.
    virtual void FindFirst(const QString& criterion) = 0;
    virtual bool NoMatch() const = 0;

    // The table written through, empty for a read-only set.
    virtual QString tableName() const = 0;
    virtual bool isUpdatable() const = 0;
    // Whether an AddNew (or an Edit) is pending.
    virtual bool isAdding() const = 0;
    virtual bool isEditing() const = 0;

protected:
    friend class Database;
    friend class Field;

    // Registers the set with its connection, so a rollback there reaches it.
    explicit Recordset(std::shared_ptr<Database> database);
    Database& database() const { return *m_database; }

    virtual void reloadAfterRollback() = 0;
    virtual QVariant fieldValue(int ordinal) = 0;
    virtual void setFieldValue(int ordinal, const QVariant& value) = 0;
    virtual QString fieldName(int ordinal) const = 0;
    // Throws "item not found" unless 0 <= ordinal < FieldCount().
    void checkOrdinal(int ordinal) const;

private:
    std::shared_ptr<Database> m_database;
};

} // namespace jet
