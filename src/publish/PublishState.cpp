#include "publish/PublishState.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "platform/files/ProgramSettings.h"
#include "platform/files/SafeOutput.h"
#include "platform/jet/JetError.h"
#include "publish/CalDavClient.h"
#include "publish/PublishError.h"

namespace publish {

namespace {

QString statePath(const QUrl& url)
{
    const QByteArray key = QCryptographicHash::hash(url.toEncoded(), QCryptographicHash::Sha256);
    return stateFolder() +
           QStringLiteral("/publish-%1.json").arg(QString::fromLatin1(key.toHex().left(16)));
}

} // namespace

QString stateFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!base.startsWith(QLatin1Char('/')))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/Velmora"));
}

PublishState readState(const QUrl& url)
{
    PublishState state;
    state.url = url;
    QFile file(statePath(url));
    if (!file.open(QIODevice::ReadOnly))
        return state;
    const QJsonObject saved = QJsonDocument::fromJson(file.readAll()).object();
    if (saved.value(QStringLiteral("url")).toString() != QString::fromUtf8(url.toEncoded()))
        return state;
    state.lastSuccess =
        QDateTime::fromString(saved.value(QStringLiteral("published")).toString(), Qt::ISODate);
    const QJsonObject objects = saved.value(QStringLiteral("objects")).toObject();
    for (auto it = objects.begin(); it != objects.end(); ++it) {
        const QJsonObject object = it->toObject();
        state.objects.insert(it.key(),
                             {object.value(QStringLiteral("etag")).toString().toUtf8(),
                              object.value(QStringLiteral("hash")).toString().toLatin1()});
    }
    return state;
}

void writeState(const PublishState& state)
{
    QJsonObject objects;
    for (auto it = state.objects.begin(); it != state.objects.end(); ++it)
        objects.insert(it.key(),
                       QJsonObject{{QStringLiteral("etag"), QString::fromUtf8(it->etag)},
                                   {QStringLiteral("hash"), QString::fromLatin1(it->hash)}});
    const QJsonObject saved{
        {QStringLiteral("url"), QString::fromUtf8(state.url.toEncoded())},
        {QStringLiteral("published"), state.lastSuccess.toUTC().toString(Qt::ISODate)},
        {QStringLiteral("objects"), objects}};
    const QString folder = stateFolder();
    // The state names the calendar's server: for this user's eyes only.
    if (QDir().mkpath(folder))
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    try {
        files::writeFile(statePath(state.url), QJsonDocument(saved).toJson(QJsonDocument::Compact));
    } catch (const jet::JetError& error) {
        throw PublishError(PublishError::Environment, error.text());
    }
}

std::optional<QDateTime> lastPublished()
{
    const QString url = files::programSetting(QStringLiteral("publish/url")).toString().trimmed();
    if (url.isEmpty())
        return std::nullopt;
    try {
        const QDateTime at = readState(checkedCollectionUrl(url)).lastSuccess;
        return at.isValid() ? std::optional(at) : std::nullopt;
    } catch (const PublishError&) {
        return std::nullopt;
    }
}

} // namespace publish
