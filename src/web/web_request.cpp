#include "web/web_request.h"

#include "platform/wininet.h"
#include "text/extract.h"
#include "text/primitives.h"
#include "web/charset.h"
#include "web/cookies.h"
#include "web/url.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace brisma::web {
namespace {

namespace wininet = platform::wininet;

const Text defaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; ZX9QM; .NET CLR 2.0.50727; "
    ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";
const Text agentMarker = "User-Agent:";
const Text setCookieMarker = "Set-Cookie:";
const Text lineBreak = "\r\n";

constexpr wininet::DWORD headerBufferSize = 5000;
constexpr std::size_t readChunkSize = 1024;
// A body counts as UTF-8 when "utf-8" starts within its first 499 bytes.
constexpr std::size_t utf8MarkerWindow = 499;

// All eleven arguments, as the caller gave them.
struct Arguments
{
    const Text& url;
    int method;
    const Text& postText;
    Text* cookies;
    Text* receivedCookies;
    const Text& extraHeaders;
    Text* redirectAddress;
    bool noRedirect;
    const Bytes& postBytes;
    const std::optional<Text>& proxy;
    Text* responseHeaders;
};

// What came back, read before the handles were closed.
struct Exchange
{
    Bytes body;
    Text responseHeaders;
};

// Closes its handle when it goes out of scope, or earlier by close().
// Declared in the order they are opened, the handles close request first
// and internet handle last.
class InternetHandle
{
public:
    explicit InternetHandle(wininet::HINTERNET handle) : m_handle(handle) {}
    ~InternetHandle() { close(); }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    void close()
    {
        if (m_handle) {
            wininet::InternetCloseHandle(m_handle);
            m_handle = nullptr;
        }
    }

    wininet::HINTERNET get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    wininet::HINTERNET m_handle;
};

Text withoutLineBreaks(const Text& text)
{
    Text result = text;
    std::erase_if(result, [](char c) { return c == '\r' || c == '\n'; });
    return result;
}

// The User-Agent line's value; when that line has no value or is the last
// line, its value runs to the end of the text. Never spans lines.
Text agentFor(const Text& extraHeaders)
{
    const int at = FindText(extraHeaders, agentMarker, 1, false);
    if (at == -1) {
        return defaultAgent;
    }
    Text agent = TrimSpaces(ExtractBetween(extraHeaders, agentMarker, lineBreak));
    if (agent.empty()) {
        Text rest = extraHeaders.substr(static_cast<std::size_t>(at) - 1 + agentMarker.size());
        rest = rest.substr(0, rest.find_first_of("\r\n"));
        agent = TrimSpaces(rest);
    }
    return agent.empty() ? defaultAgent : withoutLineBreaks(agent);
}

wininet::HINTERNET openInternet(const Text& agent, const std::optional<Text>& proxy)
{
    if (proxy) {
        const Text proxyList = "http=" + *proxy;
        return wininet::InternetOpenA(agent.c_str(), wininet::INTERNET_OPEN_TYPE_PROXY,
                                      proxyList.c_str(), "", 0);
    }
    return wininet::InternetOpenA(agent.c_str(), wininet::INTERNET_OPEN_TYPE_DIRECT, nullptr,
                                  nullptr, 0);
}

bool beginsWithHttps(const Text& url)
{
    Text scheme = url.substr(0, 5);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; });
    return scheme == "https";
}

wininet::DWORD requestFlags(const Arguments& a)
{
    wininet::DWORD flags = wininet::INTERNET_FLAG_RELOAD | wininet::INTERNET_FLAG_NEED_FILE;
    if (a.cookies) {
        flags |= wininet::INTERNET_FLAG_NO_COOKIES;
    }
    if (a.noRedirect) {
        flags |= wininet::INTERNET_FLAG_NO_AUTO_REDIRECT;
    }
    flags |= beginsWithHttps(a.url) ? wininet::INTERNET_FLAG_SECURE
                                    : wininet::INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    return flags;
}

