#pragma once

// velmora-cli add, change and delete as a script uses them, shared by the diary file's test
// and the server's: each row is a run of steps "ARGUMENTS => CODE", then "= OUT" (standard
// output is OUT, $H the list's header for the step's register) or "~ TEXT" (standard output,
// or standard error on a failure, holds TEXT). Each step works on the diary given.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "CliInProcess.h"
#include "data/CsvText.h"
#include "search/SearchCsv.h"

inline void cliWriteRows()
{
    QTest::addColumn<QStringList>("steps");
    const QString meeting =
        QStringLiteral("add local --date 2030-01-02 --time 10:30 --subject ಸಭೆ --venue ಮನೆ");
    const QString tour = QStringLiteral(
        "add tour --from-place ಮೈಸೂರು --to-place ಬೆಂಗಳೂರು --leave-date 2030-02-01 "
        "--leave-time 08:00 --arrive-date 2030-02-03 --arrive-time 18:00 --mode ರೈಲು");
    const QString meetingLine = QStringLiteral(",2030-01-02,ಬುಧವಾರ,10:30,ಸಭೆ,ಮನೆ,,,,\n");
    QTest::newRow("add to a missing or empty diary gives 1")
        << QStringList{meeting + " => 0 = 1\n", "list local => 0 = $H1" + meetingLine};
    QTest::newRow("local: serials stay 1..N, a deletion is kept") << QStringList{
        meeting + " => 0 = 1\n",
        "add local --date 2030-01-03 --time 09:00 --subject ಊಟ --venue ಮನೆ --contact ರಾಮ => 0 = 2\n",
        "add outstation --date 2030-01-02 --time 10:30 --subject ಸಭೆ --venue ಮನೆ --allow-clash "
        "=> 0 = 1\n",
        "change local 2 --date 2030-01-05 --subject ಹೊಸ => 0 = "
        "$H2,2030-01-05,ಶನಿವಾರ,09:00,ಹೊಸ,ಮನೆ,,,ರಾಮ,\n",
        "delete local 1 => 0 = $H1" + meetingLine,
        "list local => 0 = $H1,2030-01-05,ಶನಿವಾರ,09:00,ಹೊಸ,ಮನೆ,,,ರಾಮ,\n",
        "deleted list local => 0 ~ ,1" + meetingLine};
    QTest::newRow("tour: day names follow the dates, which stay in order")
        << QStringList{tour + " => 0 = 1\n",
                       tour + " --allow-clash => 0 = 2\n",
                       "change tour 1 --arrive-date 2030-02-09 => 0 = "
                       "$H1,ಮೈಸೂರು,ಬೆಂಗಳೂರು,2030-02-01,ಶುಕ್ರವಾರ,08:00,2030-02-09,ಶನಿವಾರ,18:00,ರೈಲು,\n",
                       "change tour 1 --leave-date 2030-02-10 => 2 ~ --arrive-date",
                       "delete tour 2 => 0 ~ \n2,ಮೈಸೂರು",
                       "list tour => 0 ~ \n1,ಮೈಸೂರು,ಬೆಂಗಳೂರು,2030-02-01,ಶುಕ್ರವಾರ,08:00,2030-02-09,"};
    QTest::newRow("a clash is refused unless allowed") << QStringList{
        meeting + " => 0 = 1\n",
        "add local --date 2030-01-02 --time 10:45 --subject ಭೇಟಿ --venue ಮನೆ => 2 ~ ಸಭೆ",
        "add local --date 2030-01-02 --time 12:00 --subject ಭೇಟಿ --venue ಮನೆ => 0 = 2\n",
        "change local 2 --time 11:00 => 2 ~ ಸಭೆ",
        "change local 2 --time 11:00 --allow-clash => 0 ~ ,11:00,"};
    QTest::newRow("a serial that is not there")
        << QStringList{meeting + " => 0 = 1\n", "change local 2 --subject ಹೊಸ => 2",
                       "delete local 0 => 2",   "delete tour 1 => 2",
                       "delete local x => 2",   "list local => 0 = $H1" + meetingLine};
    QTest::newRow("no diary to change")
        << QStringList{"change local 1 --subject ಹೊಸ => 2", "delete local 1 => 2"};
    QTest::newRow("bad or missing fields")
        << QStringList{meeting + "☃ => 2 ~ --venue",
                       "add local --date 2030-01-02 --time 10:30 --subject ಸಭೆ => 2 ~ --venue",
                       meeting + " --mode ರೈಲು => 2 ~ --mode",
                       meeting + " --time 9:00 => 2 ~ --time",
                       "change local 1 => 2",
                       "add tour --from-place ಮೈಸೂರು => 2 ~ --to-place"};
    QTest::newRow("a run on a server leaves the next on the diary given")
        << QStringList{meeting + " --server $S => 3", meeting + " => 0 = 1\n"};
    QTest::newRow("no server") << QStringList{meeting + " --server $S => 3",
                                              "change local 1 --subject ಹೊಸ --server $S => 3",
                                              "delete local 1 --server $S => 3"};
}

// Runs the row's steps on `diary` (--diary FILE or --server CONNECTION), each through `run`.
inline void runCliWriteSteps(const QStringList& steps, const QStringList& diary,
                             CliResult (*run)(const QStringList&,
                                              const CliEnvironment&) = runCliProcess)
{
    QTemporaryDir config; // the clash rule's setting as it comes: 60 minutes
    const CliEnvironment environment{{"XDG_CONFIG_HOME", QFile::encodeName(config.path())}};
    for (const QString& step : steps) {
        const QString outcome = step.section(QStringLiteral(" => "), 1);
        QStringList argv = step.section(QStringLiteral(" => "), 0, 0).split(QLatin1Char(' '));
        argv.replaceInStrings(QStringLiteral("$S"),
                              QStringLiteral("host=127.0.0.1 port=1 dbname=x user=x"));
        if (!argv.contains(QStringLiteral("--server")))
            argv << diary;
        const CliResult cli = run(argv, environment);
        const QString out = QString::fromUtf8(cli.out);
        const QString& err = cli.err;
        const int code = outcome.left(1).toInt();
        QVERIFY2(cli.exitCode == code, qPrintable(step + QStringLiteral(" -> ") + err));
        if (code != 0)
            QVERIFY2(out.isEmpty() && err.count(QLatin1Char('\n')) == 1, qPrintable(err));
        QString expected = outcome.mid(4);
        expected.replace(QStringLiteral("$H"),
                         data::csvLine(search::csvHeader(argv[1] == QLatin1String("tour")
                                                             ? data::Register::Tour
                                                             : data::Register::Local)));
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        const QString shown =
            QString(code ? err : out).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (outcome.mid(2, 1) == QLatin1String("="))
            QCOMPARE(shown, expected);
        else if (outcome.mid(2, 1) == QLatin1String("~"))
            QVERIFY2(shown.contains(expected), qPrintable(step + QStringLiteral("\n") + shown));
    }
}
