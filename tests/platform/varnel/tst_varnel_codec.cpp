#include <QtTest>

#include "VarnelTestData.h"
#include "platform/varnel/KannadaDigits.h"
#include "platform/varnel/VarnelCodec.h"

using namespace varnel;

// The codec byte by byte: the vectors, the rules, slips and variants, refusals, stored text.
class TestVarnelCodec : public QObject {
    Q_OBJECT
private slots:
    void decodesVectors_data();
    void decodesVectors();
    void encodesVectors_data();
    void encodesVectors();
    void decodesByTheRules_data();
    void decodesByTheRules();
    void readsSlipsAndStrayBytes_data();
    void readsSlipsAndStrayBytes();
    void unknownBytesReadAsReplacement();
    void spellingVariantsReadAlike_data();
    void spellingVariantsReadAlike();
    void raWithSubjoinedAndRephCompareEqual();
    void sameText_data();
    void sameText();
    void encoderNormalisesFirst();
    void encodesLongTextLikeItsParts();
    void encodesDigitsAsDigitBytes();
    void refusesCharactersWithoutForm_data();
    void refusesCharactersWithoutForm();
    void refusalMessageNamesCharacters();
    void storedTextKeepsEveryByte();
    void kannadaDigitsBothWays();
};

namespace {

void addVectorRows()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("unicode");
    const QList<VarnelVector> vectors = loadVarnelVectors();
    QVERIFY(vectors.size() >= 72);
    for (const VarnelVector& v : vectors)
        QTest::addRow("%d %s", v.number, qPrintable(v.meaning)) << v.bytes << v.unicode;
}

QString refusalsText(const QList<Refusal>& refusals)
{
    QStringList parts;
    for (const Refusal& r : refusals)
        parts << QStringLiteral("%1:%2").arg(r.position).arg(uint(r.character), 4, 16, QChar(u'0'));
    return parts.join(u' ');
}

} // namespace

void TestVarnelCodec::decodesVectors_data()
{
    addVectorRows();
}

void TestVarnelCodec::decodesVectors()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, unicode);
    QCOMPARE(decode(bytes), unicode);
}

void TestVarnelCodec::encodesVectors_data()
{
    addVectorRows();
}

void TestVarnelCodec::encodesVectors()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, unicode);
    const Encoded e = encode(unicode);
    QVERIFY(e.ok());
    QCOMPARE(e.bytes, bytes);
}

