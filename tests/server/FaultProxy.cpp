#include "FaultProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include <QByteArray>

namespace {

// One client's connection and its relay to the server. The client's bytes are cut into the
// protocol's messages (a startup packet first, then a type byte and a length each), so a
// message is relayed, held back or followed by a cut as a whole.
struct Link {
    int client = -1;
    int server = -1;
    QByteArray pending; // from the client, not yet a whole message
    bool started = false;
};

std::uint16_t boundPort(int socket)
{
    sockaddr_in address{};
    socklen_t size = sizeof address;
    ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}

int connectTo(std::uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool sendAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size_t(size), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= sent;
    }
    return true;
}

void closeLink(Link& link)
{
    if (link.client >= 0)
        ::close(link.client);
    if (link.server >= 0)
        ::close(link.server);
    link.client = link.server = -1;
}

// The length of the first whole message in `bytes`, or 0 while it is incomplete.
qsizetype wholeMessage(const QByteArray& bytes, bool started)
{
    const int header = started ? 5 : 4;
    if (bytes.size() < header)
        return 0;
    std::uint32_t length = 0;
    std::memcpy(&length, bytes.constData() + header - 4, 4);
    const qsizetype total = qsizetype(ntohl(length)) + header - 4;
    return bytes.size() >= total ? total : 0;
}

} // namespace

FaultProxy::FaultProxy(std::uint16_t serverPort) : m_serverPort(serverPort)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 16) != 0 || ::pipe(m_wake) != 0)
        throw std::runtime_error("the fault proxy could not listen");
    m_port = boundPort(m_listener);
    m_thread = std::thread([this] { run(); });
}

FaultProxy::~FaultProxy()
{
    const char stop = 0;
    [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &stop, 1);
    m_thread.join();
    ::close(m_listener);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

void FaultProxy::run()
{
    std::vector<Link> links;
    // Servers that got a COMMIT whose answer is to be lost: closed once they have answered.
    std::vector<int> draining;
    char buffer[65536];
    for (;;) {
        std::vector<pollfd> watched{{m_wake[0], POLLIN, 0}, {m_listener, POLLIN, 0}};
        for (const Link& link : links) {
            watched.push_back({link.client, POLLIN, 0});
            watched.push_back({link.server, POLLIN, 0});
        }
        for (int server : draining)
            watched.push_back({server, POLLIN, 0});
        if (::poll(watched.data(), watched.size(), -1) < 0)
            continue;
        if (watched[0].revents)
            break;
        for (size_t d = 0; d < draining.size(); ++d) {
            if (watched[2 + 2 * links.size() + d].revents) {
                ::close(draining[d]);
                draining[d] = -1;
            }
        }
        std::erase(draining, -1);
        for (size_t i = 0; i < links.size(); ++i) {
            Link& link = links[i];
            const short fromClient = watched[2 + 2 * i].revents;
            const short fromServer = watched[3 + 2 * i].revents;
            if (fromServer) {
                const ssize_t got = ::recv(link.server, buffer, sizeof buffer, 0);
                if (got <= 0 || !sendAll(link.client, buffer, got)) {
                    closeLink(link);
                    continue;
                }
            }
            if (!fromClient)
                continue;
            const ssize_t got = ::recv(link.client, buffer, sizeof buffer, 0);
            if (got <= 0) {
                closeLink(link);
                continue;
            }
            link.pending.append(buffer, got);
            while (link.client >= 0) {
                const qsizetype size = wholeMessage(link.pending, link.started);
                if (size == 0)
                    break;
                const QByteArray message = link.pending.left(size);
                link.pending.remove(0, size);
                const bool commit =
                    link.started && message.startsWith("Q") && message.mid(5).startsWith("COMMIT");
                const bool fate = link.started && message.contains("_status(");
                link.started = true;
                if (fate && m_fateCuts != 0) {
                    if (m_fateCuts > 0)
                        --m_fateCuts;
                    closeLink(link);
                    break;
                }
                const AtCommit fault = commit ? m_commit.exchange(AtCommit::Pass) : AtCommit::Pass;
                if (fault == AtCommit::CutBefore ||
                    !sendAll(link.server, message.constData(), message.size())) {
                    closeLink(link);
                    break;
                }
                if (fault == AtCommit::CutAfter) {
                    // The client loses the connection now; the server keeps it until it has
                    // answered, so the COMMIT is read before the connection goes.
                    ::close(link.client);
                    draining.push_back(link.server);
                    link.client = link.server = -1;
                }
            }
        }
        std::erase_if(links, [](const Link& link) { return link.client < 0; });
        if (watched[1].revents & POLLIN) {
            Link link;
            link.client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            link.server = connectTo(m_serverPort);
            if (link.server < 0)
                closeLink(link);
            else
                links.push_back(link);
        }
    }
    for (Link& link : links)
        closeLink(link);
    for (int server : draining)
        ::close(server);
}
