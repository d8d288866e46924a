#include <QtTest>

#include "SearchDiary.h"
#include "platform/jet/Database.h"
#include "platform/varnel/VarnelCodec.h"
#include "search/SearchQueries.h"
#include "search/SearchSession.h"
#include "search/SearchTexts.h"

// The list a search fills: what its cells show and what stays reachable behind them.
class TestSearchModel : public QObject {
    Q_OBJECT

private slots:
    void cellsShowKannada();
    void manyRowsAreNumberedAndASecondSearchReplacesThem();
    void aFailedSearchKeepsTheList();
};

void TestSearchModel::cellsShowKannada()
{
    SearchDiary diary;
    diary.addProgramme(QStringLiteral("local"), 7, QDate(2027, 3, 5), QTime(21, 5, 59),
                       QStringLiteral("ಪುಸ್ತಕ ಬಿಡುಗಡೆ"));
    diary.addTour(3, QStringLiteral("ಬೆಂಗಳೂರು"), QStringLiteral("ಮೈಸೂರು"), QDate(2027, 3, 1),
                  QDate(2027, 3, 2));
    search::SearchSession local(data::Register::Local);
    local.OpenDatabase(diary.diaryPath());
    local.run(search::programmeOpeningQuery(QStringLiteral("local")));
    const search::SearchResultsModel& m = local.model();
    QCOMPARE(m.columnCount(), 10);
    QCOMPARE(m.headerData(0, Qt::Horizontal).toString(),
             varnel::decode(search::texts::serialNumber));
    QCOMPARE(m.headerData(7, Qt::Horizontal).toString(), QStringLiteral("ದೂರವಾಣಿ ಸಂಖ್ಯೆ"));
    const auto cell = [&](const search::SearchResultsModel& model, int column) {
        return model.index(0, column).data().toString();
    };
    QCOMPARE(cell(m, 0), QStringLiteral("೧")); // the position, not sl_no 7
    QCOMPARE(cell(m, 1), QStringLiteral("೦೫/೦೩/೨೦೨೭"));
    QCOMPARE(cell(m, 2), QStringLiteral("ಶುಕ್ರವಾರ"));
    QCOMPARE(cell(m, 3), QStringLiteral("೨೧:೦೫"));
    QCOMPARE(cell(m, 4), QStringLiteral("ಪುಸ್ತಕ ಬಿಡುಗಡೆ"));
    QCOMPARE(m.index(0, 4).data(Qt::ToolTipRole).toString(), QStringLiteral("ಪುಸ್ತಕ ಬಿಡುಗಡೆ"));
    QCOMPARE(m.records().first().serial(), 7); // the record stays reachable whole

    search::SearchSession tours(data::Register::Tour);
    tours.OpenDatabase(diary.diaryPath());
    tours.run(search::tourOpeningQuery());
    QCOMPARE(tours.model().columnCount(), 11);
    QCOMPARE(cell(tours.model(), 1), QStringLiteral("ಬೆಂಗಳೂರು"));
    QCOMPARE(cell(tours.model(), 6), QStringLiteral("೦೨/೦೩/೨೦೨೭"));
    QCOMPARE(cell(tours.model(), 8), QStringLiteral("೨೦:೧೫"));
}

void TestSearchModel::manyRowsAreNumberedAndASecondSearchReplacesThem()
{
    SearchDiary diary;
    diary.db().BeginTrans();
    for (int i = 1; i <= 250; ++i)
        diary.addProgramme(QStringLiteral("outstation"), i, QDate(2027, 3, 5),
                           QTime(0, 0).addSecs(i * 60));
    diary.addProgramme(QStringLiteral("outstation"), 251, QDate(2027, 4, 1), QTime(10, 0));
    diary.db().CommitTrans();
    search::SearchSession session(data::Register::Outstation);
    session.OpenDatabase(diary.diaryPath());
    search::ProgrammeBounds bounds;
    bounds.dateFrom = bounds.dateTo = QDate(2027, 3, 5);
    session.run(search::programmeQuery(QStringLiteral("outstation"), bounds));
    QSignalSpy reset(&session.model(), &QAbstractItemModel::modelReset);
    QCOMPARE(session.model().rowCount(), 250);
    QCOMPARE(session.model().index(249, 0).data().toString(), QStringLiteral("೨೫೦"));

    bounds.dateFrom = bounds.dateTo = QDate(2027, 4, 1);
    session.run(search::programmeQuery(QStringLiteral("outstation"), bounds));
    QCOMPARE(reset.count(), 1);
    QCOMPARE(session.model().rowCount(), 1);
    QCOMPARE(session.model().records().first().serial(), 251);

    bounds.dateFrom = bounds.dateTo = QDate(2030, 1, 1);
    session.run(search::programmeQuery(QStringLiteral("outstation"), bounds));
    QCOMPARE(session.model().rowCount(), 0); // the header alone
    QCOMPARE(session.model().columnCount(), 10);
}

void TestSearchModel::aFailedSearchKeepsTheList()
{
    SearchDiary diary;
    diary.addProgramme(QStringLiteral("local"), 1, QDate(2027, 3, 5), QTime(10, 0));
    search::SearchSession session(data::Register::Local);
    session.OpenDatabase(diary.diaryPath());
    session.run(search::programmeOpeningQuery(QStringLiteral("local")));
    const QString shown = session.statement();
    QVERIFY_THROWS_EXCEPTION(std::exception, session.run(QStringLiteral("Select * from nowhere")));
    QCOMPARE(session.model().rowCount(), 1);
    QCOMPARE(session.statement(), shown);
}

QTEST_GUILESS_MAIN(TestSearchModel)
#include "tst_search_model.moc"
