#include "platform/wininet.h"

#include "support/raw_http_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace brisma::platform::wininet;
using brisma::test::RawHttpServer;
using brisma::test::ScriptedReply;

namespace {

struct Call
{
    std::string server = "127.0.0.1";
    INTERNET_PORT port = 0;
    std::string path = "/";
    std::string verb = "GET";
    std::string headers;
    std::optional<std::string> body;
    DWORD flags = INTERNET_FLAG_RELOAD;
    DWORD accessType = INTERNET_OPEN_TYPE_DIRECT;
    std::string proxy;
    std::string bypass;
    std::string agent = "Agent/1";
};

struct Outcome
{
    bool sent = false;
    DWORD sendError = 0;
    std::string body;
    bool lastReadFailed = false;
    DWORD readError = 0;
    std::optional<std::string> headerBlock;
};

std::string queryHeaderBlock(HINTERNET request)
{
    std::string buffer(1 << 16, '\0');
    DWORD length = static_cast<DWORD>(buffer.size());
    if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr)) {
        return "(query failed)";
    }
    return buffer.substr(0, length);
}

// One request through the seven calls, as the program makes it.
Outcome perform(const Call& call)
{
    Outcome outcome;
    HINTERNET internet = InternetOpenA(call.agent.c_str(), call.accessType,
                                       call.proxy.empty() ? nullptr : call.proxy.c_str(),
                                       call.bypass.empty() ? nullptr : call.bypass.c_str(), 0);
    EXPECT_NE(internet, nullptr);
    HINTERNET connection = InternetConnectA(internet, call.server.c_str(), call.port, nullptr,
                                            nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    EXPECT_NE(connection, nullptr);
    HINTERNET request = HttpOpenRequestA(connection, call.verb.c_str(), call.path.c_str(),
                                         "HTTP/1.1", nullptr, nullptr, call.flags, 0);
    EXPECT_NE(request, nullptr);
    std::string body = call.body.value_or("");
    outcome.sent =
        HttpSendRequestA(request, call.headers.c_str(), static_cast<DWORD>(call.headers.size()),
                         call.body ? body.data() : nullptr, static_cast<DWORD>(body.size()));
    outcome.sendError = outcome.sent ? 0 : GetLastError();
    char chunk[1024];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request, chunk, sizeof chunk, &read)) {
            outcome.lastReadFailed = true;
            outcome.readError = GetLastError();
            break;
        }
        if (read == 0) {
            break;
        }
        outcome.body.append(chunk, read);
    }
    const std::string block = queryHeaderBlock(request);
    if (block != "(query failed)") {
        outcome.headerBlock = block;
    }
    EXPECT_TRUE(InternetCloseHandle(request));
    EXPECT_TRUE(InternetCloseHandle(connection));
    EXPECT_TRUE(InternetCloseHandle(internet));
    return outcome;
}

Call callTo(const RawHttpServer& server, const std::string& path = "/")
{
    Call call;
    call.port = server.port();
    call.path = path;
    return call;
}