// The caller's lines, then each default line the caller did not write
// itself. The referrer is the request's own address; a line break in it
// would start a header line of the address's choosing.
Text headerTextFor(const Arguments& a)
{
    Text headers = a.extraHeaders;
    if (FindText(headers, "Referer:") == -1) {
        headers += (headers.empty() ? "" : lineBreak) + "Referer: " + withoutLineBreaks(a.url);
    }
    if (FindText(headers, "Accept:") == -1) {
        headers += "\r\nAccept: */*";
    }
    if (FindText(headers, "Accept-Language:") == -1) {
        headers += "\r\nAccept-Language: zh-cn";
    }
    if (FindText(headers, "Content-Type:") == -1) {
        headers += "\r\nContent-Type: application/x-www-form-urlencoded";
    }
    if (a.cookies && !a.cookies->empty()) {
        headers += "\r\nCookie: " + *a.cookies;
    }
    return headers;
}

void send(wininet::HINTERNET request, const Arguments& a)
{
    const Text headers = headerTextFor(a);
    const auto headersLength = static_cast<wininet::DWORD>(headers.size());
    if (a.method == 0) {
        wininet::HttpSendRequestA(request, headers.c_str(), headersLength, nullptr, 0);
        return;
    }
    Bytes body = a.postBytes.empty() ? bytesFromText(a.postText) : a.postBytes;
    wininet::HttpSendRequestA(request, headers.c_str(), headersLength,
                              body.empty() ? nullptr : body.data(),
                              static_cast<wininet::DWORD>(body.size()));
}

Bytes readBody(wininet::HINTERNET request)
{
    Bytes body;
    std::array<std::uint8_t, readChunkSize> chunk{};
    for (;;) {
        wininet::DWORD read = 0;
        wininet::InternetReadFile(request, chunk.data(), static_cast<wininet::DWORD>(chunk.size()),
                                  &read);
        if (read == 0) {
            return body;
        }
        body.insert(body.end(), chunk.begin(), chunk.begin() + read);
    }
}

// 5000 spaces unless the block and its terminating zero fit into 5000 bytes.
Text queryHeaderBlock(wininet::HINTERNET request)
{
    Text buffer(headerBufferSize, ' ');
    wininet::DWORD length = headerBufferSize;
    if (!wininet::HttpQueryInfoA(request, wininet::HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(),
                                 &length, nullptr)) {
        return Text(headerBufferSize, ' ');
    }
    return Text(buffer.c_str());
}

