#pragma once

#include <functional>
#include <vector>

#include <QString>

#include "platform/jet/JetLike.h"

namespace jet {

// A `column like 'pattern'` term taken out of a statement: the server compares bytes and
// knows no Jet patterns, so the engine's own matcher filters the rows on decoded Kannada.
struct LikeTerm {
    QString column;
    LikePattern pattern;
};

struct ServerStatement {
    QString sql;
    std::vector<LikeTerm> likes;
};

// A documented statement text as the server runs it, with the same meaning:
// - datevalue('...') and timevalue('...') of a literal are read here, as the file's engine
//   reads them (the desk's own locale), and handed to the server in ISO form;
// - `like` terms at the top level of the WHERE clause, joined by AND, are taken out (when
//   `takeLikes`); any other `like` is refused, since the server would answer it differently;
// - a subquery in FROM gets the name the server insists on;
// - an ORDER BY over one table that `hasIdentity` says carries the row identity ends with
//   that identity, so ties come in the order rows were added, as on the file.
// Throws JetError for a date or time it cannot read, or a `like` it cannot honour.
ServerStatement serverStatement(const QString& sql, bool takeLikes,
                                const std::function<bool(const QString&)>& hasIdentity = {});

// Stored Varnel text (UTF-8 of its Latin-1 characters) as the Kannada a `like` compares.
QString comparableStoredText(const QByteArray& utf8);

} // namespace jet
