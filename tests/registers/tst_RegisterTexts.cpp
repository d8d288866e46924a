#include <QFile>
#include <QtTest>

#include "registers/RegisterTexts.h"

// Every Varnel text the registers show is one of the system's own strings, byte for byte: a
// slip in one escape would show the user a different word.
class TestRegisterTexts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void isOneOfTheSystemsStrings_data();
    void isOneOfTheSystemsStrings();

private:
    QSet<QByteArray> known_;
};

void TestRegisterTexts::initTestCase()
{
    QFile vectors(QStringLiteral(VELMORA_VARNEL_VECTORS));
    QVERIFY(vectors.open(QIODevice::ReadOnly));
    vectors.readLine(); // header
    while (!vectors.atEnd()) {
        const QList<QByteArray> columns = vectors.readLine().split('\t');
        QVERIFY(columns.size() >= 3);
        QByteArray bytes;
        for (const QByteArray& hex : columns[2].split(' '))
            bytes.append(char(hex.toInt(nullptr, 16)));
        known_.insert(bytes);
    }
    QVERIFY(known_.size() > 60);
}

void TestRegisterTexts::isOneOfTheSystemsStrings_data()
{
    namespace t = registers::texts;
    QTest::addColumn<QByteArray>("text");
    const std::pair<const char*, QByteArray> rows[] = {
        {"cancel question", t::cancelQuestion}, {"delete question", t::deleteQuestion},
        {"save question", t::saveQuestion}, {"programme details", t::programmeDetailsMissing},
        {"tour details", t::tourDetailsMissing}, {"serial number", t::serialNumber},
        {"date", t::date}, {"day", t::day}, {"time", t::time}, {"topic", t::topic},
        {"venue", t::venue}, {"address", t::address}, {"telephone", t::telephone},
        {"contact, local", t::contactLocal}, {"contact, outstation", t::contactOutstation},
        {"others", t::others}, {"frame, local", t::frameLocal},
        {"frame, outstation", t::frameOutstation}, {"frame, tour", t::frameTour},
        {"from where", t::travelFrom}, {"to where", t::travelTo},
        {"departure date", t::departureDate}, {"arrival date", t::arrivalDate},
        {"mode of travel", t::travelType},
    };
    for (const auto& [name, text] : rows)
        QTest::newRow(name) << text;
}

void TestRegisterTexts::isOneOfTheSystemsStrings()
{
    QFETCH(QByteArray, text);
    QVERIFY2(known_.contains(text), text.toHex(' ').constData());
}

QTEST_GUILESS_MAIN(TestRegisterTexts)
#include "tst_RegisterTexts.moc"
