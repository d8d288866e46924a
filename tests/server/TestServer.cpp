#include "TestServer.h"

#include <QFile>

#include "platform/jet/Database.h"

QString testServerConnection()
{
    QFile file(qEnvironmentVariable("VELMORA_TEST_SERVER"));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}

QString freshServerDatabase(const QString& name)
{
    const QString server = testServerConnection();
    auto admin = jet::Database::ConnectServer(server);
    admin->Execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    admin->Execute(QStringLiteral("CREATE DATABASE %1").arg(name));
    return server + QStringLiteral(" dbname=") + name;
}
