#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A loopback HTTP server that works in raw bytes: it records every request
// exactly as it arrived and answers with whatever bytes the test scripts, so
// tests can send odd, malformed, oversized or stalled responses. Connections
// stay open for further requests unless a reply says otherwise.
namespace brisma::test {

struct ScriptedReply
{
    std::string bytes;  // sent exactly as they are
    bool close = false; // close the connection once they are sent
    bool stall = false; // then go quiet: no further answer, no close
};

class RawHttpServer
{
public:
    using Responder = std::function<ScriptedReply(const std::string& request)>;

    // Answers every request with 200 and an empty body.
    RawHttpServer();
    // Runs on the server's threads; it must not touch unguarded test state.
    explicit RawHttpServer(Responder responder);
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer&) = delete;
    RawHttpServer& operator=(const RawHttpServer&) = delete;

    std::uint16_t port() const;
    // "http://127.0.0.1:<port>" followed by path.
    std::string url(const std::string& path = "/") const;

    void setResponder(Responder responder);
    // The same reply for every request from now on.
    void setReply(ScriptedReply reply);

    // Every complete request so far, head and body, in order of arrival.
    std::vector<std::string> requests() const;
    int connectionCount() const;

    // "HTTP/1.1 <status>\r\n", headerLines (each ending in CR LF), a
    // Content-Length line for body, an empty line, then body.
    static std::string response(const std::string& status, const std::string& headerLines,
                                const std::string& body);
    // The request target of a recorded request ("/x?y", or the absolute form).
    static std::string target(const std::string& request);
    // A loopback port nothing listens on.
    static std::uint16_t closedPort();

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace brisma::test
