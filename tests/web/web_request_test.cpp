#include "web/web_request.h"

#include "platform/wininet.h"
#include "support/raw_http_server.h"

#include <gtest/gtest.h>

#include <ctime>
#include <thread>

using namespace brisma;
using namespace brisma::web;
using brisma::test::RawHttpServer;
using brisma::test::ScriptedReply;

namespace {

const Text defaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; ZX9QM; .NET CLR "
                          "2.0.50727; .NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";
const Text fiveThousandSpaces(5000, ' ');

std::string headOf(const std::string& request)
{
    return request.substr(0, request.find("\r\n\r\n") + 4);
}

std::string bodyOf(const std::string& request)
{
    return request.substr(request.find("\r\n\r\n") + 4);
}

// The request's header lines behind Host and User-Agent.
std::string linesAfterAgent(const std::string& request)
{
    const std::size_t agent = request.find("\r\nUser-Agent: ");
    const std::size_t next = request.find("\r\n", agent + 2);
    return request.substr(next + 2, request.find("\r\n\r\n") - next - 2);
}

// The value of the request's one User-Agent line, whatever its letter case.
std::string agentOf(const std::string& request)
{
    std::string lower = request;
    for (char& c : lower) {
        c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    }
    const std::size_t line = lower.find("\r\nuser-agent:");
    if (line == std::string::npos || lower.find("\r\nuser-agent:", line + 2) != std::string::npos) {
        return "(none or several)";
    }
    std::string value = request.substr(line + 13, request.find("\r\n", line + 2) - line - 13);
    value.erase(0, value.find_first_not_of(' '));
    value.erase(value.find_last_not_of(' ') + 1);
    return value;
}

ScriptedReply reply(const std::string& status, const std::string& headerLines,
                    const std::string& body)
{
    return {RawHttpServer::response(status, headerLines, body)};
}

TEST(WebRequest, TheDefaultRequestOnTheWire)
{
    RawHttpServer server;
    const Text url = server.url("/Dir/Page.htm?A=1");
    WebRequest(url);

    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0], "GET /Dir/Page.htm?A=1 HTTP/1.1\r\n"
                                    "Host: 127.0.0.1:" +
                                        std::to_string(server.port()) +
                                        "\r\n"
                                        "User-Agent: " +
                                        defaultAgent +
                                        "\r\n"
                                        "Referer: " +
                                        url +
                                        "\r\n"
                                        "Accept: */*\r\n"
                                        "Accept-Language: zh-cn\r\n"
                                        "Content-Type: application/x-www-form-urlencoded\r\n"
                                        "\r\n");
}

