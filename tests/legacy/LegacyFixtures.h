#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QMap>
#include <QString>
#include <QStringList>

// The Jet diaries the tests bring over, and what they must give.
namespace fixtures {

// "diary-jet3.mdb" or "diary-jet4.mdb": the file's bytes.
QByteArray jetFile(const QString& name);
// Jet page size of a fixture: 2048 for Jet 3, 4096 for Jet 4.
int pageSize(const QString& name);

// expected.json: per register, the rows an exact import gives.
QJsonArray expectedRows(const QString& table);

void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// Every file in `folder` with its contents, to show that nothing changed.
QMap<QString, QByteArray> snapshot(const QString& folder);

// A register of a diary file as the expected rows are written: sl_no a number, NULL as null.
QJsonArray diaryRows(const QString& diaryFile, const QString& table);

} // namespace fixtures