void TestVarnelCodec::decodesByTheRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("unicode");
    QTest::newRow("hung sign before subjoined")
        << QByteArray("\x76\xC0\xC4\xDB") << QStringLiteral("ತ್ತು");
    QTest::newRow("length mark after subjoined")
        << QByteArray("\x7A\xC9\xDD\xC3") << QStringLiteral("ದ್ದೇ");
    QTest::newRow("o and length mark around subjoined")
        << QByteArray("\xA5\xC9\xC7\xCC\xC3") << QStringLiteral("ಪ್ಕೋ");
    QTest::newRow("reph on ya") << QByteArray("\x41\x69\xC0\xC4\xF0") << QStringLiteral("ರ್ಯ");
    QTest::newRow("reph mid word")
        << QByteArray("\xA4\xAA\xC0\x69\xC1\xF0\x74") << QStringLiteral("ನಿರ್ಮಾಣ");
    QTest::newRow("ra ottu") << QByteArray("\x50\xC0\xE6\xAA\xC0\xC4") << QStringLiteral("ಕ್ರಮ");
    QTest::newRow("anusvara then conjunct")
        << QByteArray("\xB8\xC0\x41\x53\xC9\xE5") << QStringLiteral("ಸಂಖ್ಯೆ");
    QTest::newRow("ligature with length mark")
        << QByteArray("\xB8\xC0\xDC\xBD\xC3\x41\x69\xC0\xC4") << QStringLiteral("ಸ್ಥಳೀಯ");
    QTest::newRow("aspirated ligatures")
        << QByteArray("\x43\xA9\xFC\xAA\xC0\xC8\xA2\xDE") << QStringLiteral("ಅಭಿವೃದ್ಧಿ");
    QTest::newRow("ma with u sign") << QByteArray("\xAA\xC0\xC4\xC4") << QStringLiteral("ಮು");
    QTest::newRow("ma e with subjoined ma")
        << QByteArray("\xAA\xC9\xC4\xE4") << QStringLiteral("ಮ್ಮೆ");
    QTest::newRow("ya o subjoined ya long")
        << QByteArray("\x41\x69\xC9\xC6\xE5\xC3") << QStringLiteral("ಯ್ಯೋ");
    QTest::newRow("ma oo") << QByteArray("\xAA\xC9\xC6\xC3") << QStringLiteral("ಮೋ");
    QTest::newRow("va o") << QByteArray("\xAA\xC9\xC7") << QStringLiteral("ವೊ");
    QTest::newRow("va u") << QByteArray("\xAA\xC0\xC5") << QStringLiteral("ವು");
    QTest::newRow("mi") << QByteArray("\xAB\xC4") << QStringLiteral("ಮಿ");
    QTest::newRow("yi") << QByteArray("\xAC\xC4") << QStringLiteral("ಯಿ");
    QTest::newRow("ma stem aa") << QByteArray("\xAA\xC0\x69\xC1") << QStringLiteral("ಮಾ");
    QTest::newRow("ya stem au") << QByteArray("\x41\x69\xC0\x69\xCB") << QStringLiteral("ಯೌ");
    QTest::newRow("jha") << QByteArray("\x67\xC0\x68\xC4") << QStringLiteral("ಝ");
    QTest::newRow("jha aa") << QByteArray("\x67\xC0\x68\x69\xC1") << QStringLiteral("ಝಾ");
    QTest::newRow("jhi") << QByteArray("\x6A\x68\xC4") << QStringLiteral("ಝಿ");
    QTest::newRow("jhe") << QByteArray("\x67\xC9\x68\xC4") << QStringLiteral("ಝೆ");
    QTest::newRow("jho") << QByteArray("\x67\xC9\x68\xC6") << QStringLiteral("ಝೊ");
    QTest::newRow("vocalic r") << QByteArray("\x49\xC4") << QStringLiteral("ಋ");
    QTest::newRow("nna i") << QByteArray("\x74\xC2") << QStringLiteral("ಣಿ");
    QTest::newRow("dha") << QByteArray("\x7A\x73\xC0") << QStringLiteral("ಧ");
    QTest::newRow("bha aa") << QByteArray("\xA8\x73\xC1") << QStringLiteral("ಭಾ");
    QTest::newRow("dhi") << QByteArray("\xA2\xFC") << QStringLiteral("ಧಿ");
    QTest::newRow("ai after subjoined") << QByteArray("\x50\xC9\xE8\xCA") << QStringLiteral("ಕ್ಲೈ");
    QTest::newRow("second level ra")
        << QByteArray("\x67\xC1\xB5\xC0\xD6\xE7") << QStringLiteral("ರಾಷ್ಟ್ರ");
    QTest::newRow("stri") << QByteArray("\xB9\xDB\xE7\xC3") << QStringLiteral("ಸ್ತ್ರೀ");
    QTest::newRow("r sign after subjoined")
        << QByteArray("\xB8\xC0\xCC\xF8") << QStringLiteral("ಸ್ಕೃ");
    QTest::newRow("ra with subjoined keeps its picture")
        << QByteArray("\x67\xC0\xE5") << QStringLiteral("ರ\u200D್ಯ");
    QTest::newRow("dead consonant before consonant")
        << QByteArray("\x50\xEF\x67\xEF") << QStringLiteral("ಕ್\u200Cರ್");
    QTest::newRow("dead consonant mid word")
        << QByteArray("\xA7\xB8\xEF\xA3\xC0\xB0\xE8") << QStringLiteral("ಬಸ್\u200Cನಲ್ಲಿ");
    QTest::newRow("dead consonant before blank")
        << QByteArray("\xA7\xB8\xEF\x20\xA3\xC0") << QStringLiteral("ಬಸ್ ನ");
    QTest::newRow("dead consonant before vowel")
        << QByteArray("\xA7\xB8\xEF\x43") << QStringLiteral("ಬಸ್ಅ");
    QTest::newRow("dead cluster") << QByteArray("\x43\x55\xC0\xB8\xEF\xD6")
                                  << QStringLiteral("ಅಗಸ್ಟ್");
    QTest::newRow("digits") << QByteArray("\x31\x30\x3A\x33\x30") << QStringLiteral("೧೦:೩೦");
    QTest::newRow("zero then ya") << QByteArray("\x30\x41\x69\xC0\xC4") << QStringLiteral("೦ಯ");
    QTest::newRow("anusvara not ya") << QByteArray("\x43\x41") << QStringLiteral("ಅಂ");
    QTest::newRow("visarga") << QByteArray("\x7A\xC0\xC4\x42") << QStringLiteral("ದುಃ");
    QTest::newRow("punctuation") << QByteArray("\x28\x3F\x21\x2C\x2E\x3B\x29")
                                 << QStringLiteral("(?!,.;)");
    QTest::newRow("cr lf") << QByteArray("\x50\xC0\x0D\x0A\x52") << QStringLiteral("ಕ\r\nಖ");
    QTest::newRow("archaic rra aa") << QByteArray("\xBE\xF5\xC1") << QStringLiteral("ಱಾ");
    QTest::newRow("archaic llla u") << QByteArray("\xBF\xC4") << QStringLiteral("ೞು");
    QTest::newRow("archaic subjoined rra") << QByteArray("\x50\xC0\xF9") << QStringLiteral("ಕ್ಱ");
    QTest::newRow("archaic subjoined llla") << QByteArray("\x50\xC0\xFA") << QStringLiteral("ಕ್ೞ");
}