TEST(WebRequest, DefaultLinesAreAddedBehindTheCallersUnlessTheyAreThere)
{
    struct Case
    {
        const char* name;
        Text extraHeaders;
        std::string lines;
    } cases[] = {
        {"a lower-case accept line does not count", "Referer: x\r\naccept: y",
         "Referer: x\r\naccept: y\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
         "Content-Type: application/x-www-form-urlencoded"},
        {"the caller's own lines stay", "Accept: a\r\nAccept-Language: en\r\nContent-Type: t",
         "Accept: a\r\nAccept-Language: en\r\nContent-Type: t\r\nReferer: <url>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RawHttpServer server;
        const Text url = server.url("/");
        WebRequest(url, 0, {}, nullptr, nullptr, c.extraHeaders);
        std::string expected = c.lines;
        const std::size_t placeholder = expected.find("<url>");
        if (placeholder != std::string::npos) {
            expected.replace(placeholder, 5, url);
        }
        EXPECT_EQ(linesAfterAgent(server.requests().at(0)), expected);
    }
}

TEST(WebRequest, TheAgentComesFromAUserAgentLine)
{
    struct Case
    {
        Text extraHeaders;
        std::string agent;
    } cases[] = {
        {"User-Agent: Tester/1.0\r\nReferer: x", "Tester/1.0"},
        {"user-agent:  Lower/3 ", "Lower/3"},
        {"X: 1\r\nUser-Agent: Last/2", "Last/2"},
        {"X: 1", defaultAgent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.extraHeaders);
        RawHttpServer server;
        WebRequest(server.url("/"), 0, {}, nullptr, nullptr, c.extraHeaders);
        EXPECT_EQ(agentOf(server.requests().at(0)), c.agent);
    }
}

TEST(WebRequest, LineBreaksInTheAddressStartNoHeaderLines)
{
    RawHttpServer server;
    WebRequest(server.url("/a\r\nX-Injected: 1"));
    const std::string request = server.requests().at(0);
    EXPECT_EQ(RawHttpServer::target(request), "/a%0D%0AX-Injected:%201");
    EXPECT_EQ(request.find("\r\nX-Injected"), std::string::npos);
    EXPECT_NE(request.find("\r\nReferer: " + server.url("/aX-Injected: 1") + "\r\n"),
              std::string::npos);
}

TEST(WebRequest, TheMethodDecidesVerbAndBody)
{
    struct Case
    {
        const char* name;
        int method;
        Text postText;
        Bytes postBytes;
        std::string verb;
        std::string body;
    } cases[] = {
        {"1 posts the text", 1, "a=1", {}, "POST", "a=1"},
        {"2 sends a body with GET", 2, "a=1", {}, "GET", "a=1"},
        {"0 sends no body even with a text", 0, "a=1", {}, "GET", ""},
        {"bytes win over text", 1, "ignored", {'b', 0, 'y'}, "POST", std::string("b\0y", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RawHttpServer server;
        WebRequest(server.url("/form"), c.method, c.postText, nullptr, nullptr, {}, nullptr, false,
                   c.postBytes);
        const std::string request = server.requests().at(0);
        EXPECT_EQ(request.substr(0, request.find(' ')), c.verb);
        EXPECT_EQ(bodyOf(request), c.body);
        const bool hasLength = headOf(request).find("Content-Length:") != std::string::npos;
        EXPECT_EQ(hasLength, !c.body.empty());
    }
}

TEST(WebRequest, CookiesNotGivenAreLeftToTheProcessStore)
{
    RawHttpServer server([](const std::string& request) {
        if (RawHttpServer::target(request) == "/jar-a/set") {
            return reply("200 OK", "Set-Cookie: jara=1; Path=/jar-a\r\n", "");
        }
        return reply("200 OK", "", "");
    });
    WebRequest(server.url("/jar-a/set"));
    WebRequest(server.url("/jar-a/next"));
    EXPECT_NE(headOf(server.requests().at(1)).find("\r\nCookie: jara=1\r\n"), std::string::npos);
}

TEST(WebRequest, CookiesGivenBypassTheStoreAndComeBackMerged)
{
    RawHttpServer server([](const std::string& request) {
        if (RawHttpServer::target(request) == "/jar-b/set") {
            return reply("200 OK", "Set-Cookie: jarb=1; Path=/jar-b\r\n", "");
        }
        return reply("200 OK", "Set-Cookie: b=3; Path=/jar-b\r\n", "");
    });
    WebRequest(server.url("/jar-b/set"));

    Text empty;
    WebRequest(server.url("/jar-b/given"), 0, {}, &empty);
    EXPECT_EQ(headOf(server.requests().at(1)).find("Cookie:"), std::string::npos);
    EXPECT_EQ(empty, "b=3");

    Text cookies = "a=1; b=2";
    Text received;
    WebRequest(server.url("/jar-b/given"), 0, {}, &cookies, &received);
    const std::string head = headOf(server.requests().at(2));
    EXPECT_NE(head.find("Content-Type: application/x-www-form-urlencoded\r\n"
                        "Cookie: a=1; b=2\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(cookies, "b=3; a=1");
    EXPECT_EQ(received, "b=3");

    // The b=3 the store never saw is not sent by it either.
    WebRequest(server.url("/jar-b/after"));
    EXPECT_NE(headOf(server.requests().at(3)).find("\r\nCookie: jarb=1\r\n"), std::string::npos);
}

TEST(WebRequest, SetCookieLinesAreGathered)
{
    RawHttpServer server;
    server.setReply(reply("200 OK",
                          "Set-Cookie: a=1; path=/jar-g\r\n"
                          "Set-Cookie: b=2; HttpOnly\r\n"
                          "Set-Cookie:  c=3\r\n"
                          "set-cookie: d=4; path=/jar-g\r\n",
                          ""));
    Text received = "stale";
    WebRequest(server.url("/jar-g/page"), 0, {}, nullptr, &received);
    EXPECT_EQ(received, "a=1; b=2; c=3");

    // With cookies given the merge strips the spaces.
    Text cookies;
    WebRequest(server.url("/jar-g/page"), 0, {}, &cookies, &received);
    EXPECT_EQ(received, "a=1;b=2;c=3");
    EXPECT_EQ(cookies, "a=1; b=2; c=3");
}

TEST(WebRequest, TheRedirectAddressIsTheLastLocationValueOrTheHeaderBlock)
{
    RawHttpServer server;
    server.setReply(reply("200 OK", "Location: /first\r\nContent-Location:  /second \r\n", ""));
    Text redirect;
    Text headers;
    WebRequest(server.url("/"), 0, {}, nullptr, nullptr, {}, &redirect, false, {}, {}, &headers);
    EXPECT_EQ(redirect, "/second");

    server.setReply(reply("200 OK", "X: 1\r\n", "body"));
    redirect = "left from before";
    WebRequest(server.url("/"), 0, {}, nullptr, nullptr, {}, &redirect, false, {}, {}, &headers);
    EXPECT_EQ(headers, "HTTP/1.1 200 OK\r\nX: 1\r\nContent-Length: 4\r\n\r\n");
    EXPECT_EQ(redirect, headers);
}

TEST(WebRequest, RedirectionsAreFollowedUnlessSwitchedOff)
{
    RawHttpServer server([](const std::string& request) {
        if (RawHttpServer::target(request) == "/start") {
            return reply("302 Found", "Location: /final\r\n", "moved");
        }
        return reply("200 OK", "X-Final: yes\r\n", "final page");
    });
    Text headers;
    EXPECT_EQ(WebRequest(server.url("/start"), 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {},
                         &headers),
              "final page");
    EXPECT_EQ(headers.substr(0, 17), "HTTP/1.1 200 OK\r\n");
    EXPECT_NE(headers.find("X-Final: yes"), std::string::npos);
    EXPECT_EQ(headers.find("302"), std::string::npos);

    Text redirect;
    EXPECT_EQ(WebRequest(server.url("/start"), 0, {}, nullptr, nullptr, {}, &redirect, true, {}, {},
                         &headers),
              "moved");
    EXPECT_EQ(headers.substr(0, 20), "HTTP/1.1 302 Found\r\n");
    EXPECT_EQ(redirect, "/final");
}

TEST(WebRequest, AHeaderBlockOver5000BytesIsNotReadButTheBodyIs)
{
    RawHttpServer server;
    server.setReply(reply("200 OK",
                          "Content-Type: text/html; charset=utf-8\r\nLocation: /x\r\n"
                          "X-Big: " +
                              std::string(5000, 'a') + "\r\n",
                          "\xE4\xB8\xAD"));
    Text headers;
    Text redirect;
    Text received = "stale";
    const Text body = WebRequest(server.url("/"), 0, {}, nullptr, &received, {}, &redirect, false,
                                 {}, {}, &headers);
    EXPECT_EQ(headers, fiveThousandSpaces);
    EXPECT_EQ(redirect, fiveThousandSpaces);
    EXPECT_EQ(received, "");
    // No "utf-8" was seen, so the body stays as it came.
    EXPECT_EQ(body, "\xE4\xB8\xAD");
}

TEST(WebRequest, UnicodeBodiesAreConvertedWhenTheyLookLikeUtf8)
{
    const std::string chinese = "\xE4\xB8\xAD\xE6\x96\x87";
    const std::string gbk = "\xD6\xD0\xCE\xC4";
    struct Case
    {
        const char* name;
        std::string bodyBefore; // then chinese
        std::string headerLines;
        bool converted;
    } cases[] = {
        {"utf-8 at byte 400", std::string(399, 'x') + "utf-8", "", true},
        {"utf-8 at byte 499", std::string(498, 'x') + "utf-8", "", true},
        {"utf-8 first at byte 500", std::string(499, 'x') + "utf-8", "", false},
        {"utf-8 at byte 500, UTF-8 in a header", std::string(499, 'x') + "utf-8",
         "Content-Type: text/html; charset=UTF-8\r\n", true},
        {"only UTF-8 in capitals in the body", "<meta charset=UTF-8>", "", false},
        {"no marker anywhere", "plain ", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RawHttpServer server;
        server.setReply(reply("200 OK", c.headerLines, c.bodyBefore + chinese));
        EXPECT_EQ(WebRequest(server.url("/")), c.bodyBefore + (c.converted ? gbk : chinese));
        const std::string raw = c.bodyBefore + chinese;
        EXPECT_EQ(WebRequestBytes(server.url("/")), Bytes(raw.begin(), raw.end()));
    }
}

TEST(WebRequest, AZeroByteEndsTheTextButNotTheBytes)
{
    RawHttpServer server;
    const std::string body("ab\0cd", 5);
    server.setReply(reply("200 OK", "", body));
    EXPECT_EQ(WebRequest(server.url("/")), "ab");
    EXPECT_EQ(WebRequestBytes(server.url("/")), Bytes(body.begin(), body.end()));
}

TEST(WebRequest, ErrorPagesComeBackLikeAnyOtherBody)
{
    RawHttpServer server;
    server.setReply(reply("404 Not Found", "", "not here"));
    EXPECT_EQ(WebRequest(server.url("/missing")), "not here");
}

TEST(WebRequest, AProxyGetsAbsoluteFormRequestsForOtherHosts)
{
    RawHttpServer proxy;
    proxy.setReply(reply("200 OK", "", "from proxy"));
    RawHttpServer site;
    site.setReply(reply("200 OK", "", "from site"));
    const Text proxyAddress = "127.0.0.1:" + std::to_string(proxy.port());

    EXPECT_EQ(WebRequest("http://movies.brisma-demo.invalid/3d/index_2.htm", 0, {}, nullptr,
                         nullptr, {}, nullptr, false, {}, proxyAddress),
              "from proxy");
    const std::string request = proxy.requests().at(0);
    EXPECT_EQ(request.substr(0, request.find("\r\n")),
              "GET http://movies.brisma-demo.invalid/3d/index_2.htm HTTP/1.1");

    EXPECT_EQ(
        WebRequest(site.url("/"), 0, {}, nullptr, nullptr, {}, nullptr, false, {}, proxyAddress),
        "from site");
    EXPECT_EQ(proxy.requests().size(), 1u);
}

TEST(WebRequest, AnUnreachableServerGivesEmptyResultsAndSpaces)
{
    const Text url = "http://127.0.0.1:" + std::to_string(RawHttpServer::closedPort()) + "/";
    Text headers;
    Text redirect;
    Text received = "stale";
    Text cookies = "a=1";
    EXPECT_EQ(WebRequest(url, 0, {}, &cookies, &received, {}, &redirect, false, {}, {}, &headers),
              "");
    EXPECT_EQ(headers, fiveThousandSpaces);
    EXPECT_EQ(redirect, fiveThousandSpaces);
    EXPECT_EQ(received, "");
    EXPECT_EQ(cookies, "a=1");
    EXPECT_EQ(WebRequestBytes(url), Bytes());
}

TEST(WebRequest, WithoutARequestHandleNoArgumentIsWritten)
{
    for (const char* url : {"", "http:///x", "http://127.0.0.1:70000/", "http://127.0.0.1:-1/"}) {
        SCOPED_TRACE(url);
        Text headers = "untouched";
        Text redirect = "untouched";
        Text received = "untouched";
        Text cookies = "untouched";
        EXPECT_EQ(
            WebRequest(url, 0, {}, &cookies, &received, {}, &redirect, false, {}, {}, &headers),
            "");
        EXPECT_EQ(headers, "untouched");
        EXPECT_EQ(redirect, "untouched");
        EXPECT_EQ(received, "untouched");
        EXPECT_EQ(cookies, "untouched");
    }
}

TEST(WebRequest, AServerThatStallsGivesAnEmptyResult)
{
    platform::wininet::TestSettings settings;
    settings.idleTimeoutMs = 300;
    platform::wininet::ScopedTestSettings quick(settings);
    RawHttpServer server;
    server.setReply({"", false, true});
    Text headers;
    const auto started = std::time(nullptr);
    EXPECT_EQ(
        WebRequest(server.url("/"), 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {}, &headers),
        "");
    EXPECT_LT(std::time(nullptr) - started, 10);
    EXPECT_EQ(headers, fiveThousandSpaces);
}

TEST(WebRequest, SeveralThreadsMayRequestAtOnce)
{
    RawHttpServer server([](const std::string& request) {
        return reply("200 OK", "", "page " + RawHttpServer::target(request));
    });
    std::vector<std::thread> threads;
    std::vector<int> wrong(6, 0);
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&server, &wrong, t] {
            for (int i = 0; i < 10; ++i) {
                const std::string path = "/" + std::to_string(t) + "-" + std::to_string(i);
                wrong[static_cast<std::size_t>(t)] +=
                    WebRequest(server.url(path)) != "page " + path;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, std::vector<int>(6, 0));
}

TEST(ValueAfterColon, TakesWhatFollowsTheFirstColonTrimmed)
{
    EXPECT_EQ(ValueAfterColon("Location:  /x \xA1\xA1"), "/x");
    EXPECT_EQ(ValueAfterColon("a:b:c"), "b:c");
    EXPECT_EQ(ValueAfterColon("no colon"), "");
    EXPECT_EQ(ValueAfterColon(":"), "");
}

} // namespace
