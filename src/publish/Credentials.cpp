#include "publish/Credentials.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "platform/paths/NativePath.h"
#include "publish/CalDavClient.h"
#include "publish/PublishError.h"

namespace publish {

namespace {

QString netrcPath()
{
    return QDir::homePath() + QStringLiteral("/.netrc");
}

// The file's words; a quoted word keeps its blanks.
QStringList words(const QString& text)
{
    static const QRegularExpression word(QStringLiteral(R"re("((?:[^"\\]|\\.)*)"|(\S+))re"));
    static const QRegularExpression escaped(QStringLiteral(R"re(\\(.))re"));
    QStringList found;
    for (const auto& match : word.globalMatch(text))
        found << (match.hasCaptured(2) ? match.captured(2)
                                       : match.captured(1).replace(escaped, QStringLiteral("\\1")));
    return found;
}

} // namespace

std::optional<Credentials> netrcCredentials(const QUrl& url)
{
    const QString path = netrcPath();
    struct stat status {};
    if (::stat(files::nativePath(path).constData(), &status) != 0)
        return std::nullopt;
    if (status.st_mode & (S_IRWXG | S_IRWXO))
        throw PublishError(PublishError::Environment,
                           QStringLiteral(u"%1 ಅನ್ನು ಇತರರೂ ಓದಬಹುದು; ಅದರ ಗುಪ್ತಪದವನ್ನು ಬಳಸುವುದಿಲ್ಲ "
                                          u"(chmod 600 %1): %2")
                               .arg(path, shownUrl(url)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PublishError(PublishError::Environment,
                           QStringLiteral(u"%1 ಅನ್ನು ಓದಲಾಗಲಿಲ್ಲ: %2").arg(path, shownUrl(url)));
    const QStringList tokens = words(QString::fromUtf8(file.readAll()));

    // Entries in order; the first that fits wins, as for every program that reads the file.
    std::optional<Credentials> fallback;
    for (qsizetype i = 0; i < tokens.size();) {
        const QString& keyword = tokens[i];
        const bool isDefault = keyword == QLatin1String("default");
        if (keyword != QLatin1String("machine") && !isDefault) {
            ++i;
            continue;
        }
        const QString host = isDefault ? QString() : tokens.value(i + 1);
        i += isDefault ? 1 : 2;
        Credentials entry;
        while (i < tokens.size() && tokens[i] != QLatin1String("machine") &&
               tokens[i] != QLatin1String("default")) {
            if (tokens[i] == QLatin1String("login"))
                entry.login = tokens.value(i + 1);
            else if (tokens[i] == QLatin1String("password"))
                entry.password = tokens.value(i + 1);
            i += 2;
        }
        if (!url.userName().isEmpty() && entry.login != url.userName())
            continue;
        if (isDefault && !fallback)
            fallback = entry;
        else if (!isDefault && host.compare(url.host(), Qt::CaseInsensitive) == 0)
            return entry;
    }
    return fallback;
}

std::optional<Credentials> credentialsFor(const QUrl& url)
{
    if (auto fromFile = netrcCredentials(url))
        return fromFile;
    return secretServiceCredentials(url);
}

} // namespace publish
