#pragma once

#include <vector>

#include <QString>
#include <QStringView>

// The forms in which decoded diary text and a typed query are compared.
namespace find {

// The version of the loose key's rules. An index of loose keys made under other rules is
// discarded and made again, so raise it with every change to looseKey.
inline constexpr int kLooseKeyRules = 2;

// The literal form: Kannada digits as ASCII digits, letters case-folded, joiners (ZWJ, ZWNJ)
// left out; every other character stays where it is, so a position in it is the same position
// in the text without its joiners.
void foldLiteral(QStringView text, QString& folded);
QString foldedLiteral(QStringView text);

// The characters [begin, end) of the text that one character of a loose key stands for.
struct KeySource {
    qsizetype begin = 0;
    qsizetype end = 0;
};

// The loose key: Kannada and Latin letters alike spelled in a reduced Latin alphabet that
// keeps no vowel length, aspiration or retroflex/dental contrast, so that one substring test
// finds a word however it is spelled in either script (see README, "velmora-cli find").
// `sources`, when given, receives the origin of each key character.
void looseKey(QStringView text, QString& key, std::vector<KeySource>* sources = nullptr);
QString looseKey(QStringView text);

// Whether the Latin letters of `text` could spell Kannada at all: no letter three times running
// (zzz, aaaa) and no more consonants in a row than a Kannada conjunct holds (three; an m or n
// that opens the run stands for the anusvara, an h after an aspirable consonant is its
// aspiration, x is two).
bool spellsKannada(QStringView text);

// A part of the loose key of `text` that the loose key of every text holding `text` holds too:
// the key without what depends on the letters around it (a leading h, which an aspirable
// consonant before it swallows; a trailing inherent a, which a vowel sign after it replaces;
// a trailing m, which a consonant after it turns into n). An index of loose keys narrows a
// search for `text` to the keys holding it. May be empty: then nothing narrows the search.
QString looseInfix(QStringView text);

// [begin, end) widened to whole letters: a vowel sign, virama, nukta, anusvara or joiner stays
// with its consonant, and a conjunct is kept whole, so a marked match never splits a letter.
KeySource wholeLetters(QStringView text, qsizetype begin, qsizetype end);

} // namespace find
