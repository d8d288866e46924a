#include "SearchDiary.h"

#include <QtTest>

#include "SampleDiary.h"
#include "data/DayName.h"
#include "data/DiaryDatabase.h"
#include "data/DiarySchema.h"
#include "platform/jet/Database.h"
#include "platform/jet/ServerSchema.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/varnel/VarnelCodec.h"
#include "search/SearchSession.h"

namespace {

QString stored(const QString& unicode)
{
    const varnel::Encoded encoded = varnel::encode(unicode);
    if (!encoded.ok())
        qFatal("no Varnel form for a test text");
    return jet::SqlLiteral(varnel::toStoredText(encoded.bytes));
}

QString storedDay(const QDate& date)
{
    return jet::SqlLiteral(varnel::toStoredText(data::DayName(date)));
}

} // namespace

SearchDiary::SearchDiary() : m_db(data::OpenDiaryDatabase(m_folder.diaryPath())) {}

SearchDiary::SearchDiary(const QString& connection) : m_db(jet::Database::ConnectServer(connection))
{
    jet::initServerDiary(*m_db, data::diarySchemaStatements());
    QFile settings(m_folder.filePath(QString::fromLatin1(data::kSettingsFileName)));
    if (!settings.open(QIODevice::WriteOnly))
        qFatal("cannot write velmora.conf");
    settings.write(QStringLiteral("[server]\nconnection=\"%1\"\n").arg(connection).toUtf8());
}

SearchDiary::~SearchDiary() = default;

void SearchDiary::addProgramme(const QString& table, int serial, const QDate& date,
                               const QTime& time, const QString& topic)
{
    m_db->Execute(QStringLiteral("INSERT INTO %1 VALUES (%2, '%3', %4, '%5', %6, %7, '', '', '', "
                                 "'')")
                      .arg(table)
                      .arg(serial)
                      .arg(date.toString(Qt::ISODate), storedDay(date),
                           time.toString(QStringLiteral("HH:mm:ss")), stored(topic),
                           stored(QStringLiteral("ಪುರಭವನ"))));
}

void SearchDiary::addTour(int serial, const QString& from, const QString& to, const QDate& departs,
                          const QDate& arrives)
{
    m_db->Execute(QStringLiteral("INSERT INTO tour VALUES (%1, %2, %3, '%4', %5, '08:00:00', "
                                 "'%6', %7, '20:15:00', %8, '')")
                      .arg(serial)
                      .arg(stored(from), stored(to), departs.toString(Qt::ISODate),
                           storedDay(departs), arrives.toString(Qt::ISODate), storedDay(arrives),
                           stored(QStringLiteral("ರೈಲು"))));
}

void SearchDiary::loadSample()
{
    loadSampleDiary(*m_db);
}

QList<int> SearchDiary::serialsOf(const QString& statement)
{
    search::SearchSession session(data::Register::Local);
    session.OpenDatabase(diaryPath());
    session.run(statement);
    QList<int> serials;
    for (const data::Record& record : session.model().records())
        serials << record.serial();
    return serials;
}
