#include "find/FindQuery.h"

#include "find/TextFolding.h"
#include "platform/varnel/KannadaLetters.h"
#include "typing/KannadaKeyboard.h"

namespace find {

namespace {

namespace kn = varnel::kn;

// The text as stored text is compared: NFC, without joiners (varnel::comparableText).
QString comparable(const QString& text)
{
    QString normal = text.normalized(QString::NormalizationForm_C);
    normal.removeIf([](QChar c) { return c == kn::Zwj || c == kn::Zwnj; });
    return normal;
}

bool holdsLatinLetters(const QString& text)
{
    for (const QChar c : text) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
            (c >= QLatin1Char('A') && c <= QLatin1Char('Z')))
            return true;
    }
    return false;
}

// The text as the ITRANS keyboard of the text boxes would have typed it: each ASCII
// character is a key; what the map does not take is kept as it is.
QString throughItrans(const QString& text)
{
    varnel::KannadaKeyboard keyboard(varnel::KeyboardLayout::Itrans);
    if (!keyboard.isOpen())
        return {};
    QString typed;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() >= 0x7F) {
            typed += keyboard.finish().commit;
            typed += c;
            continue;
        }
        const varnel::TypedKey key = keyboard.press(QString(c));
        typed += key.commit;
        if (!key.taken)
            typed += c;
    }
    typed += keyboard.finish().commit;
    // A word still being typed ends in a bare consonant (ಬೆಂಗಳ್ for "beMgaL"); without its
    // virama it is the start of every syllable on that consonant.
    if (typed.endsWith(QChar(kn::Virama)))
        typed.chop(1);
    return typed;
}

} // namespace

FindQuery::FindQuery(const QString& typed) : m_typed(typed.trimmed())
{
    const QString text = comparable(m_typed);
    m_literal = foldedLiteral(text);
    if (m_literal.isEmpty())
        return;
    // Latin letters that spell no Kannada (zzzzzz, xyz) are read as typed only: loosely they
    // would shrink to a letter or two found nearly everywhere.
    if (holdsLatinLetters(text) && spellsKannada(text)) {
        const QString itrans = foldedLiteral(comparable(throughItrans(text)));
        // Letters the map did not take (Q, W, Y) leave no Kannada reading.
        if (itrans != m_literal && !holdsLatinLetters(itrans))
            m_transliterated = itrans;
        m_loose = looseKey(text);
    }
    QStringList infixes{looseInfix(m_literal)};
    if (!m_transliterated.isEmpty())
        infixes << looseInfix(m_transliterated);
    if (!m_loose.isEmpty())
        infixes << m_loose;
    infixes.removeDuplicates();
    if (!infixes.contains(QString()))
        m_keyInfixes = infixes;
}

} // namespace find