// Beyond the words of the program: the letters, joiners and orders of real text.
void TestVarnelCodec::decodesByTheRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, unicode);
    QCOMPARE(decode(bytes), unicode);
    // Written back, each of these is its own canonical spelling.
    const Encoded e = encode(unicode);
    QVERIFY(e.ok());
    QCOMPARE(e.bytes, bytes);
}

void TestVarnelCodec::readsSlipsAndStrayBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("unicode");
    QTest::newRow("doubled e sign") << QByteArray("\x50\xC9\xC9") << QStringLiteral("ಕೆ");
    QTest::newRow("doubled head mark") << QByteArray("\x50\xC0\xC0") << QStringLiteral("ಕ");
    QTest::newRow("head mark after aa") << QByteArray("\x50\xC1\xC0") << QStringLiteral("ಕಾ");
    QTest::newRow("spacers") << QByteArray("\xB8\xC9\xD6\xE7\xF6\xCA") << QStringLiteral("ಸ್ಟ್ರೈ");
    QTest::newRow("lone head mark") << QByteArray("\xC0") << QStringLiteral("");
    QTest::newRow("lone sign") << QByteArray("\xC1") << QStringLiteral("ಾ");
    QTest::newRow("lone virama") << QByteArray("\xEF") << QStringLiteral("್");
    QTest::newRow("lone subjoined") << QByteArray("\xCC") << QStringLiteral("್ಕ");
    QTest::newRow("lone reph") << QByteArray("\xF0") << QStringLiteral("ರ್");
    QTest::newRow("reph over lone subjoined") << QByteArray("\xF0\xCC") << QStringLiteral("್ಕ");
    QTest::newRow("sign after vowel") << QByteArray("\x43\xC1") << QStringLiteral("ಅಾ");
    QTest::newRow("stray aspiration") << QByteArray("\x43\x73\xC0\xFC") << QStringLiteral("ಅ");
    QTest::newRow("stray pieces") << QByteArray("\x68\x69\xF5\xF7\xF6") << QStringLiteral("");
    QTest::newRow("stray nukta") << QByteArray("\x43\xF3") << QStringLiteral("ಅ");
    QTest::newRow("yi without hook") << QByteArray("\xAC") << QStringLiteral("ಯಿ");
    QTest::newRow("vocalic r without hook") << QByteArray("\x49") << QStringLiteral("ಋ");
    QTest::newRow("nukta on consonant") << QByteArray("\xA5\x73\xF3") << QStringLiteral("ಫ಼");
}

void TestVarnelCodec::readsSlipsAndStrayBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, unicode);
    QCOMPARE(decode(bytes), unicode);
}

void TestVarnelCodec::unknownBytesReadAsReplacement()
{
    const QByteArray unknown(
        "\x7F\x80\x81\x84\x8F\x9D\x9F\xA1\xAD\xB3\xB4\xB7\xF2\xF4\xFB\xFD\xFE\xFF");
    QCOMPARE(decode(unknown), QString(unknown.size(), QChar(0xFFFD)));
    // Curly quotes seen in real documents, and the no-break space.
    QCOMPARE(decode("\x91\x92\x93\x94\xA0"), QStringLiteral("‘’“” "));
    QCOMPARE(encode(QStringLiteral("“ಕ”")).bytes, QByteArray("\x93\x50\xC0\x94"));
    // An unknown byte between glyphs ends the syllable and nothing else.
    QCOMPARE(decode("\x50\xFF\xC0\xC4"), QStringLiteral("ಕ\uFFFDು"));
}