// Opens the three handles, sends, reads body and header block, and closes
// the handles again. Nothing when a handle could not be opened.
std::optional<Exchange> exchange(const Arguments& a)
{
    const Text verb = a.method == 1 ? "POST" : "GET";
    InternetHandle internet(openInternet(agentFor(a.extraHeaders), a.proxy));
    if (!internet) {
        return std::nullopt;
    }
    const Text host = UrlHost(a.url);
    const int port = UrlPort(a.url);
    const Text path = UrlPath(a.url);
    // A port beyond 16 bits would wrap around to some other port.
    if (port < 0 || port > 65535) {
        return std::nullopt;
    }
    InternetHandle connection(wininet::InternetConnectA(
        internet.get(), host.c_str(), static_cast<wininet::INTERNET_PORT>(port), nullptr, nullptr,
        wininet::INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        return std::nullopt;
    }
    InternetHandle request(wininet::HttpOpenRequestA(connection.get(), verb.c_str(), path.c_str(),
                                                     "HTTP/1.1", nullptr, nullptr, requestFlags(a),
                                                     0));
    if (!request) {
        return std::nullopt;
    }
    send(request.get(), a);
    Exchange result;
    result.body = readBody(request.get());
    result.responseHeaders = queryHeaderBlock(request.get());
    request.close();
    connection.close();
    internet.close();
    return result;
}

// The name=value pair of a Set-Cookie line: up to its first ";", or to the
// end of the line for a cookie without attributes.
Text cookiePairOf(const Text& line)
{
    const int at = FindText(line, setCookieMarker, 1, false);
    if (at == -1) {
        return {};
    }
    const Text rest = line.substr(static_cast<std::size_t>(at) - 1 + setCookieMarker.size());
    const int semicolon = FindText(rest, ";");
    return TrimSpaces(semicolon == -1 ? rest
                                      : rest.substr(0, static_cast<std::size_t>(semicolon) - 1));
}

struct HeaderFindings
{
    Text redirectAddress;
    Text receivedCookies;
};

HeaderFindings readHeaderLines(const Text& responseHeaders)
{
    HeaderFindings findings;
    for (const Text& line : SplitText(responseHeaders, lineBreak)) {
        // Content-Location counts as well, and the last such line wins.
        if (FindText(line, "Location:") != -1) {
            findings.redirectAddress = ValueAfterColon(line);
        }
        if (FindText(line, "Set-Cookie") != -1) {
            const Text pair = cookiePairOf(line);
            if (!pair.empty()) {
                findings.receivedCookies += pair + "; ";
            }
        }
    }
    if (!findings.receivedCookies.empty()) {
        findings.receivedCookies.resize(findings.receivedCookies.size() - 2);
    }
    return findings;
}

// Steps shared by both forms: the exchange, then the header lines and the
// out arguments. Nothing, and no argument written, when no request handle
// could be opened.
std::optional<Exchange> request(const Arguments& a)
{
    std::optional<Exchange> result = exchange(a);
    if (!result) {
        return std::nullopt;
    }
    HeaderFindings findings = readHeaderLines(result->responseHeaders);
    if (a.cookies) {
        MergeCookies(*a.cookies, findings.receivedCookies);
    }
    if (findings.redirectAddress.empty()) {
        findings.redirectAddress = result->responseHeaders;
    }
    if (a.responseHeaders) {
        *a.responseHeaders = result->responseHeaders;
    }
    if (a.receivedCookies) {
        *a.receivedCookies = findings.receivedCookies;
    }
    if (a.redirectAddress) {
        *a.redirectAddress = findings.redirectAddress;
    }
    return result;
}

bool looksLikeUtf8(const Bytes& body, const Text& responseHeaders)
{
    static constexpr std::string_view marker = "utf-8";
    const std::size_t window = std::min(body.size(), utf8MarkerWindow + marker.size() - 1);
    const auto end = body.begin() + static_cast<long>(window);
    if (std::search(body.begin(), end, marker.begin(), marker.end(), [](std::uint8_t a, char b) {
            return a == static_cast<std::uint8_t>(b);
        }) != end) {
        return true;
    }
    return FindText(responseHeaders, "utf-8", 1, false) != -1;
}

} // namespace

Text ValueAfterColon(const Text& text)
{
    const int colon = FindText(text, ":");
    if (colon == -1) {
        return {};
    }
    return TrimSpaces(text.substr(static_cast<std::size_t>(colon)));
}

Text WebRequest(const Text& url, int method, const Text& postText, Text* cookies,
                Text* receivedCookies, const Text& extraHeaders, Text* redirectAddress,
                bool noRedirect, const Bytes& postBytes, const std::optional<Text>& proxy,
                Text* responseHeaders)
{
    const Arguments arguments{url,
                              method,
                              postText,
                              cookies,
                              receivedCookies,
                              extraHeaders,
                              redirectAddress,
                              noRedirect,
                              postBytes,
                              proxy,
                              responseHeaders};
    std::optional<Exchange> result = request(arguments);
    if (!result) {
        return {};
    }
    if (looksLikeUtf8(result->body, result->responseHeaders)) {
        result->body = ConvertCharset(result->body);
    }
    return textFromBytes(result->body);
}

Bytes WebRequestBytes(const Text& url, int method, const Text& postText, Text* cookies,
                      Text* receivedCookies, const Text& extraHeaders, Text* redirectAddress,
                      bool noRedirect, const Bytes& postBytes, const std::optional<Text>& proxy,
                      Text* responseHeaders)
{
    const Arguments arguments{url,
                              method,
                              postText,
                              cookies,
                              receivedCookies,
                              extraHeaders,
                              redirectAddress,
                              noRedirect,
                              postBytes,
                              proxy,
                              responseHeaders};
    std::optional<Exchange> result = request(arguments);
    return result ? std::move(result->body) : Bytes();
}

} // namespace brisma::web
