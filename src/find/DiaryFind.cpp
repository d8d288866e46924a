#include "find/DiaryFind.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "find/FindIndex.h"
#include "find/RegisterTexts.h"
#include "find/TextFolding.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/varnel/KannadaLetters.h"
#include "platform/varnel/VarnelCodec.h"

namespace find {

namespace {

// The buffers one scan reuses for every field.
struct Scratch {
    QString folded;
    QString key;
};

// The first reading under which the field's comparable text holds the query (with
// `asTyped`, the literal and ITRANS readings only).
std::optional<Reading> readingOf(QStringView text, const FindQuery& query, Scratch& scratch,
                                 bool asTyped)
{
    foldLiteral(text, scratch.folded);
    if (scratch.folded.contains(query.literal()))
        return Reading::Literal;
    if (!query.transliterated().isEmpty() && scratch.folded.contains(query.transliterated()))
        return Reading::Transliterated;
    if (!asTyped && !query.loose().isEmpty()) {
        looseKey(text, scratch.key);
        if (scratch.key.contains(query.loose()))
            return Reading::Loose;
    }
    return std::nullopt;
}

// The match [begin, end) in the comparable text, under the reading that found it.
KeySource matchIn(QStringView text, const FindQuery& query, Reading reading)
{
    if (reading == Reading::Loose) {
        QString key;
        std::vector<KeySource> sources;
        looseKey(text, key, &sources);
        const qsizetype at = key.indexOf(query.loose());
        return {sources[size_t(at)].begin, sources[size_t(at + query.loose().size() - 1)].end};
    }
    const QString& needle = reading == Reading::Literal ? query.literal() : query.transliterated();
    const qsizetype at = foldedLiteral(text).indexOf(needle);
    return {at, at + needle.size()};
}

// Marks the match in the field as shown: the comparable text is the shown text without its
// joiners, so positions are carried over past them.
void markMatch(FindHit& hit, const QByteArray& bytes, const FindQuery& query)
{
    hit.text = varnel::decode(bytes);
    QString comparable;
    std::vector<qsizetype> shownAt;
    for (qsizetype i = 0; i < hit.text.size(); ++i) {
        const QChar c = hit.text[i];
        if (c != varnel::kn::Zwj && c != varnel::kn::Zwnj) {
            comparable += c;
            shownAt.push_back(i);
        }
    }
    const KeySource match = matchIn(comparable, query, hit.reading);
    const KeySource shown =
        wholeLetters(hit.text, shownAt[size_t(match.begin)], shownAt[size_t(match.end - 1)] + 1);
    hit.matchStart = shown.begin;
    hit.matchLength = shown.end - shown.begin;
}

// Matches the candidate rows of one register: through the index when there is one (a failure
// there, say the index changed under us, sends the register row by row), else every row.
void scanRegister(jet::Database& database, FindIndex* index, const RegisterTexts& layout,
                  const FindQuery& query, const FindOptions& options, std::vector<FindHit>& hits)
{
    bool indexed = index && index->isUsable();
    std::unique_ptr<jet::Recordset> rows;
    if (indexed) {
        try {
            rows = database.OpenRecordset(index->candidates(layout, query),
                                          jet::RecordsetType::Snapshot);
        } catch (const jet::JetError&) {
            indexed = false;
        }
    }
    // Every candidate at once (a snapshot): its identity, the columns by ordinal, and with the
    // index a last column that marks a row the index does not cover yet.
    if (!indexed)
        rows = database.OpenRecordset(FindIndex::everyRow(database, layout),
                                      jet::RecordsetType::Snapshot);
    const int columns = rows->FieldCount() - (indexed ? 2 : 1);
    bool stale = false;
    Scratch scratch;
    for (; !rows->Eof(); rows->MoveNext()) {
        if (options.stop && options.stop())
            return;
        if (indexed && rows->Fields(columns + 1).Value().toInt() != 0)
            stale = true;
        // The first field holding the text as typed, else the first holding it loosely.
        std::optional<Reading> found;
        const RegisterTexts::Column* where = nullptr;
        QByteArray bytes;
        for (const RegisterTexts::Column& column : layout.texts) {
            QByteArray field = rows->Fields(column.ordinal + 1).Value().toByteArray();
            if (field.isEmpty())
                continue;
            const std::optional<Reading> reading =
                readingOf(varnel::decode(field), query, scratch, found.has_value());
            if (!reading)
                continue;
            found = reading;
            where = &column;
            bytes = std::move(field);
            if (*reading != Reading::Loose)
                break;
        }
        if (!found)
            continue;
        FindHit hit;
        hit.record.which = layout.which;
        hit.record.key = rows->Fields(0).Value().toLongLong();
        for (int c = 1; c <= columns; ++c)
            hit.record.values.append(rows->Fields(c).Value());
        hit.date = hit.record.value(layout.date).toDate();
        hit.time = hit.record.value(layout.time).toTime();
        hit.field = where->name;
        hit.fieldOrdinal = where->ordinal;
        hit.reading = *found;
        markMatch(hit, bytes, query);
        hits.push_back(std::move(hit));
    }
    // Indexed now, the next search of this register reads only its candidates.
    if (stale)
        index->refresh(layout);
}

} // namespace

std::vector<FindHit> search(jet::Database& database, const FindQuery& query,
                            const FindOptions& options)
{
    std::vector<FindHit> hits;
    if (query.isEmpty())
        return hits;
    std::optional<FindIndex> index;
    if (options.useIndex)
        index.emplace(database);
    for (const data::Register which : data::kRegisterOrder) {
        if (options.registers.testFlag(which) && !(options.stop && options.stop()))
            scanRegister(database, index ? &*index : nullptr, registerTexts(which), query, options,
                         hits);
    }
    // The text as typed first, then the loose readings; each newest first.
    std::sort(hits.begin(), hits.end(), [](const FindHit& a, const FindHit& b) {
        const bool looseA = a.reading == Reading::Loose;
        const bool looseB = b.reading == Reading::Loose;
        if (looseA != looseB)
            return looseB;
        if (a.date != b.date)
            return a.date > b.date;
        if (a.time != b.time)
            return a.time > b.time;
        if (a.record.which != b.record.which)
            return a.record.which < b.record.which;
        return a.record.serial() > b.record.serial();
    });
    return hits;
}

bool updateIndex(jet::Database& database, data::Registers registers)
{
    FindIndex index(database);
    bool done = true;
    for (const data::Register which : data::kRegisterOrder) {
        if (registers.testFlag(which) && index.isUsable())
            done = index.refresh(registerTexts(which)) && done;
    }
    return done;
}

std::vector<FindHit> search(jet::Database& database, const QString& typed,
                            data::Registers registers)
{
    FindOptions options;
    options.registers = registers;
    return search(database, FindQuery(typed), options);
}

} // namespace find
