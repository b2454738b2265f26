#include "support/raw_http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace brisma::test {
namespace {

constexpr std::string_view headEnd = "\r\n\r\n";

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; });
    return text;
}

// The Content-Length of a request head, 0 without one.
std::size_t contentLength(const std::string& head)
{
    const std::string lower = lowered(head);
    const std::size_t at = lower.find("\r\ncontent-length:");
    if (at == std::string::npos) {
        return 0;
    }
    return static_cast<std::size_t>(std::strtoull(head.c_str() + at + 17, nullptr, 10));
}

bool sendAll(int fd, const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

sockaddr_in loopback(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

} // namespace

struct RawHttpServer::State
{
    int listenFd = -1;
    int stopPipe[2] = {-1, -1};
    std::uint16_t port = 0;
    std::thread acceptThread;

    mutable std::mutex mutex;
    Responder responder;
    std::vector<std::string> requests;
    std::vector<std::thread> connectionThreads;
    std::vector<int> connectionFds;
    std::atomic<int> connections{0};

    // Waits until fd is readable; false once the server stops.
    bool waitReadable(int fd) const
    {
        pollfd fds[2] = {{fd, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
        for (;;) {
            if (::poll(fds, 2, -1) < 0) {
                continue;
            }
            if (fds[1].revents != 0) {
                return false;
            }
            if (fds[0].revents != 0) {
                return true;
            }
        }
    }

    // Reads one whole request into `request`, keeping any bytes beyond it
    // in `pending`. False when the peer closed or the server stops.
    bool readRequest(int fd, std::string& pending, std::string& request) const
    {
        for (;;) {
            const std::size_t end = pending.find(headEnd);
            if (end != std::string::npos) {
                const std::size_t total =
                    end + headEnd.size() + contentLength(pending.substr(0, end + 2));
                if (pending.size() >= total) {
                    request = pending.substr(0, total);
                    pending.erase(0, total);
                    return true;
                }
            }
            if (!waitReadable(fd)) {
                return false;
            }
            char buffer[16384];
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) {
                return false;
            }
            pending.append(buffer, static_cast<std::size_t>(n));
        }
    }

    // Further bytes from the peer are read and ignored.
    void waitForStopOrHangUp(int fd) const
    {
        char buffer[4096];
        while (waitReadable(fd) && ::recv(fd, buffer, sizeof buffer, 0) > 0) {
        }
    }

    void serve(int fd)
    {
        std::string pending;
        std::string request;
        while (readRequest(fd, pending, request)) {
            Responder respond;
            {
                std::lock_guard lock(mutex);
                requests.push_back(request);
                respond = responder;
            }
            const ScriptedReply reply = respond(request);
            if (!sendAll(fd, reply.bytes) || reply.close) {
                break;
            }
            if (reply.stall) {
                waitForStopOrHangUp(fd);
                break;
            }
        }
        ::shutdown(fd, SHUT_RDWR);
    }

    void acceptLoop()
    {
        while (waitReadable(listenFd)) {
            const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) {
                continue;
            }
            ++connections;
            std::lock_guard lock(mutex);
            connectionFds.push_back(fd);
            connectionThreads.emplace_back([this, fd] { serve(fd); });
        }
    }
};

RawHttpServer::RawHttpServer()
    : RawHttpServer([](const std::string&) {
          return ScriptedReply{response("200 OK", "", ""), false, false};
      })
{}

RawHttpServer::RawHttpServer(Responder responder) : m_state(std::make_shared<State>())
{
    State& state = *m_state;
    state.responder = std::move(responder);
    if (::pipe2(state.stopPipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 failed");
    }
    state.listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    ::setsockopt(state.listenFd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (::bind(state.listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(state.listenFd, 64) != 0 ||
        ::getsockname(state.listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot listen on loopback");
    }
    state.port = ntohs(address.sin_port);
    state.acceptThread = std::thread([&state] { state.acceptLoop(); });
}

RawHttpServer::~RawHttpServer()
{
    State& state = *m_state;
    const char stop = 's';
    (void)!::write(state.stopPipe[1], &stop, 1);
    state.acceptThread.join();
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(state.mutex);
        threads.swap(state.connectionThreads);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int fd : state.connectionFds) {
        ::close(fd);
    }
    ::close(state.listenFd);
    ::close(state.stopPipe[0]);
    ::close(state.stopPipe[1]);
}

std::uint16_t RawHttpServer::port() const
{
    return m_state->port;
}

std::string RawHttpServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_state->port) + path;
}

void RawHttpServer::setResponder(Responder responder)
{
    std::lock_guard lock(m_state->mutex);
    m_state->responder = std::move(responder);
}

void RawHttpServer::setReply(ScriptedReply reply)
{
    setResponder([reply](const std::string&) { return reply; });
}

std::vector<std::string> RawHttpServer::requests() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->requests;
}

int RawHttpServer::connectionCount() const
{
    return m_state->connections;
}

std::string RawHttpServer::response(const std::string& status, const std::string& headerLines,
                                    const std::string& body)
{
    return "HTTP/1.1 " + status + "\r\n" + headerLines +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string RawHttpServer::target(const std::string& request)
{
    const std::size_t first = request.find(' ');
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t second = request.find(' ', first + 1);
    return request.substr(first + 1,
                          second == std::string::npos ? std::string::npos : second - first - 1);
}

std::uint16_t RawHttpServer::closedPort()
{
    // Free a moment ago and never listened on, so connecting is refused.
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

} // namespace brisma::test
