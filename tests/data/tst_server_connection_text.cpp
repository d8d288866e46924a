// The server setting never holds a password, and none is ever shown.
#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QtTest>

#include "data/DiaryDatabase.h"
#include "platform/jet/ConnectionText.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"

namespace {

// A server on a free local port that asks its one client for a password, then hangs up.
struct PasswordAskingServer {
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    std::thread thread;
    PasswordAskingServer()
    {
        socklen_t size = sizeof address;
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), size);
        ::listen(listener, 1);
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
        thread = std::thread([this] {
            const int client = ::accept(listener, nullptr, nullptr);
            char startup[4096];
            const char askForPassword[] = {'R', 0, 0, 0, 8, 0, 0, 0, 3}; // cleartext password
            if (::read(client, startup, sizeof startup) > 0 &&
                ::write(client, askForPassword, sizeof askForPassword) > 0)
                (void)::read(client, startup, sizeof startup); // until the client gives up
            ::close(client);
        });
    }
    ~PasswordAskingServer()
    {
        ::shutdown(listener, SHUT_RDWR); // ends a wait for a client that never came
        thread.join();
        ::close(listener);
    }
};

} // namespace

class TestServerConnectionText : public QObject {
    Q_OBJECT

private slots:
    void passwordsAreRefusedAndMasked_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("masked");
        QTest::addColumn<bool>("refused");
        const auto row = [](const char* text, const char* masked, bool refused) {
            QTest::newRow(text) << QString::fromUtf8(text) << QString::fromUtf8(masked) << refused;
        };
        row("host=x dbname=y user=z", "host=x dbname=y user=z", false);
        row("service=velmora", "service=velmora", false);
        row("host=x passfile=/home/u/.pgpass", "host=x passfile=/home/u/.pgpass", false);
        row("dbname=password_db user=password", "dbname=password_db user=password", false);
        row("host=x password=s3cret", "host=x password=***", true);
        row("host=x PASSWORD = 'se cret' user=z", "host=x PASSWORD = *** user=z", true);
        row("password='it\\'s' host=x", "password=*** host=x", true);
        row("host=x password=", "host=x password=***", true);
        row("sslpassword=k host=x", "sslpassword=*** host=x", true);
        row("postgresql://u@h:5432/d", "postgresql://u@h:5432/d", false);
        row("postgresql://h/d?user=password", "postgresql://h/d?user=password", false);
        row("postgresql://u:s3cret@h/d", "postgresql://u:***@h/d", true);
        row("postgres://u:s%40x@h1,h2", "postgres://u:***@h1,h2", true);
        row("  POSTGRESQL://u:s@h", "  POSTGRESQL://u:***@h", true);
        row("postgresql://h/d?password=s", "postgresql://h/d?password=***", true);
        row("postgresql://h/d?sslmode=require&password=s&user=u",
            "postgresql://h/d?sslmode=require&password=***&user=u", true);
        row("postgresql://h/d?pass%77ord=s", "postgresql://h/d?pass%77ord=***", true);
        // libpq reads a dbname holding '=' or a URI as a connection text of its own.
        row("dbname=postgresql://u@h/d", "dbname=postgresql://u@h/d", false);
        row("dbname='host=x port=1'", "dbname='host=x port=1'", false);
        row("dbname=postgresql://u:SECRET@h/d", "dbname=***", true);
        row("host=x dbname='password=SECRET host=y'", "host=x dbname=***", true);
        row("DBName = 'host=y pass\\word=\\'SE\\ CRET\\''", "DBName = ***", true);
        row("dbname='dbname=\\'password=SECRET\\''", "dbname=***", true);
        row("dbname=postgres://h/d?%70assword=SECRET", "dbname=***", true);
        row("postgresql://h/password%3DSECRET", "postgresql://h/***", true);
        row("postgresql://h/?dbname=postgresql%3A%2F%2Fu%3ASECRET%40h",
            "postgresql://h/?dbname=***", true);
        row("password='it\\'s SECRET' host=x", "password=*** host=x", true);
    }

    void passwordsAreRefusedAndMasked()
    {
        QFETCH(QString, text);
        QFETCH(QString, masked);
        QFETCH(bool, refused);
        QCOMPARE(jet::maskedConnection(text), masked);
        QVERIFY(!jet::maskedMessage(QStringLiteral("'%1' failed").arg(text), text)
                     .contains(QLatin1String("SECRET")));
        try {
            data::refuseServerPassword(text, QStringLiteral("velmora.conf"));
            QVERIFY(!refused);
        } catch (const jet::JetError& error) {
            QVERIFY(refused && !error.text().contains(QLatin1String("SECRET")));
        }
    }

    void serverAskingForAPasswordSaysSoNotUnreachable()
    {
        qunsetenv("PGPASSWORD");
        PasswordAskingServer server;
        try {
            jet::Database::ConnectServer(
                QStringLiteral("host=127.0.0.1 port=%1 user=u dbname=d sslmode=disable "
                               "gssencmode=disable passfile=/nonexistent")
                    .arg(ntohs(server.address.sin_port)));
            QFAIL("connected without a password");
        } catch (const jet::JetError& error) {
            QVERIFY2(error.number() != jet::errors::kServerUnreachable &&
                         error.text().contains(QLatin1String("asks for a password")),
                     qPrintable(error.text()));
        }
    }
};

QTEST_GUILESS_MAIN(TestServerConnectionText)
#include "tst_server_connection_text.moc"
