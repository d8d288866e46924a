// Renumbers a register inside a transaction and reports "halfway" on stdout after the given
// number of rows, so that a test can kill it there. With "wait" it stops at that point.
#include <cstdio>
#include <thread>

#include <QString>

#include "RecordsetHelpers.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/Transaction.h"

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const bool wait = argc > 3 && QByteArray(argv[3]) == "wait";
    const int halfway = QByteArray(argv[2]).toInt();
    auto db = jet::Database::OpenDatabase(QString::fromLocal8Bit(argv[1]));
    auto rs = db->OpenRecordset(QStringLiteral("Select * from reg order by sl_no"));
    jet::Transaction transaction(*db);
    rs->MoveFirst();
    rs->Delete();
    renumberFromOne(*rs, [&](int row) {
        if (row != halfway)
            return;
        std::puts("halfway");
        std::fflush(stdout);
        while (wait)
            std::this_thread::sleep_for(std::chrono::seconds(1));
    });
    transaction.commit();
    return 0;
}
