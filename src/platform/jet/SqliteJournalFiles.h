#pragma once

#include <utility>

#include <QByteArray>

namespace jet {

// The -wal and -shm files SQLite keeps beside a file in WAL mode, seen from outside SQLite:
// who may use them and whether anyone does.
struct JournalFiles {
    explicit JournalFiles(QByteArray file) : database(std::move(file)) {}

    QByteArray wal() const { return database + "-wal"; }
    QByteArray shm() const { return database + "-shm"; }

    bool walExists() const;
    bool shmExists() const;
    // Whether a connection of another process holds the journal: every connection to a file in
    // WAL mode keeps a lock on its -shm file for as long as it is open.
    bool inUse() const;
    // Whether this user may write both (those that exist).
    bool writable() const;
    // Removes both when nobody holds them and the -wal holds no page (so nothing committed is
    // lost); true when they are gone.
    bool removeWhenUnused() const;

    QByteArray database;
};

} // namespace jet
