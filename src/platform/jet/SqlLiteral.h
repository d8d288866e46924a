#pragma once

#include <QString>

namespace jet {

// `text` as a literal inside a statement: in single quotes, each quote doubled, so user text
// can never end the literal or add to the statement.
QString SqlLiteral(const QString& text);

} // namespace jet
