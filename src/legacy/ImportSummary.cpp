#include "legacy/ImportSummary.h"

#include <QStringList>

namespace legacy {

namespace {

QString serials(const QList<int>& list)
{
    QStringList out;
    for (int serial : list)
        out << QString::number(serial);
    return out.join(QStringLiteral(", "));
}

QString kannadaRegisterName(const QString& table)
{
    if (table == QLatin1String("local"))
        return QStringLiteral(u"ಸ್ಥಳೀಯ ಕಾರ್ಯಕ್ರಮಗಳು");
    if (table == QLatin1String("outstation"))
        return QStringLiteral(u"ಪರಸ್ಥಳದ ಕಾರ್ಯಕ್ರಮಗಳು");
    return QStringLiteral(u"ಪ್ರವಾಸಗಳು");
}

} // namespace

int ImportSummary::totalRows() const
{
    int total = 0;
    for (const RegisterSummary& r : registers)
        total += r.rows;
    return total;
}

QString summaryText(const ImportSummary& summary)
{
    QStringList lines;
    lines << QStringLiteral("Brought %1 records over from '%2' (Jet %3) into '%4'.")
                 .arg(summary.totalRows())
                 .arg(summary.legacyFile)
                 .arg(summary.jetVersion == 0 ? 3 : 4)
                 .arg(summary.diaryFile);
    if (!summary.keptAs.isEmpty())
        lines << QStringLiteral("The Jet file is kept unchanged as '%1'.").arg(summary.keptAs);
    for (const RegisterSummary& r : summary.registers) {
        lines << QStringLiteral("%1: %2 records").arg(r.table).arg(r.rows);
        if (r.renumbered)
            lines << QStringLiteral("%1: the serial numbers were not 1 to %2; the records were "
                                    "numbered 1 to %2 in their order.")
                         .arg(r.table)
                         .arg(r.rows);
        if (!r.emptyDates.isEmpty())
            lines << QStringLiteral("%1: record(s) %2 had no date; they now carry %3.")
                         .arg(r.table, serials(r.emptyDates), QLatin1String(kEmptyDate));
        if (!r.emptyTimes.isEmpty())
            lines << QStringLiteral("%1: record(s) %2 had no time; they now carry %3.")
                         .arg(r.table, serials(r.emptyTimes), QLatin1String(kEmptyTime));
    }
    return lines.join(QLatin1Char('\n'));
}

QString summaryKannada(const ImportSummary& summary)
{
    QStringList lines;
    lines << QStringLiteral(u"ಹಳೆಯ ದಿನಚರಿಯ %1 ದಾಖಲೆಗಳನ್ನು ಹೊಸ ದಿನಚರಿಗೆ ತರಲಾಯಿತು.").arg(summary.totalRows());
    if (!summary.keptAs.isEmpty())
        lines << QStringLiteral(u"ಹಳೆಯ ಕಡತವನ್ನು ಬದಲಿಸದೆ %1 ಎಂದು ಉಳಿಸಲಾಗಿದೆ.")
                     .arg(summary.keptAs.section(QLatin1Char('/'), -1));
    for (const RegisterSummary& r : summary.registers) {
        const QString name = kannadaRegisterName(r.table);
        lines << QStringLiteral(u"%1: %2 ದಾಖಲೆಗಳು").arg(name).arg(r.rows);
        if (r.renumbered)
            lines << QStringLiteral(u"%1: ಕ್ರಮ ಸಂಖ್ಯೆಗಳನ್ನು ಅದೇ ಕ್ರಮದಲ್ಲಿ 1 ರಿಂದ %2 ರವರೆಗೆ ಹೊಸದಾಗಿ "
                                    u"ಕೊಡಲಾಗಿದೆ.")
                         .arg(name)
                         .arg(r.rows);
        if (!r.emptyDates.isEmpty())
            lines << QStringLiteral(u"%1: ದಿನಾಂಕವಿಲ್ಲದ ದಾಖಲೆಗಳು %2 (ಈಗ %3).")
                         .arg(name, serials(r.emptyDates), QLatin1String(kEmptyDate));
        if (!r.emptyTimes.isEmpty())
            lines << QStringLiteral(u"%1: ಸಮಯವಿಲ್ಲದ ದಾಖಲೆಗಳು %2 (ಈಗ %3).")
                         .arg(name, serials(r.emptyTimes), QLatin1String(kEmptyTime));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace legacy
