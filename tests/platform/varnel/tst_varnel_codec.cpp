#include <QtTest>

#include "VarnelTestData.h"
#include "platform/varnel/VarnelCodec.h"

using namespace varnel;

class TestVarnelCodec : public QObject {
    Q_OBJECT
private slots:
    void decodesVectors_data();
    void decodesVectors();
    void encodesVectors_data();
    void encodesVectors();
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

QTEST_GUILESS_MAIN(TestVarnelCodec)
#include "tst_varnel_codec.moc"
