#include "demo-site/server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <functional>
#include <optional>
#include <thread>

namespace brisma::demo {

namespace {

constexpr std::size_t kMaxHeadSize = 64 * 1024;
constexpr int kPollSliceMs = 100;

// Waits until the socket has data (or was closed by the peer), in short
// slices so that a stopping server is noticed.
bool waitReadable(int socket, int timeoutMs, const std::function<bool()>& stopping)
{
    for (int waited = 0; waited < timeoutMs; waited += kPollSliceMs) {
        if (stopping && stopping()) {
            return false;
        }
        pollfd descriptor{socket, POLLIN, 0};
        const int ready = ::poll(&descriptor, 1, std::min(kPollSliceMs, timeoutMs - waited));
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
    return false;
}

void addressOf(int socket, bool peer, std::string& ip, int& port)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    const int result = peer ? ::getpeername(socket, reinterpret_cast<sockaddr*>(&address), &length)
                            : ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    if (result != 0 || address.sin_family != AF_INET) {
        return;
    }
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    ip = text;
    port = ntohs(address.sin_port);
}

// A connection's byte stream with a read-ahead buffer. The server reads a
// request's head into the buffer first; httplib then reads it from there as
// if straight from the socket.
class ConnectionStream : public httplib::Stream
{
public:
    ConnectionStream(int socket, int readTimeoutMs, int writeTimeoutMs)
        : m_socket(socket), m_readTimeoutMs(readTimeoutMs), m_writeTimeoutMs(writeTimeoutMs)
    {}

    bool is_readable() const override
    {
        return m_offset < m_buffer.size() || waitReadable(m_socket, m_readTimeoutMs, {});
    }

    bool is_writable() const override
    {
        pollfd descriptor{m_socket, POLLOUT, 0};
        return ::poll(&descriptor, 1, m_writeTimeoutMs) > 0;
    }

    ssize_t read(char* data, size_t size) override
    {
        if (m_offset == m_buffer.size() && fill(m_readTimeoutMs, {}) <= 0) {
            return -1;
        }
        const std::size_t count = std::min(size, m_buffer.size() - m_offset);
        std::copy_n(m_buffer.data() + m_offset, count, data);
        m_offset += count;
        return static_cast<ssize_t>(count);
    }

    ssize_t write(const char* data, size_t size) override
    {
        if (!is_writable()) {
            return -1;
        }
        return ::send(m_socket, data, size, MSG_NOSIGNAL);
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override
    {
        addressOf(m_socket, true, ip, port);
    }

    void get_local_ip_and_port(std::string& ip, int& port) const override
    {
        addressOf(m_socket, false, ip, port);
    }

    socket_t socket() const override { return m_socket; }

    // The next request's head, up to and including its empty line, left in
    // the buffer for httplib. Nothing when the peer closes, stays silent for
    // idleTimeoutMs, sends an endless head, or the server stops.
    std::optional<std::string> readHead(int idleTimeoutMs, const std::function<bool()>& stopping)
    {
        m_buffer.erase(0, m_offset);
        m_offset = 0;
        int timeoutMs = idleTimeoutMs;
        while (true) {
            if (auto end = headEnd(); end != std::string::npos) {
                return m_buffer.substr(0, end);
            }
            if (m_buffer.size() > kMaxHeadSize || fill(timeoutMs, stopping) <= 0) {
                return std::nullopt;
            }
            timeoutMs = m_readTimeoutMs;
        }
    }

    // Puts a rewritten head in place of the first headLength buffered bytes.
    void replaceHead(std::size_t headLength, const std::string& head)
    {
        m_buffer.replace(0, headLength, head);
    }

private:
    std::size_t headEnd() const
    {
        const std::size_t crlf = m_buffer.find("\r\n\r\n");
        const std::size_t lf = m_buffer.find("\n\n");
        if (crlf != std::string::npos && (lf == std::string::npos || crlf < lf)) {
            return crlf + 4;
        }
        return lf == std::string::npos ? lf : lf + 2;
    }

    ssize_t fill(int timeoutMs, const std::function<bool()>& stopping)
    {
        if (!waitReadable(m_socket, timeoutMs, stopping)) {
            return -1;
        }
        char chunk[4096];
        ssize_t received = 0;
        do {
            received = ::recv(m_socket, chunk, sizeof chunk, 0);
        } while (received < 0 && errno == EINTR);
        if (received > 0) {
            m_buffer.append(chunk, static_cast<std::size_t>(received));
        }
        return received;
    }

    int m_socket;
    int m_readTimeoutMs;
    int m_writeTimeoutMs;
    std::string m_buffer;
    std::size_t m_offset = 0;
};

std::vector<std::string> headLines(const std::string& head)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < head.size()) {
        std::size_t end = head.find('\n', start);
        if (end == std::string::npos) {
            end = head.size();
        }
        std::string line = head.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(std::move(line));
        }
        start = end + 1;
    }
    return lines;
}

