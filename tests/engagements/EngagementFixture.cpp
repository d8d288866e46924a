#include "EngagementFixture.h"

#include <QDate>
#include <QTime>

#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/varnel/VarnelCodec.h"

engagements::Entry entry(const QString& description)
{
    const QStringList parts = description.split(QLatin1Char(' '));
    const auto time = [](const QString& text) {
        return QTime::fromString(text, text.size() == 5 ? QStringLiteral("HH:mm")
                                                        : QStringLiteral("HH:mm:ss"));
    };
    engagements::Entry e;
    e.which = parts[0][0] == QLatin1Char('L')   ? data::Register::Local
              : parts[0][0] == QLatin1Char('O') ? data::Register::Outstation
                                                : data::Register::Tour;
    e.serial = parts[0].mid(1).toInt();
    e.key = e.serial;
    e.date = QDate::fromString(parts[1], Qt::ISODate);
    e.time = time(parts[2]);
    if (e.isTour()) {
        e.endDate = QDate::fromString(parts[3], Qt::ISODate);
        e.endTime = time(parts[4]);
    }
    return e;
}

QString nameOf(const engagements::Entry& e)
{
    return data::tableName(e.which).left(1).toUpper() + QString::number(e.serial);
}

void split(const QStringList& descriptions, QList<engagements::Entry>& programmes,
           QList<engagements::Entry>& tours)
{
    for (const QString& description : descriptions)
        (description.startsWith(QLatin1Char('T')) ? tours : programmes).append(entry(description));
}

std::shared_ptr<jet::Database> fixtureDiary(const QString& folder)
{
    const auto db = data::OpenDiaryDatabase(folder + QStringLiteral("/Tarnalist.mdb"));
    const auto stored = [](const QString& kannada) {
        return jet::SqlLiteral(varnel::toStoredText(varnel::encode(kannada).bytes));
    };
    const QString meeting = stored(QStringLiteral(u"ಸಭೆ"));
    const QString programme = QStringLiteral("INSERT INTO %1 (sl_no, tarna_date, tarna_time, topic,"
                                             " venue) VALUES (%2, '%3', '%4', %5, %6)");
    const QStringList rows = {"local 1 2027-03-01 10:00:00",     "local 2 2027-03-01 10:59:00",
                              "local 3 2027-03-01 11:59:00",     "local 4 2027-03-03 12:00:00",
                              "local 5 2027-03-04 20:00:00",     "outstation 1 2027-03-01 11:30:00",
                              "outstation 2 2027-03-03 12:30:00"};
    for (const QString& row : rows) {
        const QStringList p = row.split(QLatin1Char(' '));
        const QString venue = p[0] == QLatin1String("local") && p[1] == QLatin1String("1")
                                  ? stored(QStringLiteral(u"ಬೆಂಗಳೂರು"))
                                  : QStringLiteral("''");
        db->Execute(programme.arg(p[0], p[1], p[2], p[3], meeting, venue));
    }
    const QString tour = QStringLiteral("INSERT INTO tour (sl_no, travel_from, travel_to, "
                                        "travel_date_from, travel_time_from, travel_date_to, "
                                        "travel_time_to) VALUES (%1, %2, %3, %4)");
    const QString bengaluru = stored(QStringLiteral(u"ಬೆಂಗಳೂರು"));
    const QString mysuru = stored(QStringLiteral(u"ಮೈಸೂರು"));
    db->Execute(tour.arg(QStringLiteral("1"), bengaluru, mysuru,
                         QStringLiteral("'2027-03-02', '08:00:00', '2027-03-04', '20:00:00'")));
    db->Execute(tour.arg(QStringLiteral("2"), mysuru, bengaluru,
                         QStringLiteral("'2027-03-06', '09:00:00', '2027-03-05', '18:00:00'")));
    return db;
}
