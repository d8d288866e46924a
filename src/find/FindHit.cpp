#include "find/FindHit.h"

namespace find {

Registers everyRegister()
{
    return Register::Local | Register::Outstation | Register::Tour;
}

QString tableName(Register which)
{
    switch (which) {
    case Register::Outstation: return QStringLiteral("outstation");
    case Register::Tour: return QStringLiteral("tour");
    case Register::Local: break;
    }
    return QStringLiteral("local");
}

} // namespace find