void TestVarnelCodec::spellingVariantsReadAlike_data()
{
    QTest::addColumn<QByteArray>("variant");
    QTest::addColumn<QByteArray>("canonical");
    QTest::newRow("pu hanging") << QByteArray("\xA5\xC0\xC5") << QByteArray("\xA5\xC0\xC4");
    QTest::newRow("puu hanging") << QByteArray("\xA5\xC0\xC7") << QByteArray("\xA5\xC0\xC6");
    QTest::newRow("po side form") << QByteArray("\xA5\xC9\xC6") << QByteArray("\xA5\xC9\xC7");
    QTest::newRow("pho side form with length")
        << QByteArray("\xA5\x73\xC9\xC6\xC3") << QByteArray("\xA5\x73\xC9\xC7\xC3");
    QTest::newRow("phu hanging") << QByteArray("\xA5\x73\xC0\xC5")
                                 << QByteArray("\xA5\x73\xC0\xC4");
    QTest::newRow("ra ottu second form first")
        << QByteArray("\x50\xC0\xE7") << QByteArray("\x50\xC0\xE6");
    QTest::newRow("r sign before subjoined")
        << QByteArray("\xB8\xC0\xC8\xE4") << QByteArray("\xB8\xC0\xE4\xF8");
    QTest::newRow("length mark before subjoined")
        << QByteArray("\x51\xC3\xE6") << QByteArray("\x51\xE6\xC3");
    QTest::newRow("ai mark before subjoined")
        << QByteArray("\x50\xC9\xCA\xE8") << QByteArray("\x50\xC9\xE8\xCA");
    QTest::newRow("reph before length mark")
        << QByteArray("\xA8\xC9\xC6\xF0\xC3") << QByteArray("\xA8\xC9\xC6\xC3\xF0");
    QTest::newRow("reph after anusvara")
        << QByteArray("\x41\x69\xC0\x69\xC1\x41\xF0") << QByteArray("\x41\x69\xC0\x69\xC1\xF0\x41");
    QTest::newRow("ya digit ring")
        << QByteArray("\x30\x69\xC0\xC4") << QByteArray("\x41\x69\xC0\xC4");
    QTest::newRow("ya digit ring stem")
        << QByteArray("\x30\x69\xC0\x69\xC1") << QByteArray("\x41\x69\xC0\x69\xC1");
    QTest::newRow("ye digit ring")
        << QByteArray("\x30\x69\xC9\xC4") << QByteArray("\x41\x69\xC9\xC4");
    QTest::newRow("yo digit ring")
        << QByteArray("\x30\x69\xC9\xC6") << QByteArray("\x41\x69\xC9\xC6");
    QTest::newRow("dead ma from a hook")
        << QByteArray("\xAA\xC0\xC4\xEF") << QByteArray("\xAA\xC0\x69\xEF");
    QTest::newRow("spacers") << QByteArray("\xB8\xC9\xD6\xE7\xF6\xCA")
                             << QByteArray("\xB8\xC9\xD6\xE7\xCA");
    QTest::newRow("spacer between subjoined")
        << QByteArray("\xB8\xC0\xD6\xF7\xE7") << QByteArray("\xB8\xC0\xD6\xE7");
    QTest::newRow("doubled e sign") << QByteArray("\x50\xC9\xC9") << QByteArray("\x50\xC9");
    QTest::newRow("head mark after e") << QByteArray("\x50\xC9\xC0") << QByteArray("\x50\xC9");
}

void TestVarnelCodec::spellingVariantsReadAlike()
{
    QFETCH(QByteArray, variant);
    QFETCH(QByteArray, canonical);
    QCOMPARE(decode(variant), decode(canonical));
    QVERIFY(varnel::sameText(variant, canonical));
    QCOMPARE(encode(decode(variant)).bytes, canonical);
}

// ರ with a subjoined ಯ and the reph over ಯ are different pictures of one word.
void TestVarnelCodec::raWithSubjoinedAndRephCompareEqual()
{
    const QByteArray subjoined("\xB8\xCB\x50\xC0\x67\xC0\xE5");    // ಸೌಕರ‍್ಯ
    const QByteArray reph("\xB8\xCB\x50\xC0\x41\x69\xC0\xC4\xF0"); // ಸೌಕರ್ಯ
    QVERIFY(decode(subjoined) != decode(reph));
    QVERIFY(varnel::sameText(subjoined, reph));
    QCOMPARE(encode(decode(subjoined)).bytes, subjoined);
    QCOMPARE(encode(decode(reph)).bytes, reph);
}

