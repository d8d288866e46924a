#pragma once

#include <memory>

#include <QString>
#include <QVariant>

#include "platform/jet/Field.h"
#include "platform/jet/RecordsetType.h"

namespace jet {

class Database;

// The rows of one query, walked with a current-row position and written through AddNew/Edit/
// Update/Delete. A dynaset holds the keys of its rows, taken when it is opened, and reads each
// row from the file when it becomes current, so it sees what other windows saved before.
//
// Positioning follows the data access objects the windows were written against:
// - rows added through the set appear at its end; after Update the current row is the one that
//   was current before AddNew; CancelUpdate returns to it;
// - Edit + Update keeps the row where it is, whatever the query's order;
// - after Delete there is no current row until the next Move;
// - RecordCount is exact from the start and never counts a pending AddNew;
// - moving while an AddNew or Edit is pending abandons it.
// Failures throw JetError; the set stays usable.
class Recordset {
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    int RecordCount() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    bool Eof() const;
    bool Bof() const;

    Field Fields(int ordinal);
    int FieldCount() const;

    void AddNew();
    void Edit();
    void Update();
    void CancelUpdate();
    void Delete();

    // The identity of the current row in its table; it never changes while the row lives,
    // whatever happens to its serial number.
    qint64 Bookmark() const;
    // Reads the query's rows afresh (what every connection has committed by now) and moves to
    // the first; a pending AddNew or Edit is abandoned.
    void Requery();

    // Criterion in the query language, e.g. "sl_no=12". The first matching row in the set's
    // order becomes current; without a match NoMatch() is true and the position is kept.
    void FindFirst(const QString& criterion);
    bool NoMatch() const;

    // The table written through, empty for a read-only set.
    QString tableName() const;
    bool isUpdatable() const;
    // Whether an AddNew (or an Edit) is pending.
    bool isAdding() const;
    bool isEditing() const;

private:
    friend class Database;
    friend class Field;
    struct Impl;

    Recordset(std::shared_ptr<Database> database, const QString& sql, RecordsetType type);
    void reloadAfterRollback();
    QVariant fieldValue(int ordinal);
    void setFieldValue(int ordinal, const QVariant& value);
    QString fieldName(int ordinal) const;

    std::unique_ptr<Impl> d;
};

} // namespace jet
