#include <QRandomGenerator>
#include <QtTest>

#include "platform/varnel/VarnelCodec.h"

using namespace varnel;

// Texts in bulk through the codec and back: the diary's own, every syllable, typed
// sentences and random bytes.
class TestVarnelCodecRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void diaryTextsRoundTripByteForByte();
    void everySyllableRoundTrips();
    void typedSentencesRoundTrip();
    void decodeIsTotalAndNfc();
};

namespace {

constexpr char16_t Zwnj = 0x200C;
constexpr char16_t Zwj = 0x200D;

// Where two texts part, with some context, so that a failure in a long text can be read.
QByteArray difference(const QString& expected, const QString& actual, const QByteArray& bytes)
{
    qsizetype k = 0;
    while (k < expected.size() && k < actual.size() && expected[k] == actual[k])
        ++k;
    const qsizetype from = std::max<qsizetype>(0, k - 8);
    return (QStringLiteral("expected \"%1\", got \"%2\" from bytes \"%3\"")
                .arg(expected.mid(from, 16), actual.mid(from, 16), QString::fromLatin1(bytes)))
        .toUtf8();
}

// Every consonant of the block (the archaic ಱ ೞ too), and the vowel signs a person types.
QList<char16_t> writableConsonants()
{
    QList<char16_t> list;
    for (char16_t c = 0x0C95; c <= 0x0CB9; ++c)
        if (c != 0x0CA9 && c != 0x0CB4)
            list << c;
    return list << 0x0CDE;
}

const QList<QString> vowelSigns = {
    QString(),           QStringLiteral("ಾ"), QStringLiteral("ಿ"),  QStringLiteral("ೀ"),
    QStringLiteral("ು"), QStringLiteral("ೂ"), QStringLiteral("ೃ"), QStringLiteral("ೆ"),
    QStringLiteral("ೇ"), QStringLiteral("ೈ"), QStringLiteral("ೊ"), QStringLiteral("ೋ"),
    QStringLiteral("ೌ"),  QStringLiteral("್"),
};

const QList<QString> independentVowels = {
    QStringLiteral("ಅ"), QStringLiteral("ಆ"), QStringLiteral("ಇ"), QStringLiteral("ಈ"),
    QStringLiteral("ಉ"), QStringLiteral("ಊ"), QStringLiteral("ಋ"), QStringLiteral("ಎ"),
    QStringLiteral("ಏ"), QStringLiteral("ಐ"), QStringLiteral("ಒ"), QStringLiteral("ಓ"),
    QStringLiteral("ಔ"),
};

// Text as a person types it: syllables with conjuncts, reph, signs, anusvara and visarga,
// independent vowels, a dead consonant kept apart by ZWNJ, Kannada digits, punctuation.
class TypedKannada {
public:
    explicit TypedKannada(quint32 seed) : m_rng(seed) {}

    QString sentence()
    {
        QString s;
        const int words = 1 + m_rng.bounded(8);
        for (int w = 0; w < words; ++w) {
            if (w)
                s += separator();
            s += m_rng.bounded(20) == 0 ? number() : word();
        }
        return s;
    }

private:
    QString separator()
    {
        static const QStringList seps = {QStringLiteral(" "),  QStringLiteral(", "),
                                         QStringLiteral(". "), QStringLiteral("\n"),
                                         QStringLiteral("? "), QStringLiteral(" - ")};
        return seps.at(m_rng.bounded(seps.size()));
    }

    QString number()
    {
        QString n;
        for (int i = 1 + m_rng.bounded(4); i > 0; --i)
            n += QChar(char16_t(0x0CE6 + m_rng.bounded(10)));
        return n;
    }

    QChar consonant() { return QChar(m_consonants.at(m_rng.bounded(m_consonants.size()))); }

