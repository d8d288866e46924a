#pragma once

#include <optional>

#include <QString>

namespace jet {

// Small readings of statement texts that both backends share.

// The text with the insides of quoted literals blanked out (same length), so keywords are
// only found in the statement itself.
QString withoutLiterals(const QString& sql);

// An identifier in double quotes, inner quotes doubled.
QString quoted(const QString& identifier);

struct ParsedQuery {
    QString table;
    QString rest; // WHERE and ORDER BY as written
};

// "Select * from <table> [where ...] [order by ...]": the queries a dynaset can write through.
std::optional<ParsedQuery> parseSingleTableQuery(const QString& sql);

// Whether the text (literals aside) orders its rows.
bool hasOrderBy(const QString& sql);

} // namespace jet