// The second word of the request line.
std::string requestTarget(const std::string& head)
{
    const std::string requestLine = head.substr(0, head.find_first_of("\r\n"));
    const std::size_t first = requestLine.find(' ');
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t second = requestLine.find(' ', first + 1);
    return requestLine.substr(first + 1,
                              second == std::string::npos ? std::string::npos : second - first - 1);
}

bool isAcceptEncoding(const std::string& line)
{
    static const std::string name = "accept-encoding:";
    if (line.size() < name.size()) {
        return false;
    }
    return std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
        return a == std::tolower(static_cast<unsigned char>(b));
    });
}

// The head without Accept-Encoding, so that httplib never compresses: the
// site's bodies go out byte for byte, as the tests expect them.
std::string withoutAcceptEncoding(const std::string& head)
{
    std::string result;
    std::size_t start = 0;
    while (start < head.size()) {
        std::size_t end = head.find('\n', start);
        end = end == std::string::npos ? head.size() : end + 1;
        std::string line = head.substr(start, end - start);
        if (!isAcceptEncoding(line)) {
            result += line;
        }
        start = end;
    }
    return result;
}

// Only SO_REUSEADDR: httplib's default also sets SO_REUSEPORT, which would let
// a second site start on a port that is already taken.
void socketOptions(socket_t sock)
{
    int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

} // namespace

RequestLog::~RequestLog()
{
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

bool RequestLog::open(const std::string& path)
{
    m_file = std::fopen(path.c_str(), "ab");
    return m_file != nullptr;
}

void RequestLog::record(const std::string& head)
{
    std::lock_guard lock(m_mutex);
    if (m_file == nullptr) {
        return;
    }
    for (const std::string& line : headLines(head)) {
        std::fwrite(line.data(), 1, line.size(), m_file);
        std::fputc('\n', m_file);
    }
    std::fputc('\n', m_file);
    std::fflush(m_file);
}

DemoServer::DemoServer(RequestLog* log, int delayMs) : m_log(log), m_delayMs(delayMs)
{
    set_socket_options(socketOptions);
    auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        answer(request, response);
    };
    Get(".*", handler);
    Post(".*", handler);
}

void DemoServer::answer(const httplib::Request& request, httplib::Response& response) const
{
    const Reply reply = m_site->serve(request.target);
    response.status = reply.status;
    response.set_content(reply.body, reply.contentType.c_str());
}

bool DemoServer::stopping() const
{
    return svr_sock_ == INVALID_SOCKET;
}

void DemoServer::pause() const
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_delayMs);
    while (std::chrono::steady_clock::now() < until && !stopping()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool DemoServer::process_and_close_socket(socket_t sock)
{
    const auto toMs = [](time_t seconds, time_t microseconds) {
        return static_cast<int>(seconds * 1000 + microseconds / 1000);
    };
    ConnectionStream stream(sock, toMs(read_timeout_sec_, read_timeout_usec_),
                            toMs(write_timeout_sec_, write_timeout_usec_));
    const int idleTimeoutMs = toMs(keep_alive_timeout_sec_, 0);
    for (std::size_t served = 0; served < keep_alive_max_count_; ++served) {
        const auto head = stream.readHead(idleTimeoutMs, [this] { return stopping(); });
        if (!head) {
            break;
        }
        if (m_log != nullptr) {
            m_log->record(*head);
        }
        if (m_site->closesConnection(requestTarget(*head))) {
            break;
        }
        stream.replaceHead(head->size(), withoutAcceptEncoding(*head));
        pause();
        const bool lastOnConnection = served + 1 == keep_alive_max_count_;
        bool connectionClosed = false;
        if (!process_request(stream, lastOnConnection, connectionClosed, {}) || connectionClosed) {
            break;
        }
    }
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return true;
}

} // namespace brisma::demo