    QString word()
    {
        QString w;
        const int syllables = 1 + m_rng.bounded(4);
        for (int i = 0; i < syllables; ++i) {
            if (m_rng.bounded(10) == 0) {
                w += independentVowels.at(m_rng.bounded(independentVowels.size()));
            } else {
                const bool reph = m_rng.bounded(10) == 0;
                if (reph)
                    w += QStringLiteral("ರ್");
                const QChar base = consonant();
                w += base;
                const int subjoined = m_rng.bounded(4) == 0 ? 1 + m_rng.bounded(2) : 0;
                for (int k = 0; k < subjoined; ++k) {
                    // ರ carrying a subjoined glyph (not the reph) is written with ZWJ.
                    if (base == u'ರ' && !reph && k == 0 && m_rng.bounded(2))
                        w += QChar(Zwj);
                    w += QStringLiteral("್") + consonant();
                }
                const QString& sign = vowelSigns.at(m_rng.bounded(vowelSigns.size()));
                w += sign;
                // A dead consonant inside a word keeps its virama visible through ZWNJ.
                if (sign == QStringLiteral("್")) {
                    if (i + 1 < syllables) {
                        w += QChar(Zwnj);
                        w += consonant();
                        w += vowelSigns.at(1 + m_rng.bounded(vowelSigns.size() - 2));
                    }
                    continue;
                }
            }
            if (m_rng.bounded(8) == 0)
                w += m_rng.bounded(3) ? QStringLiteral("ಂ") : QStringLiteral("ಃ");
        }
        return w;
    }

    QRandomGenerator m_rng;
    const QList<char16_t> m_consonants = writableConsonants();
};

} // namespace

// Real diary entries (the sample database) are written back exactly as they were stored.
void TestVarnelCodecRoundTrip::diaryTextsRoundTripByteForByte()
{
    QFile file(QStringLiteral(VARNEL_TEST_DATA "/diary-texts.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    int count = 0;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const QByteArray bytes = line.toLatin1();
        const QString text = decode(bytes);
        QVERIFY2(!text.contains(QChar(0xFFFD)), qPrintable(line));
        const Encoded e = encode(text);
        QVERIFY2(e.ok(), qPrintable(line));
        QCOMPARE(e.bytes, bytes);
        ++count;
    }
    QVERIFY(count > 100);
}

// Every consonant with every vowel sign, alone, under a reph, with each subjoined consonant
// (ರ both as reph and with ZWJ as a subjoined carrier), with anusvara.
void TestVarnelCodecRoundTrip::everySyllableRoundTrips()
{
    const QList<char16_t> consonants = writableConsonants();
    int checked = 0;
    for (char16_t base : consonants) {
        for (const QString& sign : vowelSigns) {
            QStringList forms;
            forms << QString(QChar(base)) + sign << QStringLiteral("ರ್") + QChar(base) + sign
                  << QString(QChar(base)) + sign + QStringLiteral("ಂ");
            for (char16_t sub : consonants) {
                const QString carrier =
                    base == u'ರ' ? QString(QChar(base)) + QChar(Zwj) : QString(QChar(base));
                forms << carrier + QStringLiteral("್") + QChar(sub) + sign;
            }
            for (const QString& u : forms) {
                const Encoded e = encode(u);
                QVERIFY2(e.ok(), qPrintable(u));
                QCOMPARE(decode(e.bytes), u);
                ++checked;
            }
        }
    }
    QVERIFY(checked > 15000);
}

void TestVarnelCodecRoundTrip::typedSentencesRoundTrip()
{
    TypedKannada typed(20261207);
    for (int i = 0; i < 3000; ++i) {
        const QString u = typed.sentence();
        const Encoded e = encode(u);
        QVERIFY2(e.ok(), qPrintable(u));
        const QString back = decode(e.bytes);
        QVERIFY2(back == u, difference(u, back, e.bytes).constData());
    }
}

// Any bytes at all decode, to NFC text, and what the decoder writes is either writable again or
// one of the few characters without a Varnel form.
void TestVarnelCodecRoundTrip::decodeIsTotalAndNfc()
{
    const QString unwritable = QStringLiteral("\uFFFDೄೠ಼ೕೖ");
    QRandomGenerator rng(7);
    for (int i = 0; i < 50000; ++i) {
        QByteArray bytes;
        for (int n = rng.bounded(16); n > 0; --n) {
            const int r = rng.bounded(10);
            bytes.append(char(r < 6   ? 0xA0 + rng.bounded(0x60)
                              : r < 9 ? 0x30 + rng.bounded(0x4B)
                                      : rng.bounded(256)));
        }
        const QString text = decode(bytes);
        QCOMPARE(text, text.normalized(QString::NormalizationForm_C));
        for (const Refusal& r : encode(text).refusals)
            QVERIFY2(unwritable.contains(QChar(char16_t(r.character))),
                     bytes.toHex(' ').constData());
    }
}

QTEST_GUILESS_MAIN(TestVarnelCodecRoundTrip)
#include "tst_varnel_codec_roundtrip.moc"
