#pragma once

// What add, change and delete share: a register's fields as options, the record editor of the
// register windows driven through a CliRecordView, and the record written as list CSV.

#include <optional>

#include <QCommandLineParser>
#include <QMap>
#include <QVariant>

#include "CliRecordView.h"

namespace cli {

// The register named `name` (local, outstation or tour); BadInput for any other.
const registers::RegisterMapping& registerMapping(const QString& name);

// The fields of the three registers as options (--date ... --arrive-time), and --allow-clash.
void addFieldOptions(QCommandLineParser& parser);

// The fields given on the command line, by the register's column ordinals: dates, times and
// texts encoded to Varnel. BadInput names the option of a value that cannot be used, an option
// of the other kind of register, and, when `adding`, a needed field that is not given.
QMap<int, QVariant> givenFields(const QCommandLineParser& parser, const QString& registerName,
                                bool adding);

// REGISTER SL_NO of change and delete, and then the register's name and the serial's text.
void addRecordArguments(QCommandLineParser& parser);
std::pair<QString, QString> recordArguments(const QCommandLineParser& parser, const QString& usage);

// Opens the register of the diary named on the command line, which must exist, and moves the
// view to record `serial` as the navigator does: BadInput when there is none; the exit status
// when the editor refused.
std::optional<int> showRecord(const QString& command, const QCommandLineParser& parser,
                              CliRecordView& view, const QString& registerName,
                              const QString& serial);
// Types the given fields into the view as a user does, each date through its change handler.
void fillFields(CliRecordView& view, const QMap<int, QVariant>& given);

// The exit status of a step the editor refused (a clash, a notice), after reporting it on
// standard error; none when nothing was refused.
std::optional<int> refusedStep(const QString& command, const CliRecordView& view);

// The list CSV's header and the one record, on standard output.
void printRecord(const QString& registerName, const QList<QVariant>& record);

} // namespace cli
