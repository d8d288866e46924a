#include "legacy/RegisterConversion.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include "legacy/LegacyError.h"
#include "platform/jet/StorageText.h"

namespace legacy {

namespace {

constexpr double kNoSerial = std::numeric_limits<double>::infinity();

double serialOf(const RawRow& row)
{
    const RawValue& value = row.value(0);
    return value.kind == RawValue::Kind::Number ? value.number : kNoSerial;
}

bool isDense(const std::vector<double>& sortedSerials)
{
    for (size_t i = 0; i < sortedSerials.size(); ++i) {
        if (sortedSerials[i] != double(i + 1))
            return false;
    }
    return true;
}

[[noreturn]] void refuseValue(const QString& path, const LegacyRegister& layout, int column,
                              double serial, const QString& what)
{
    const QString record = serial == kNoSerial
                               ? QStringLiteral("a record without a serial number")
                               : QStringLiteral("record %1").arg(serial, 0, 'g', 17);
    throw LegacyError(QStringLiteral("The legacy diary '%1' cannot be brought over: %2 of its "
                                     "table '%3' %4 in the column '%5'. Nothing was changed.")
                          .arg(path, record, QLatin1String(layout.table), what,
                               QLatin1String(layout.columns[column].name)));
}

QByteArray convertValue(const LegacyRegister& layout, int column, const RawValue& value,
                        JetTextForm form, const QString& path, double serial, bool& empty)
{
    const ColumnKind kind = layout.columns[column].kind;
    empty = value.kind == RawValue::Kind::Null;
    if (kind == ColumnKind::Text) {
        if (value.kind != RawValue::Kind::Text)
            return {};
        const JetText text = varnelFromJetText(value.utf8, form);
        if (text.invalidUtf8)
            refuseValue(path, layout, column, serial, QStringLiteral("holds a damaged text"));
        if (!text.ok())
            refuseValue(path, layout, column, serial,
                        QStringLiteral("holds the character U+%1, which is no Varnel byte")
                            .arg(quint32(text.unmapped), 4, 16, QLatin1Char('0')));
        return jet::storageFromBytes(text.bytes);
    }
    if (empty)
        return kind == ColumnKind::Date ? QByteArray(kEmptyDate) : QByteArray(kEmptyTime);
    if (value.kind != RawValue::Kind::Number)
        refuseValue(path, layout, column, serial, QStringLiteral("holds no date or time"));
    const auto converted =
        kind == ColumnKind::Date ? isoDateFromDays(value.number) : isoTimeFromDays(value.number);
    if (!converted)
        refuseValue(path, layout, column, serial,
                    QStringLiteral("holds the day number %1, which is no date Jet can hold")
                        .arg(value.number, 0, 'g', 17));
    return *converted;
}

} // namespace

ConvertedRegister convertRegister(const LegacyRegister& layout, const QList<RawRow>& rows,
                                  JetTextForm form, const QString& path)
{
    ConvertedRegister out;
    out.layout = &layout;
    out.summary.table = QLatin1String(layout.table);
    out.summary.rows = int(rows.size());

    std::vector<size_t> order(size_t(rows.size()));
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&rows](size_t a, size_t b) {
        return serialOf(rows[qsizetype(a)]) < serialOf(rows[qsizetype(b)]);
    });
    std::vector<double> sorted;
    sorted.reserve(order.size());
    for (size_t i : order)
        sorted.push_back(serialOf(rows[qsizetype(i)]));
    out.summary.renumbered = !isDense(sorted);

    out.rows.reserve(rows.size());
    int next = 0;
    for (size_t i : order) {
        const RawRow& raw = rows[qsizetype(i)];
        const double serial = serialOf(raw);
        DiaryRow row;
        row.serial = ++next;
        row.values.reserve(layout.columns.size() - 1);
        for (int c = 1; c < layout.columns.size(); ++c) {
            bool empty = false;
            row.values.append(convertValue(layout, c, raw.value(c), form, path, serial, empty));
            const ColumnKind kind = layout.columns[c].kind;
            if (empty && (kind == ColumnKind::Date || kind == ColumnKind::Time)) {
                QList<int>& named =
                    kind == ColumnKind::Date ? out.summary.emptyDates : out.summary.emptyTimes;
                if (named.isEmpty() || named.last() != row.serial)
                    named.append(row.serial);
            }
        }
        out.rows.append(std::move(row));
    }
    return out;
}

} // namespace legacy
