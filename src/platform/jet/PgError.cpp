#include "platform/jet/PgError.h"

#include <libpq-fe.h>

#include "platform/jet/ConnectionText.h"
#include "platform/jet/JetError.h"

namespace jet {

namespace {

struct Mapped {
    int number;
    QString hint;
};

Mapped mapState(const QByteArray& state)
{
    if (state == "23505")
        return {errors::kDuplicateValue,
                QStringLiteral("the value would repeat one that must be unique")};
    if (state == "23502")
        return {errors::kRequiredValue, QStringLiteral("a required value is missing")};
    if (state == "42P01")
        return {errors::kTableNotFound, {}};
    if (state == "55P03" || state == "40P01" || state == "40001" || state == "57014")
        return {errors::kFileLocked,
                QStringLiteral("the diary is busy at another desk; try again in a moment")};
    if (state == "25006" || state == "42501")
        return {errors::kReadOnly, QStringLiteral("the diary cannot be written from this desk")};
    if (state == "53100")
        return {errors::kDiskFull, QStringLiteral("the server's disk is full")};
    if (state.startsWith("22"))
        return {errors::kTypeMismatch, QStringLiteral("a value has the wrong type")};
    if (state.startsWith("08") || state.startsWith("57P"))
        return {errors::kServerUnreachable,
                QStringLiteral("the connection to the diary server broke")};
    if (state.startsWith("42"))
        return {errors::kSyntaxError, {}};
    if (state.startsWith("23"))
        return {errors::kEngineFailure, QStringLiteral("a rule of the table refused the value")};
    return {errors::kEngineFailure, {}};
}

} // namespace

void throwPgError(pg_result* result, pg_conn* conn, const QString& context)
{
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const QString message =
        QString::fromUtf8(result ? PQresultErrorMessage(result) : PQerrorMessage(conn)).trimmed();
    Mapped mapped = mapState(state ? QByteArray(state) : QByteArray("08000"));
    // A role refused a read is told so, not that the diary cannot be written.
    if (state && QByteArray(state) == "42501" &&
        context.startsWith(QLatin1String("Could not read")))
        mapped.hint = QStringLiteral("this desk's role may not read the diary on the server");
    QString text = context;
    if (!mapped.hint.isEmpty())
        text += QStringLiteral(": ") + mapped.hint;
    text += QStringLiteral(" (") + message + QLatin1Char(')');
    throw JetError(mapped.number, text);
}

void throwConnectError(pg_conn* conn, const QString& connection)
{
    const QString shown = maskedConnection(connection);
    if (!conn)
        throw JetError(
            errors::kServerUnreachable,
            QStringLiteral("Could not reach the diary server '%1': out of memory.").arg(shown));
    if (PQconnectionNeedsPassword(conn))
        throw JetError(errors::kInvalidOperation,
                       QStringLiteral("The diary server '%1' asks for a password: keep it in "
                                      "~/.pgpass (host:port:database:user:password, mode 0600) "
                                      "or in a pg_service.conf entry.")
                           .arg(shown));
    throw JetError(errors::kServerUnreachable,
                   QStringLiteral("Could not reach the diary server '%1' (%2).")
                       .arg(shown, maskedMessage(QString::fromUtf8(PQerrorMessage(conn)).trimmed(),
                                                 connection)));
}

} // namespace jet
