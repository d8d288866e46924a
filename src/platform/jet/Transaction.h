#pragma once

namespace jet {

class Database;

// Makes a group of writes atomic: begun on construction, rolled back on destruction unless
// commit() ran, so an exception halfway leaves the file as it was.
class Transaction {
public:
    explicit Transaction(Database& database);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& m_database;
    bool m_open = true;
};

} // namespace jet
