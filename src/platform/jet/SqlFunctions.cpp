#include "platform/jet/SqlFunctions.h"

#include <sqlite3.h>

#include <QString>

#include "platform/jet/JetDateTime.h"
#include "platform/jet/JetError.h"
#include "platform/jet/JetLike.h"
#include "platform/jet/SqliteError.h"
#include "platform/jet/StorageText.h"
#include "platform/varnel/VarnelCodec.h"

namespace jet {

namespace {

QString argumentText(sqlite3_value* value)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)),
                             sqlite3_value_bytes(value));
}

// Stored Varnel text (Latin-1 characters) as the Unicode Kannada it spells, so that two byte
// spellings of one word compare equal.
QString decodedVarnel(sqlite3_value* value)
{
    const QByteArray bytes =
        bytesFromStorage(sqlite3_value_text(value), sqlite3_value_bytes(value));
    return varnel::comparableText(bytes);
}

void resultText(sqlite3_context* context, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context* context, const QString& message)
{
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(context, utf8.constData(), int(utf8.size()));
}

// datevalue() and timevalue(): read the text, answer in the stored form, or fail the query
// with a message naming the text.
template <typename Parse, typename Format>
void convertText(sqlite3_context* context, sqlite3_value* argument, Parse parse, Format format,
                 const char* what)
{
    if (sqlite3_value_type(argument) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QString text = argumentText(argument);
    if (const auto value = parse(text, QLocale()))
        resultText(context, format(*value));
    else
        resultError(context, QStringLiteral("Data type mismatch: cannot read \"%1\" as %2")
                                 .arg(text, QLatin1String(what)));
}

void datevalueFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    convertText(context, argv[0], dateFromText, isoDateText, "a date");
}

void timevalueFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    convertText(context, argv[0], timeFromText, isoTimeText, "a time of day");
}

void deletePattern(void* pattern)
{
    delete static_cast<LikePattern*>(pattern);
}

// sqlite hands an overridden like() the pattern first, then the text.
void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (argc != 2) {
        resultError(context, QStringLiteral("like ... escape is not part of the query language"));
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    try {
        auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(context, 0));
        if (!pattern) {
            pattern = new LikePattern(decodedVarnel(argv[0]));
            sqlite3_set_auxdata(context, 0, pattern, deletePattern);
            // When sqlite cannot keep it, it has freed it already.
            pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(context, 0));
        }
        const bool matched = pattern ? pattern->matches(decodedVarnel(argv[1]))
                                     : likeMatch(decodedVarnel(argv[0]), decodedVarnel(argv[1]));
        sqlite3_result_int(context, matched ? 1 : 0);
    } catch (const JetError& error) {
        resultError(context, error.text());
    } catch (const std::exception& error) {
        resultError(context, QString::fromUtf8(error.what()));
    }
}

void createFunction(sqlite3* db, const char* name, int argc,
                    void (*function)(sqlite3_context*, int, sqlite3_value**))
{
    checkSqlite(
        db,
        sqlite3_create_function_v2(db, name, argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   function, nullptr, nullptr, nullptr),
        QStringLiteral("Could not set up the query function %1()").arg(QLatin1String(name)));
}

} // namespace

void registerSqlFunctions(sqlite3* db)
{
    createFunction(db, "datevalue", 1, datevalueFunction);
    createFunction(db, "timevalue", 1, timevalueFunction);
    createFunction(db, "like", 2, likeFunction);
    createFunction(db, "like", 3, likeFunction);
}

} // namespace jet
