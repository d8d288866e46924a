#include "CliInProcess.h"

#include <optional>

#include <QBuffer>

#include "commands/CliRun.h"

CliResult runCliInProcess(const QStringList& arguments, const CliEnvironment& environment)
{
    QList<QPair<QByteArray, std::optional<QByteArray>>> before;
    for (const auto& [name, value] : environment) {
        before.append({name, qEnvironmentVariableIsSet(name.constData())
                                 ? std::optional(qgetenv(name.constData()))
                                 : std::nullopt});
        qputenv(name.constData(), value);
    }
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    CliResult result;
    result.exitCode = cli::run(arguments, {&out, &err});
    result.out = out.data();
    result.err = QString::fromUtf8(err.data());
    for (const auto& [name, value] : before) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
    return result;
}
