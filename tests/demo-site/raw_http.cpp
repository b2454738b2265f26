#include "raw_http.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace brisma::test {

namespace {

constexpr int kReceiveTimeoutMs = 20000;

void parse(RawResponse& response)
{
    const auto end = response.bytes.find("\r\n\r\n");
    if (response.bytes.rfind("HTTP/1.1 ", 0) != 0 || end == std::string::npos) {
        return;
    }
    response.status = std::atoi(response.bytes.c_str() + 9);
    response.head = response.bytes.substr(0, end + 2);
    response.body = response.bytes.substr(end + 4);
}

} // namespace

RawResponse exchange(int port, const std::string& request)
{
    RawResponse response;
    const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (sock < 0 || ::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (sock >= 0) {
            ::close(sock);
        }
        return response;
    }
    response.connected = true;
    ::send(sock, request.data(), request.size(), MSG_NOSIGNAL);
    while (true) {
        pollfd descriptor{sock, POLLIN, 0};
        if (::poll(&descriptor, 1, kReceiveTimeoutMs) <= 0) {
            break;
        }
        char chunk[8192];
        const ssize_t count = ::recv(sock, chunk, sizeof chunk, 0);
        if (count <= 0) {
            break;
        }
        response.bytes.append(chunk, static_cast<std::size_t>(count));
    }
    ::close(sock);
    parse(response);
    return response;
}

RawResponse get(int port, const std::string& target, const std::string& extraHeaders)
{
    return exchange(port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                              "\r\nConnection: close\r\n" + extraHeaders + "\r\n");
}

} // namespace brisma::test
