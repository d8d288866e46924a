#include "data/Register.h"

namespace data {

Registers everyRegister()
{
    return Register::Local | Register::Outstation | Register::Tour;
}

QString tableName(Register which)
{
    switch (which) {
    case Register::Local: return QStringLiteral("local");
    case Register::Outstation: return QStringLiteral("outstation");
    case Register::Tour: break;
    }
    return QStringLiteral("tour");
}

std::optional<Register> registerNamed(const QString& table)
{
    for (const Register which : kRegisterOrder) {
        if (table == tableName(which))
            return which;
    }
    return std::nullopt;
}

QString registerCaption(Register which)
{
    switch (which) {
    case Register::Local: return QStringLiteral(u"ಸ್ಥಳೀಯ");
    case Register::Outstation: return QStringLiteral(u"ಪರಸ್ಥಳ");
    case Register::Tour: break;
    }
    return QStringLiteral(u"ಪ್ರವಾಸ");
}

} // namespace data
