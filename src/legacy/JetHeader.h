#pragma once

#include <QString>

namespace legacy {

// What the first bytes of a file say about it.
struct JetHeader {
    enum class Kind {
        Missing,  // no such file, or it cannot be read
        NotJet,   // anything else (an SQLite diary, an empty or foreign file)
        Jet3,     // the old format the import reads
        Jet4,     // a file once upgraded; read too
        NewerJet, // Jet version 2 and above, or an ACE file: refused
    };
    Kind kind = Kind::Missing;
    int version = -1; // the version byte, for Jet files

    bool isJet() const
    {
        return kind == Kind::Jet3 || kind == Kind::Jet4 || kind == Kind::NewerJet;
    }
};

// Reads the header of `path`. Never call it on a file an SQLite connection of this process may
// hold: closing the read would drop that connection's locks.
JetHeader readJetHeader(const QString& path);

} // namespace legacy
