#include "agenda/AgendaTexts.h"

namespace agenda::texts {

QString tourDayWord(LineKind kind)
{
    switch (kind) {
    case LineKind::Departure: return QStringLiteral(u"ನಿರ್ಗಮನ");
    case LineKind::OnTour: return QStringLiteral(u"ಪ್ರವಾಸದಲ್ಲಿ");
    case LineKind::Arrival: return QStringLiteral(u"ಆಗಮನ");
    case LineKind::Programme:
    case LineKind::WholeTour: break;
    }
    return QStringLiteral(u"ಪ್ರವಾಸ");
}

QString clashWord()
{
    return QStringLiteral(u"ಘರ್ಷಣೆ");
}

} // namespace agenda::texts
