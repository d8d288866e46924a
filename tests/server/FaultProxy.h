#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

// A TCP relay between libpq and the test server that breaks connections where a network would
// at the worst moment: as the client's COMMIT goes by, or as it asks after a transaction's fate.
// Connections through it must not use SSL (sslmode=disable), so it can read the messages.
class FaultProxy {
public:
    enum class AtCommit {
        Pass,      // everything is relayed
        CutBefore, // the COMMIT never reaches the server
        CutAfter,  // the server gets the COMMIT; its answer never reaches the client
    };

    explicit FaultProxy(std::uint16_t serverPort);
    ~FaultProxy();
    FaultProxy(const FaultProxy&) = delete;
    FaultProxy& operator=(const FaultProxy&) = delete;

    std::uint16_t port() const { return m_port; }
    // The next COMMIT meets `fault`; after it the relay passes COMMITs again.
    void armCommit(AtCommit fault) { m_commit = fault; }
    // The next `count` questions after a transaction's fate are cut off (-1: all of them).
    void cutFateQuestions(int count) { m_fateCuts = count; }

private:
    void run();

    std::uint16_t m_serverPort;
    std::uint16_t m_port = 0;
    int m_listener = -1;
    int m_wake[2] = {-1, -1};
    std::atomic<AtCommit> m_commit{AtCommit::Pass};
    std::atomic<int> m_fateCuts{0};
    std::thread m_thread;
};