void TestVarnelCodec::sameText_data()
{
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<bool>("same");
    QTest::newRow("empty") << QByteArray() << QByteArray() << true;
    QTest::newRow("same bytes") << QByteArray("\xA2\xA3\xC0") << QByteArray("\xA2\xA3\xC0") << true;
    QTest::newRow("different words")
        << QByteArray("\xA2\xA3\xC0") << QByteArray("\xA2\xA3\xC1") << false;
    QTest::newRow("dead consonant kept apart")
        << QByteArray("\x50\xEF\x67\xC0") << QByteArray("\x50\xC0\xE6") << true;
    QTest::newRow("blank matters") << QByteArray("\x50\xC0\x20") << QByteArray("\x50\xC0") << false;
    QTest::newRow("case of glyph bytes matters")
        << QByteArray("\x50\xC0") << QByteArray("\x70") << false;
}

void TestVarnelCodec::sameText()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(bool, same);
    QCOMPARE(varnel::sameText(a, b), same);
    QCOMPARE(varnel::sameText(b, a), same);
}

void TestVarnelCodec::encoderNormalisesFirst()
{
    // ೊ as ೆ + ೂ, ೋ as ೆ + ೂ + ೕ, ೀ as ಿ + ೕ
    QCOMPARE(encode(QStringLiteral("ಹ\u0CC6\u0CC2ಸ")).bytes, encode(QStringLiteral("ಹೊಸ")).bytes);
    QCOMPARE(encode(QStringLiteral("ಸ\u0CC6\u0CC2\u0CD5ಮ")).bytes,
             encode(QStringLiteral("ಸೋಮ")).bytes);
    QCOMPARE(encode(QStringLiteral("ಸ್ಥಳ\u0CBF\u0CD5ಯ")).bytes,
             QByteArray("\xB8\xC0\xDC\xBD\xC3\x41\x69\xC0\xC4"));
}

// Long texts are normalised piece by piece; a decomposed sign must still compose wherever the
// pieces are cut, and refusals keep their places.
void TestVarnelCodec::encodesLongTextLikeItsParts()
{
    const QString word = QStringLiteral("ಹ\u0CC6\u0CC2ಸ ಬೆಂಗಳೂರು\u0CC6\u0CD5 ");
    const QString text = word.repeated(700) + QStringLiteral("A");
    const Encoded part = encode(word);
    const Encoded whole = encode(text);
    QCOMPARE(whole.bytes, part.bytes.repeated(700));
    const qsizetype nfcLength = text.normalized(QString::NormalizationForm_C).size();
    QCOMPARE(refusalsText(whole.refusals), QStringLiteral("%1:0041").arg(nfcLength - 1));
}

void TestVarnelCodec::encodesDigitsAsDigitBytes()
{
    QCOMPARE(encode(QStringLiteral("೧೦:೩೦")).bytes, QByteArray("10:30"));
    QCOMPARE(encode(QStringLiteral("10:30")).bytes, QByteArray("10:30"));
    QCOMPARE(decode("0123456789"), QStringLiteral("೦೧೨೩೪೫೬೭೮೯"));
}

void TestVarnelCodec::refusesCharactersWithoutForm_data()
{
    QTest::addColumn<QString>("unicode");
    QTest::addColumn<QString>("refused");
    QTest::newRow("latin capital") << QStringLiteral("A") << QStringLiteral("0:0041");
    QTest::newRow("latin after kannada")
        << QStringLiteral("ಕನ್ನಡ abc") << QStringLiteral("6:0061 7:0062 8:0063");
    QTest::newRow("vocalic l") << QStringLiteral("ಌ") << QStringLiteral("0:0c8c");
    QTest::newRow("vocalic ll") << QStringLiteral("ೡ") << QStringLiteral("0:0ce1");
    QTest::newRow("vocalic l sign") << QStringLiteral("ಕೢ") << QStringLiteral("1:0ce2");
    QTest::newRow("avagraha") << QStringLiteral("ಽ") << QStringLiteral("0:0cbd");
    QTest::newRow("rr sign") << QStringLiteral("ಕೄ") << QStringLiteral("1:0cc4");
    QTest::newRow("vocalic rr") << QStringLiteral("ೠ") << QStringLiteral("0:0ce0");
    QTest::newRow("nukta") << QStringLiteral("ಫ಼ಾ") << QStringLiteral("1:0cbc");
    QTest::newRow("lone length mark") << QStringLiteral("\u0CD5") << QStringLiteral("0:0cd5");
    QTest::newRow("candrabindu") << QStringLiteral("ಕಁ") << QStringLiteral("1:0c81");
    QTest::newRow("devanagari") << QStringLiteral("ಕ\u0915") << QStringLiteral("1:0915");
    QTest::newRow("no-break space") << QStringLiteral("ಕ\u00A0ಕ") << QStringLiteral("1:00a0");
    QTest::newRow("delete") << QStringLiteral("\x7F") << QStringLiteral("0:007f");
    QTest::newRow("replacement") << QStringLiteral("\uFFFD") << QStringLiteral("0:fffd");
    QTest::newRow("outside the bmp") << QStringLiteral("😀ಕx") << QStringLiteral("0:1f600 3:0078");
    QTest::newRow("position in nfc")
        << QStringLiteral("ಹ\u0CC6\u0CC2x") << QStringLiteral("2:0078");
    QTest::newRow("joiners are not refused") << QStringLiteral("ಕ\u200Dಖ\u200C") << QString();
}

