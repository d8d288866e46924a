#include <QtTest>

#include "CliWriteTable.h"
#include "TestServer.h"
#include "data/DiarySchema.h"
#include "platform/jet/Database.h"
#include "platform/jet/ServerSchema.h"

// velmora-cli add, change and delete on a diary on the server: the rows of the file's test,
// each on a new, empty diary.
class TestServerCliWrite : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { VELMORA_REQUIRE_TEST_SERVER(); }
    void steps_data() { cliWriteRows(); }
    void steps()
    {
        QFETCH(QStringList, steps);
        const QString connection = freshServerDatabase(QStringLiteral("velmora_cli_write"));
        jet::initServerDiary(*jet::Database::ConnectServer(connection),
                             data::diarySchemaStatements());
        runCliWriteSteps(steps, {QStringLiteral("--server"), connection});
    }
};

QTEST_GUILESS_MAIN(TestServerCliWrite)
#include "tst_server_cli_write.moc"
