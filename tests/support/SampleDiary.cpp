#include "SampleDiary.h"

#include <QFile>

#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"

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
    database.Execute(QString::fromUtf8(file.readAll()));
}

std::shared_ptr<jet::Database> openSampleDiary(const QString& folder)
{
    auto database = data::OpenDiaryDatabase(folder + QStringLiteral("\\Tarnalist.mdb"));
    loadSampleDiary(*database);
    return database;
}
