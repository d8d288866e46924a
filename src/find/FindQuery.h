#pragma once

#include <QString>
#include <QStringList>

namespace find {

// How a match was read.
enum class Reading {
    Literal,        // the typed text itself (NFC, Latin case and digit form ignored)
    Transliterated, // Latin letters read with the ITRANS keyboard map
    Loose,          // the loose key of the typed text (see TextFolding.h)
};

// A typed text prepared for matching: built once per search (a few microseconds, plus one
// run of the m17n ITRANS map when it holds Latin letters), then used on every field.
// Construct it in the thread that owns the typing (m17n is not shared across threads); the
// finished object may be handed to any thread.
class FindQuery {
public:
    explicit FindQuery(const QString& typed);

    // Blank text: nothing is found.
    bool isEmpty() const { return m_literal.isEmpty(); }
    const QString& typed() const { return m_typed; }

    // The needle for each reading, empty when that reading does not apply: the typed text
    // read as transliteration and loosely only when it holds Latin letters that could spell
    // Kannada (spellsKannada), and the transliteration only when the map took every Latin
    // letter and it differs from the literal text.
    const QString& literal() const { return m_literal; }
    const QString& transliterated() const { return m_transliterated; }
    const QString& loose() const { return m_loose; }

    // Parts of the loose key that every field the query finds holds in its loose key, one per
    // reading in use (see looseInfix); empty when some reading offers none, and then an index
    // of loose keys cannot narrow the search.
    const QStringList& keyInfixes() const { return m_keyInfixes; }

private:
    QString m_typed;
    QString m_literal;
    QString m_transliterated;
    QString m_loose;
    QStringList m_keyInfixes;
};

} // namespace find
