#include "SampleDiary.h"

#include <sqlite3.h>

#include <QFile>

#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/SqliteDatabase.h"

QString sampleDiarySqlPath()
{
    return QStringLiteral(VELMORA_SHARED_DIR "/sample-diary.sql");
}

void loadSampleDiary(jet::Database& database)
{
    QFile file(sampleDiarySqlPath());
    if (!file.open(QIODevice::ReadOnly))
        throw jet::JetError(jet::errors::kFileNotFound,
                            QStringLiteral("Cannot read %1").arg(sampleDiarySqlPath()));
    // A script of many statements: run as the sqlite3 shell would run it.
    const QByteArray script = file.readAll();
    sqlite3* db = jet::sqliteHandle(database);
    if (sqlite3_exec(db, script.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw jet::JetError(jet::errors::kEngineFailure, QString::fromUtf8(sqlite3_errmsg(db)));
}

std::shared_ptr<jet::Database> openSampleDiary(const QString& folder)
{
    auto database = data::OpenDiaryDatabase(folder + QStringLiteral("\\Tarnalist.mdb"));
    loadSampleDiary(*database);
    return database;
}