// Restores an environment variable when the test ends.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnvironment()
    {
        if (m_old) {
            setenv(m_name.c_str(), m_old->c_str(), 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

TEST(WinInet, SendsTheCallersLinesAsGivenAfterHostAndAgent)
{
    RawHttpServer server;
    Call call = callTo(server, "/a?b=1");
    call.headers = "X-One: 1\r\nx-two:2\r\nReferer: r";
    const Outcome outcome = perform(call);

    ASSERT_TRUE(outcome.sent);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0], "GET /a?b=1 HTTP/1.1\r\n"
                                    "Host: 127.0.0.1:" +
                                        std::to_string(server.port()) +
                                        "\r\n"
                                        "User-Agent: Agent/1\r\n"
                                        "X-One: 1\r\n"
                                        "x-two:2\r\n"
                                        "Referer: r\r\n"
                                        "\r\n");
}

TEST(WinInet, AnAgentLineOfTheCallerReplacesTheSessionsAgent)
{
    RawHttpServer server;
    Call call = callTo(server);
    call.headers = "User-Agent: Mine/2";
    perform(call);

    const std::string request = server.requests().at(0);
    EXPECT_NE(request.find("User-Agent: Mine/2\r\n"), std::string::npos);
    EXPECT_EQ(request.find("Agent/1"), std::string::npos);
}

TEST(WinInet, ABodyGoesOutWithItsLengthAndNothingElseAdded)
{
    struct Case
    {
        const char* name;
        std::string verb;
        std::string body;
    } cases[] = {
        {"small POST", "POST", "a=1"},
        {"GET with a body", "GET", "q"},
        {"POST of 2 MB, where a client would ask to continue", "POST", std::string(2 << 20, 'x')},
        {"empty POST", "POST", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RawHttpServer server;
        Call call = callTo(server);
        call.verb = c.verb;
        call.body = c.body;
        ASSERT_TRUE(perform(call).sent);

        const std::string request = server.requests().at(0);
        const std::size_t headEnd = request.find("\r\n\r\n");
        const std::string head = request.substr(0, headEnd + 2);
        EXPECT_EQ(head.substr(0, c.verb.size() + 1), c.verb + " ");
        EXPECT_NE(head.find("\r\nContent-Length: " + std::to_string(c.body.size()) + "\r\n"),
                  std::string::npos);
        EXPECT_EQ(head.find("Expect:"), std::string::npos);
        EXPECT_EQ(head.find("Accept:"), std::string::npos);
        EXPECT_EQ(head.find("Content-Type:"), std::string::npos);
        EXPECT_EQ(request.substr(headEnd + 4), c.body);
    }
}

TEST(WinInet, ObjectNameBytesAUrlCannotCarryArePercentEncoded)
{
    RawHttpServer server;
    perform(callTo(server, "/a b/\xD6\xD0?x=\x01"));
    EXPECT_EQ(RawHttpServer::target(server.requests().at(0)), "/a%20b/%D6%D0?x=%01");
}

TEST(WinInet, TheHeaderBlockIsTheFinalResponsesWithCrLfLines)
{
    RawHttpServer server;
    server.setReply({"HTTP/1.1 100 Continue\r\n\r\n"
                     "HTTP/1.1 200 OK\r\nA: 1\nB:  two\r\nContent-Length: 2\r\n\r\nhi"});
    const Outcome outcome = perform(callTo(server));

    ASSERT_TRUE(outcome.sent);
    EXPECT_EQ(outcome.body, "hi");
    EXPECT_EQ(outcome.headerBlock,
              "HTTP/1.1 200 OK\r\nA: 1\r\nB:  two\r\nContent-Length: 2\r\n\r\n");
}

TEST(WinInet, QueryFailsWhenBlockAndTerminatingZeroDoNotFit)
{
    RawHttpServer server;
    server.setReply({RawHttpServer::response("200 OK", "X: y\r\n", "")});
    const std::string block = "HTTP/1.1 200 OK\r\nX: y\r\nContent-Length: 0\r\n\r\n";
    HINTERNET internet = InternetOpenA("a", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection = InternetConnectA(internet, "127.0.0.1", server.port(), nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, "GET", "/", nullptr, nullptr, nullptr, 0, 0);
    ASSERT_TRUE(HttpSendRequestA(request, nullptr, 0, nullptr, 0));

    struct Case
    {
        const char* name;
        DWORD size;
        bool fits;
    } cases[] = {
        {"no room for the zero", static_cast<DWORD>(block.size()), false},
        {"exactly block and zero", static_cast<DWORD>(block.size() + 1), true},
        {"room to spare", 5000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string buffer(c.size, '#');
        DWORD length = c.size;
        const BOOL ok =
            HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr);
        EXPECT_EQ(ok != 0, c.fits);
        if (c.fits) {
            EXPECT_EQ(length, block.size());
            EXPECT_EQ(std::string(buffer.c_str()), block);
        } else {
            EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
            EXPECT_EQ(length, block.size() + 1);
            EXPECT_EQ(buffer, std::string(c.size, '#'));
        }
    }
    DWORD status = 0;
    DWORD statusLength = sizeof status;
    ASSERT_TRUE(HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                               &statusLength, nullptr));
    EXPECT_EQ(status, 200u);
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(internet);
}

TEST(WinInet, ReadsHandOutTheBodyInOrderThenZero)
{
    RawHttpServer server;
    std::string body;
    for (int i = 0; i < 3000; ++i) {
        body.push_back(static_cast<char>('a' + i % 26));
    }
    server.setReply({RawHttpServer::response("200 OK", "", body)});
    HINTERNET internet = InternetOpenA("a", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection = InternetConnectA(internet, "127.0.0.1", server.port(), nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, nullptr, "/", nullptr, nullptr, nullptr, 0, 0);
    ASSERT_TRUE(HttpSendRequestA(request, nullptr, 0, nullptr, 0));

    std::vector<DWORD> counts;
    std::string received;
    char chunk[1024];
    DWORD read = 0;
    do {
        ASSERT_TRUE(InternetReadFile(request, chunk, sizeof chunk, &read));
        counts.push_back(read);
        received.append(chunk, read);
    } while (read > 0);
    EXPECT_EQ(counts, (std::vector<DWORD>{1024, 1024, 952, 0}));
    EXPECT_EQ(received, body);
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(internet);
}

TEST(WinInet, ABodyThatBreaksOffGivesItsBytesThenAFailedRead)
{
    RawHttpServer server;
    server.setReply({"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789", true});
    const Outcome outcome = perform(callTo(server));

    EXPECT_TRUE(outcome.sent);
    EXPECT_EQ(outcome.body, "0123456789");
    EXPECT_TRUE(outcome.lastReadFailed);
    EXPECT_EQ(outcome.readError, ERROR_INTERNET_CONNECTION_RESET);
}

TEST(WinInet, SendsThatGetNoFinalResponseFail)
{
    struct Case
    {
        const char* name;
        ScriptedReply reply;
        DWORD error;
    } cases[] = {
        {"not HTTP at all", {"garbage\r\n\r\n", true}, ERROR_HTTP_INVALID_SERVER_RESPONSE},
        {"closed before answering", {"", true}, ERROR_INTERNET_CONNECTION_RESET},
        {"header block cut off",
         {"HTTP/1.1 200 OK\r\nA: 1\r\n", true},
         ERROR_HTTP_INVALID_SERVER_RESPONSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RawHttpServer server;
        server.setReply(c.reply);
        const Outcome outcome = perform(callTo(server));
        EXPECT_FALSE(outcome.sent);
        EXPECT_EQ(outcome.sendError, c.error);
        EXPECT_EQ(outcome.body, "");
        EXPECT_FALSE(outcome.headerBlock.has_value());
    }
}

TEST(WinInet, AnUnreachableServerFailsTheSend)
{
    Call call;
    call.port = RawHttpServer::closedPort();
    const Outcome outcome = perform(call);
    EXPECT_FALSE(outcome.sent);
    EXPECT_EQ(outcome.sendError, ERROR_INTERNET_CANNOT_CONNECT);
    EXPECT_FALSE(outcome.headerBlock.has_value());
}

TEST(WinInet, AServerNameThatIsNoHostNameNeverReachesTheNetwork)
{
    RawHttpServer server;
    for (const char* name : {"user@127.0.0.1", "127.0.0.1/x", "127.0.0.1 x", "a?b", "\xD6\xD0"}) {
        SCOPED_TRACE(name);
        Call call = callTo(server);
        call.server = name;
        const Outcome outcome = perform(call);
        EXPECT_FALSE(outcome.sent);
        EXPECT_EQ(outcome.sendError, ERROR_INTERNET_NAME_NOT_RESOLVED);
        EXPECT_TRUE(outcome.lastReadFailed);
    }
    EXPECT_EQ(server.connectionCount(), 0);
}

TEST(WinInet, HandlesAreCheckedForKindAndLife)
{
    HINTERNET internet = InternetOpenA("a", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    ASSERT_NE(internet, nullptr);
    EXPECT_EQ(InternetConnectA(internet, "", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0),
              nullptr);
    EXPECT_EQ(
        InternetConnectA(internet, nullptr, 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0),
        nullptr);
    EXPECT_EQ(HttpOpenRequestA(internet, "GET", "/", nullptr, nullptr, nullptr, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);

    HINTERNET connection =
        InternetConnectA(internet, "127.0.0.1", 1, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, "GET", "/", nullptr, nullptr, nullptr, 0, 0);
    DWORD read = 7;
    char byte;
    EXPECT_FALSE(InternetReadFile(request, &byte, 1, &read));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    EXPECT_EQ(read, 0u);

    EXPECT_TRUE(InternetCloseHandle(request));
    EXPECT_FALSE(InternetCloseHandle(request));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(HttpSendRequestA(request, nullptr, 0, nullptr, 0));
    EXPECT_TRUE(InternetCloseHandle(connection));
    EXPECT_TRUE(InternetCloseHandle(internet));
}

TEST(WinInet, TheProcessCookieStoreServesLaterRequestsUnlessSwitchedOff)
{
    RawHttpServer server([](const std::string& request) {
        const std::string target = RawHttpServer::target(request);
        const std::string name = target.substr(1, target.find('/', 1) - 1);
        return ScriptedReply{RawHttpServer::response(
            "200 OK", "Set-Cookie: " + name + "=v; Path=/" + name + "\r\n", "")};
    });
    auto cookieLineOf = [&server](std::size_t index) {
        const std::string request = server.requests().at(index);
        const std::size_t at = request.find("\r\nCookie: ");
        return at == std::string::npos
                   ? std::string()
                   : request.substr(at + 2, request.find("\r\n", at + 2) - at - 2);
    };

    Call call = callTo(server, "/kept/1");
    perform(call);
    call.path = "/kept/2";
    perform(call);
    EXPECT_EQ(cookieLineOf(1), "Cookie: kept=v");

    call.flags |= INTERNET_FLAG_NO_COOKIES;
    call.path = "/kept/3";
    perform(call);
    EXPECT_EQ(cookieLineOf(2), "");

    call.path = "/ignored/1";
    perform(call);
    call.flags &= ~INTERNET_FLAG_NO_COOKIES;
    call.path = "/ignored/2";
    perform(call);
    EXPECT_EQ(cookieLineOf(4), "");
}

TEST(WinInet, ConnectionsAreReusedAcrossCallsAndThreads)
{
    RawHttpServer server;
    ASSERT_TRUE(perform(callTo(server)).sent);
    std::thread other([&server] { EXPECT_TRUE(perform(callTo(server)).sent); });
    other.join();
    ASSERT_TRUE(perform(callTo(server)).sent);
    EXPECT_EQ(server.requests().size(), 3u);
    EXPECT_EQ(server.connectionCount(), 1);
}

TEST(WinInet, TheTestSwitchGivesEveryCallAConnectionOfItsOwn)
{
    TestSettings settings;
    settings.freshConnectionPerCall = true;
    ScopedTestSettings fresh(settings);
    RawHttpServer server;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(perform(callTo(server)).sent);
    }
    EXPECT_EQ(server.connectionCount(), 3);
}

TEST(WinInet, RequestsFromSeveralThreadsAtOnceEachGetTheirOwnAnswer)
{
    RawHttpServer server([](const std::string& request) {
        return ScriptedReply{RawHttpServer::response("200 OK", "", RawHttpServer::target(request))};
    });
    std::vector<std::thread> threads;
    std::vector<int> mismatches(8, 0);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&server, &mismatches, t] {
            for (int i = 0; i < 10; ++i) {
                const std::string path = "/t" + std::to_string(t) + "/" + std::to_string(i);
                const Outcome outcome = perform(callTo(server, path));
                mismatches[static_cast<std::size_t>(t)] += outcome.body != path;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(8, 0));
    EXPECT_EQ(server.requests().size(), 80u);
}

TEST(WinInet, AProxyListServesPlainHttpExceptForLoopbackHosts)
{
    RawHttpServer proxy([](const std::string&) {
        return ScriptedReply{RawHttpServer::response("200 OK", "", "via proxy")};
    });
    RawHttpServer site;
    const std::string proxyList = "http=127.0.0.1:" + std::to_string(proxy.port());

    Call loopback = callTo(site, "/direct");
    loopback.accessType = INTERNET_OPEN_TYPE_PROXY;
    loopback.proxy = proxyList;
    EXPECT_TRUE(perform(loopback).sent);
    EXPECT_EQ(site.requests().size(), 1u);
    EXPECT_TRUE(proxy.requests().empty());

    Call remote = loopback;
    remote.server = "brisma-demo.invalid";
    remote.port = 0;
    remote.path = "/x?y=1";
    const Outcome outcome = perform(remote);
    EXPECT_EQ(outcome.body, "via proxy");
    ASSERT_EQ(proxy.requests().size(), 1u);
    const std::string request = proxy.requests()[0];
    EXPECT_EQ(request.substr(0, request.find("\r\n")),
              "GET http://brisma-demo.invalid/x?y=1 HTTP/1.1");
    EXPECT_NE(request.find("\r\nHost: brisma-demo.invalid\r\n"), std::string::npos);

    Call throughProxy = loopback;
    throughProxy.bypass = "<-loopback>";
    perform(throughProxy);
    EXPECT_EQ(proxy.requests().size(), 2u);
    EXPECT_EQ(site.requests().size(), 1u);
}

TEST(WinInet, DirectAccessIgnoresTheProxyVariablesThatPreconfigFollows)
{
    RawHttpServer proxy;
    RawHttpServer site;
    const std::string proxyUrl = "http://127.0.0.1:" + std::to_string(proxy.port());
    ScopedEnvironment httpProxy("http_proxy", proxyUrl.c_str());
    ScopedEnvironment noProxy("no_proxy", nullptr);
    ScopedEnvironment noProxyUpper("NO_PROXY", nullptr);

    Call call = callTo(site);
    perform(call);
    EXPECT_EQ(site.requests().size(), 1u);
    EXPECT_EQ(proxy.requests().size(), 0u);

    call.accessType = INTERNET_OPEN_TYPE_PRECONFIG;
    perform(call);
    EXPECT_EQ(site.requests().size(), 1u);
    EXPECT_EQ(proxy.requests().size(), 1u);
}

TEST(WinInet, RedirectionToHttpsIsFollowedOnlyWhenAllowed)
{
    TestSettings settings;
    settings.connectTimeoutMs = 500;
    settings.idleTimeoutMs = 500;
    ScopedTestSettings quick(settings);
    RawHttpServer server;
    server.setReply({RawHttpServer::response(
        "302 Found", "Location: https://127.0.0.1:" + std::to_string(server.port()) + "/s\r\n",
        "")});

    Call call = callTo(server);
    const Outcome refused = perform(call);
    EXPECT_FALSE(refused.sent);
    EXPECT_EQ(refused.sendError, ERROR_HTTP_REDIRECT_FAILED);
    EXPECT_EQ(server.connectionCount(), 1);

    // Allowed, the redirection is tried: a second connection, on which the
    // plain server cannot answer the TLS handshake.
    call.flags |= INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    EXPECT_FALSE(perform(call).sent);
    EXPECT_EQ(server.connectionCount(), 2);

    call.flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    const Outcome unfollowed = perform(call);
    EXPECT_TRUE(unfollowed.sent);
    EXPECT_EQ(unfollowed.headerBlock->substr(0, 22), "HTTP/1.1 302 Found\r\nLo");
}

TEST(WinInet, AServerThatGoesQuietIsLeftAfterTheIdleTimeOut)
{
    TestSettings settings;
    settings.idleTimeoutMs = 300;
    ScopedTestSettings quick(settings);
    struct Case
    {
        const char* name;
        ScriptedReply reply;
        bool sent;
        std::string body;
    } cases[] = {
        {"before answering", {"", false, true}, false, ""},
        {"in the middle of the body",
         {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n01234", false, true},
         true,
         "01234"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RawHttpServer server;
        server.setReply(c.reply);
        const auto started = std::time(nullptr);
        const Outcome outcome = perform(callTo(server));
        EXPECT_LT(std::time(nullptr) - started, 10);
        EXPECT_EQ(outcome.sent, c.sent);
        EXPECT_EQ(outcome.body, c.body);
        EXPECT_EQ(c.sent ? outcome.readError : outcome.sendError, ERROR_INTERNET_TIMEOUT);
    }
}

} // namespace
