#pragma once

// Running velmora-cli from a test: in this process through the library (fast, the default) or
// as the real program (for what only a process shows: exit on a signal, a full standard output,
// argument bytes that are not UTF-8, a diary locked by another process).

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QStringList>

struct CliResult {
    int exitCode = -1; // -1: the program did not finish in time and was killed
    QByteArray out;
    QString err;
};

// Environment variables set for one run (and put back after an in-process run).
using CliEnvironment = QList<QPair<QByteArray, QByteArray>>;

// `velmora-cli ARGUMENTS` run in this process, as the program runs it.
CliResult runCliInProcess(const QStringList& arguments, const CliEnvironment& environment = {});

#ifdef VELMORA_CLI
// The same run through the program itself.
inline CliResult runCliProcess(const QStringList& arguments, const CliEnvironment& environment = {})
{
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : environment)
        variables.insert(QString::fromUtf8(name), QString::fromUtf8(value));
    QProcess cli;
    cli.setProcessEnvironment(variables);
    cli.start(QStringLiteral(VELMORA_CLI), arguments);
    CliResult result;
    if (cli.waitForFinished(60000))
        result.exitCode = cli.exitCode();
    else
        cli.kill();
    result.out = cli.readAllStandardOutput();
    result.err = QString::fromUtf8(cli.readAllStandardError());
    return result;
}
#endif