void TestVarnelCodec::refusesCharactersWithoutForm()
{
    QFETCH(QString, unicode);
    QFETCH(QString, refused);
    const Encoded e = encode(unicode);
    QCOMPARE(refusalsText(e.refusals), refused);
    QCOMPARE(e.ok(), refused.isEmpty());
    // Nothing of a refused character reaches the bytes: they decode to Kannada and punctuation.
    QVERIFY(!decode(e.bytes).contains(QChar(0xFFFD)) || unicode.contains(QChar(0xFFFD)) ||
            unicode.contains(QChar(0x7F)));
}

void TestVarnelCodec::refusalMessageNamesCharacters()
{
    QCOMPARE(refusalMessage({}), QString());

    const QString one = refusalMessage(encode(QStringLiteral("ಕಖA")).refusals);
    QVERIFY2(one.contains(QStringLiteral("«A» U+0041")), qPrintable(one));
    QVERIFY2(one.contains(QStringLiteral("೩")), qPrintable(one)); // third character
    QVERIFY(one.contains(QStringLiteral("ಅಕ್ಷರ")));

    // Invisible characters are named by their code; combining ones are shown on a circle.
    const QString invisible = refusalMessage({{0, 0x00A0}, {1, 0x0CBC}});
    QVERIFY(invisible.contains(QStringLiteral("U+00A0")));
    QVERIFY(!invisible.contains(QStringLiteral("«\u00A0»")));
    QVERIFY(invisible.contains(QStringLiteral("«◌಼» U+0CBC")));
    QVERIFY(refusalMessage({{0, 0x1F600}}).contains(QStringLiteral("«😀» U+1F600")));

    // A pasted English paragraph does not make a message as long as the paragraph.
    const QList<Refusal> many = encode(QStringLiteral("abcdefghijkl")).refusals;
    QCOMPARE(many.size(), 12);
    const QString message = refusalMessage(many);
    QVERIFY(message.contains(QStringLiteral("«j»")));
    QVERIFY(!message.contains(QStringLiteral("«k»")));
    QVERIFY(message.contains(QStringLiteral("ಇನ್ನೂ ೨")));
}

void TestVarnelCodec::storedTextKeepsEveryByte()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString stored = toStoredText(all);
    QCOMPARE(stored.size(), 256);
    QCOMPARE(stored.at(0xB8), QChar(0xB8));
    QCOMPARE(fromStoredText(stored), all);
    // What a Windows-1252 driver hands back maps to the same bytes.
    QCOMPARE(fromStoredText(QStringLiteral("€“”Ÿ")), QByteArray("\x80\x93\x94\x9F"));
    // A character no byte stands for becomes an unknown glyph, never a letter.
    QCOMPARE(fromStoredText(QStringLiteral("aಕ")), QByteArray("a\x7F"));
}

void TestVarnelCodec::kannadaDigitsBothWays()
{
    QCOMPARE(kannadaDigits(QStringLiteral("05/03/2024   ")), QStringLiteral("೦೫/೦೩/೨೦೨೪   "));
    QCOMPARE(asciiDigits(QStringLiteral("೨೧:೦೫ ಕ")), QStringLiteral("21:05 ಕ"));
}

QTEST_GUILESS_MAIN(TestVarnelCodec)
#include "tst_varnel_codec.moc"
