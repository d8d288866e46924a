#include "platform/jet/SqlLiteral.h"

namespace jet {

QString SqlLiteral(const QString& text)
{
    QString literal = text;
    literal.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + literal + QLatin1Char('\'');
}

} // namespace jet
