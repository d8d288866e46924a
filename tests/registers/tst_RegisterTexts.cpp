#include <QFile>
#include <QHash>
#include <QtTest>

#include "registers/RegisterTexts.h"
#include "registers/ui/RegisterWindowLayout.h"
#include "shell/ShellTexts.h"

// Every Varnel text the registers show is the system's own string for its place, byte for
// byte: a slip in one escape would show the user a different word, and two captions swapped
// would put each word beside the other's field.
class TestRegisterTexts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void eachPlaceShowsItsText_data();
    void eachPlaceShowsItsText();

private:
    QHash<int, QByteArray> m_vectors; // by their number in vectors.tsv
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
        m_vectors.insert(columns[0].toInt(), bytes);
    }
    QVERIFY(m_vectors.size() > 60);
}

namespace {

using registers::RegisterWindowLayout;

// The caption beside each field of a register window, and its frame's caption, by the number
// of the system's string in vectors.tsv.
struct Place {
    const char* control;
    int vector;
};

void addWindowRows(const RegisterWindowLayout& layout, const QList<Place>& places)
{
    QHash<QString, QByteArray> shown{{QStringLiteral("Frame1"), layout.frameCaption}};
    for (const registers::FieldPlace& f : layout.fields) {
        if (!f.caption.isEmpty())
            shown.insert(f.name, f.caption);
    }
    QCOMPARE(shown.size(), places.size()); // no caption left out of the table
    for (const Place& p : places) {
        const QString control = QString::fromLatin1(p.control);
        QVERIFY2(shown.contains(control), p.control);
        QTest::addRow("%s %s", qPrintable(layout.name), p.control) << shown[control] << p.vector;
    }
}

} // namespace

void TestRegisterTexts::eachPlaceShowsItsText_data()
{
    namespace t = registers::texts;
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("vector");

    addWindowRows(RegisterWindowLayout::local(), {{"TxtSl_no", 40},
                                                  {"DTPickerDate", 41},
                                                  {"TxtDay", 42},
                                                  {"DTPickerTime", 43},
                                                  {"TxtTopic", 44},
                                                  {"TxtVenue", 45},
                                                  {"TxtAddress", 46},
                                                  {"TxtTelephone", 47},
                                                  {"TxtContact", 48},
                                                  {"TxtOthers", 49},
                                                  {"Frame1", 50}});
    addWindowRows(RegisterWindowLayout::outstation(), {{"TxtSl_no", 40},
                                                       {"DTPickerDate", 41},
                                                       {"TxtDay", 42},
                                                       {"DTPickerTime", 43},
                                                       {"TxtTopic", 44},
                                                       {"TxtVenue", 45},
                                                       {"TxtAddress", 46},
                                                       {"TxtTelephone", 47},
                                                       {"TxtContact", 52},
                                                       {"TxtOthers", 49},
                                                       {"Frame1", 51}});
    addWindowRows(RegisterWindowLayout::tour(), {{"TxtSl_no", 40},
                                                 {"TxtFrom", 53},
                                                 {"TxtTo", 54},
                                                 {"DTPDateFrom", 55},
                                                 {"TxtDayFrom", 42},
                                                 {"DTPTimeFrom", 43},
                                                 {"DTPDateTo", 56},
                                                 {"TxtDayTo", 42},
                                                 {"DTPTimeTo", 43},
                                                 {"TxtTraveltype", 57},
                                                 {"TxtOthers", 49},
                                                 {"Frame1", 58}});

    // The questions and messages, and the image buttons' captions.
    const std::tuple<const char*, QByteArray, int> named[] = {
        {"cancel question", t::cancelQuestion, 21},
        {"delete question", t::deleteQuestion, 22},
        {"save question", t::saveQuestion, 23},
        {"programme details missing", t::programmeDetailsMissing, 24},
        {"tour details missing", t::tourDetailsMissing, 25},
        {"Label0(0) cancel", shell::cancelCaption(), 35},
        {"Label0(1) new", shell::newCaption(), 34},
        {"Label0(2) save", shell::saveCaption(), 36},
        {"Label0(3) delete", shell::deleteCaption(), 37},
        {"Label0(4) back", shell::backCaption(), 33},
    };
    for (const auto& [name, text, vector] : named)
        QTest::newRow(name) << text << vector;
}

void TestRegisterTexts::eachPlaceShowsItsText()
{
    QFETCH(QByteArray, text);
    QFETCH(int, vector);
    QVERIFY(m_vectors.contains(vector));
    QCOMPARE(text.toHex(' '), m_vectors[vector].toHex(' '));
}

QTEST_GUILESS_MAIN(TestRegisterTexts)
#include "tst_RegisterTexts.moc"
