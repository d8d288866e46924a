#pragma once

#include <QString>
#include <QtTest>

// The throwaway server of this test run (tests/server/test-server.sh, started by a ctest
// fixture): its connection text, or empty when there is none.
QString testServerConnection();

// A new, empty database `name` on the test server (an older one of that name is dropped);
// its connection text.
QString freshServerDatabase(const QString& name);

#define VELMORA_REQUIRE_TEST_SERVER()                                                              \
    do {                                                                                           \
        if (testServerConnection().isEmpty())                                                      \
            QSKIP("No PostgreSQL test server in this run (its programs are missing, or the "       \
                  "test ran without the ctest fixture): the server cases are skipped.");           \
    } while (false)
