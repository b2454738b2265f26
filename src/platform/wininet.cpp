#include "platform/wininet.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <time.h>
#include <unordered_map>
#include <utility>
#include <vector>

namespace brisma::platform::wininet {
namespace {

thread_local DWORD t_lastError = 0;

BOOL failWith(DWORD error)
{
    t_lastError = error;
    return 0;
}

HINTERNET noHandle(DWORD error)
{
    t_lastError = error;
    return nullptr;
}

std::string textOrEmpty(LPCSTR text)
{
    return text ? std::string(text) : std::string();
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowered(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), lowerAscii);
    return result;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && lowered(text.substr(0, prefix.size())) == prefix;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isAsciiLetterOrDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// ------------------------------------------------------------ test settings

std::mutex g_settingsMutex;
TestSettings g_settings;

// ------------------------------------------------------- process-wide curl

void initialiseCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Cookies, resolved names and TLS sessions, shared by every request of the
// process. Connections are not shared here: libcurl cannot share one
// connection cache between threads that run at the same time, so they stay
// with the handles that own them (see EasyPool).
class Share
{
public:
    Share()
    {
        initialiseCurl();
        m_share = curl_share_init();
        if (!m_share) {
            return;
        }
        curl_share_setopt(m_share, CURLSHOPT_LOCKFUNC, &Share::lock);
        curl_share_setopt(m_share, CURLSHOPT_UNLOCKFUNC, &Share::unlock);
        curl_share_setopt(m_share, CURLSHOPT_USERDATA, this);
        curl_share_setopt(m_share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
        curl_share_setopt(m_share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
        curl_share_setopt(m_share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    }

    CURLSH* handle() const { return m_share; }

private:
    static void lock(CURL*, curl_lock_data data, curl_lock_access, void* user)
    {
        static_cast<Share*>(user)->mutexFor(data).lock();
    }

    static void unlock(CURL*, curl_lock_data data, void* user)
    {
        static_cast<Share*>(user)->mutexFor(data).unlock();
    }

    std::mutex& mutexFor(curl_lock_data data)
    {
        const auto index = static_cast<std::size_t>(data);
        return m_mutexes[index < m_mutexes.size() ? index : 0];
    }

    CURLSH* m_share = nullptr;
    std::array<std::mutex, CURL_LOCK_DATA_LAST> m_mutexes;
};

// Never destroyed: a worker thread may still be inside a request while the
// process exits.
Share& processShare()
{
    static Share* share = new Share;
    return *share;
}

CURL* newEasyHandle()
{
    processShare();
    return curl_easy_init();
}

// Idle easy handles, each remembered with the server it last talked to. A
// handle keeps its connections alive between requests, so a request that
// takes out a handle of its own server reuses that connection, whichever
// thread it runs on. A handle serves one request at a time.
class EasyPool
{
public:
    CURL* take(const std::string& key)
    {
        {
            std::lock_guard lock(m_mutex);
            for (auto it = m_idle.rbegin(); it != m_idle.rend(); ++it) {
                if (it->key == key) {
                    CURL* easy = it->easy;
                    m_idle.erase(std::next(it).base());
                    return easy;
                }
            }
        }
        return newEasyHandle();
    }

    void giveBack(std::string key, CURL* easy)
    {
        // Forgets the finished request's options and pointers; the open
        // connections stay. The list of cookie files would outlive the reset
        // unreachable, so it goes first; that also parts the handle from the
        // shared jar until configure() attaches the share again.
        curl_easy_setopt(easy, CURLOPT_COOKIEFILE, static_cast<char*>(nullptr));
        curl_easy_reset(easy);
        CURL* evicted = nullptr;
        {
            std::lock_guard lock(m_mutex);
            m_idle.push_back({std::move(key), easy});
            if (m_idle.size() > maxIdleHandles) {
                evicted = m_idle.front().easy;
                m_idle.pop_front();
            }
        }
        if (evicted) {
            curl_easy_cleanup(evicted);
        }
    }

private:
    static constexpr std::size_t maxIdleHandles = 16;

    struct Idle
    {
        std::string key;
        CURL* easy;
    };

    std::mutex m_mutex;
    std::deque<Idle> m_idle;
};

EasyPool& easyPool()
{
    static EasyPool* pool = new EasyPool;
    return *pool;
}

// One easy handle for the length of one request.
class EasyLease
{
public:
    EasyLease(std::string key, bool pooled)
        : m_key(std::move(key)), m_pooled(pooled),
          m_easy(pooled ? easyPool().take(m_key) : newEasyHandle())
    {}

    ~EasyLease()
    {
        if (!m_easy) {
            return;
        }
        if (m_pooled) {
            easyPool().giveBack(std::move(m_key), m_easy);
        } else {
            curl_easy_cleanup(m_easy);
        }
    }

    EasyLease(const EasyLease&) = delete;
    EasyLease& operator=(const EasyLease&) = delete;

    CURL* get() const { return m_easy; }

private:
    std::string m_key;
    bool m_pooled;
    CURL* m_easy;
};

struct HeaderListFree
{
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListFree>;

bool appendLine(HeaderList& list, const std::string& line)
{
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown) {
        return false;
    }
    (void)list.release();
    list.reset(grown);
    return true;
}

// ------------------------------------------------------------------- proxy

struct ProxyConfig
{
    DWORD accessType = INTERNET_OPEN_TYPE_DIRECT;
    std::string httpProxy; // host:port; empty: requests go direct
    std::string httpsProxy;
    std::vector<std::string> bypass; // lower-case patterns
    bool bypassLoopback = true;
};

std::vector<std::string> splitList(std::string_view text)
{
    std::vector<std::string> items;
    std::string item;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == ';' || c == ',') {
            if (!item.empty()) {
                items.push_back(std::move(item));
                item.clear();
            }
        } else {
            item.push_back(c);
        }
    }
    if (!item.empty()) {
        items.push_back(std::move(item));
    }
    return items;
}

ProxyConfig proxyConfig(DWORD accessType, LPCSTR proxyList, LPCSTR bypassList)
{
    ProxyConfig config;
    config.accessType = accessType;
    if (accessType != INTERNET_OPEN_TYPE_PROXY) {
        return config;
    }
    for (const std::string& entry : splitList(textOrEmpty(proxyList))) {
        const std::size_t equals = entry.find('=');
        if (equals == std::string::npos) {
            // A proxy without a scheme serves every scheme.
            config.httpProxy = entry;
            config.httpsProxy = entry;
            continue;
        }
        const std::string scheme = lowered(entry.substr(0, equals));
        if (scheme == "http") {
            config.httpProxy = entry.substr(equals + 1);
        } else if (scheme == "https") {
            config.httpsProxy = entry.substr(equals + 1);
        }
    }
    for (const std::string& entry : splitList(textOrEmpty(bypassList))) {
        if (entry == "<-loopback>") {
            config.bypassLoopback = false;
        } else {
            config.bypass.push_back(lowered(entry));
        }
    }
    return config;
}

bool wildcardMatch(std::string_view pattern, std::string_view text)
{
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

bool isLoopbackHost(const std::string& host)
{
    if (host == "localhost" || host == "::1" || host == "[::1]") {
        return true;
    }
    if (host.rfind("127.", 0) != 0) {
        return false;
    }
    return std::all_of(host.begin(), host.end(), [](char c) { return isDigit(c) || c == '.'; });
}

bool bypassesProxy(const ProxyConfig& config, const std::string& server)
{
    const std::string host = lowered(server);
    if (config.bypassLoopback && isLoopbackHost(host)) {
        return true;
    }
    for (const std::string& pattern : config.bypass) {
        if (pattern == "<local>" ? host.find('.') == std::string::npos
                                 : wildcardMatch(pattern, host)) {
            return true;
        }
    }
    return false;
}

enum class Route
{
    Environment,
    Direct,
    ViaProxy
};

struct ProxyChoice
{
    Route route = Route::Direct;
    std::string proxyUrl;
};

ProxyChoice chooseProxy(const ProxyConfig& config, bool secure, const std::string& server)
{
    if (config.accessType == INTERNET_OPEN_TYPE_PRECONFIG) {
        return {Route::Environment, {}};
    }
    if (config.accessType != INTERNET_OPEN_TYPE_PROXY) {
        return {Route::Direct, {}};
    }
    const std::string& proxy = secure ? config.httpsProxy : config.httpProxy;
    if (proxy.empty() || bypassesProxy(config, server)) {
        return {Route::Direct, {}};
    }
    if (proxy.find("://") != std::string::npos) {
        return {Route::ViaProxy, proxy};
    }
    return {Route::ViaProxy, "http://" + proxy};
}

// ------------------------------------------------------------ the address

// The host as it may stand in a URL, or nothing when it could not name a
// host at all (an untrusted address must not smuggle a user name, a path or
// a second host into the URL).
std::optional<std::string> hostForUrl(std::string_view server)
{
    if (server.size() > 2 && server.front() == '[' && server.back() == ']') {
        server = server.substr(1, server.size() - 2);
    }
    if (server.empty()) {
        return std::nullopt;
    }
    if (server.find(':') != std::string_view::npos) {
        const bool ipv6 = std::all_of(server.begin(), server.end(),
                                      [](char c) { return isHexDigit(c) || c == ':' || c == '.'; });
        if (!ipv6) {
            return std::nullopt;
        }
        return "[" + std::string(server) + "]";
    }
    const bool plain = std::all_of(server.begin(), server.end(), [](char c) {
        return isAsciiLetterOrDigit(c) || c == '-' || c == '.' || c == '_';
    });
    if (!plain) {
        return std::nullopt;
    }
    return std::string(server);
}

// Bytes that a URL cannot carry raw (controls, spaces, GBK text) go
// percent-encoded; everything else is sent as the caller wrote it.
std::string encodedObjectName(std::string_view objectName)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string encoded;
    if (objectName.empty() || objectName.front() != '/') {
        encoded.push_back('/');
    }
    for (char c : objectName) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            encoded.push_back('%');
            encoded.push_back(hex[byte >> 4]);
            encoded.push_back(hex[byte & 0x0F]);
        } else {
            encoded.push_back(c);
        }
    }
    return encoded;
}

// ----------------------------------------------------------------- handles

enum class HandleKind
{
    Internet,
    Connection,
    Request
};

struct HandleBase
{
    explicit HandleBase(HandleKind handleKind) : kind(handleKind) {}
    virtual ~HandleBase() = default;
    const HandleKind kind;
};

struct Session final : HandleBase
{
    Session() : HandleBase(HandleKind::Internet) {}
    std::string agent;
    ProxyConfig proxy;
};

struct Connection final : HandleBase
{
    Connection() : HandleBase(HandleKind::Connection) {}
    std::shared_ptr<const Session> session;
    std::string server;
    INTERNET_PORT port = INTERNET_INVALID_PORT_NUMBER;
};

// What a sent request brought back.
struct Response
{
    std::string headerBlock; // the final response's
    bool headerBlockComplete = false;
    int statusCode = 0;
    std::string body;
    std::size_t readOffset = 0;
    DWORD readError = 0; // reported once the body is used up
};

struct Request final : HandleBase
{
    Request() : HandleBase(HandleKind::Request) {}
    std::shared_ptr<const Connection> connection;
    std::string verb;
    std::string objectName;
    std::string referrer;
    std::string acceptLine;
    long httpVersion = CURL_HTTP_VERSION_1_1;
    DWORD flags = 0;

    std::mutex mutex; // one send or read at a time
    bool sent = false;
    Response response;
};

class HandleTable
{
public:
    HINTERNET add(std::shared_ptr<HandleBase> handle)
    {
        HINTERNET key = handle.get();
        std::lock_guard lock(m_mutex);
        m_handles.emplace(key, std::move(handle));
        return key;
    }

    std::shared_ptr<HandleBase> find(HINTERNET key) const
    {
        std::lock_guard lock(m_mutex);
        auto it = m_handles.find(key);
        return it == m_handles.end() ? nullptr : it->second;
    }

    bool remove(HINTERNET key)
    {
        std::shared_ptr<HandleBase> removed;
        std::lock_guard lock(m_mutex);
        auto it = m_handles.find(key);
        if (it == m_handles.end()) {
            return false;
        }
        // A call still running on another thread keeps its own reference.
        removed = std::move(it->second);
        m_handles.erase(it);
        return true;
    }

private:
    mutable std::mutex m_mutex;
    std::unordered_map<HINTERNET, std::shared_ptr<HandleBase>> m_handles;
};

HandleTable& handleTable()
{
    static HandleTable* table = new HandleTable;
    return *table;
}

template <class T> std::shared_ptr<T> lookUp(HINTERNET key, HandleKind kind)
{
    std::shared_ptr<HandleBase> handle = handleTable().find(key);
    if (!handle) {
        t_lastError = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    if (handle->kind != kind) {
        t_lastError = ERROR_INTERNET_INCORRECT_HANDLE_TYPE;
        return nullptr;
    }
    return std::static_pointer_cast<T>(handle);
}

// ---------------------------------------------------------------- transfer

constexpr std::size_t maxHeaderBlock = 1 << 20;

// <chrono> cannot be used here: it spells the micro sign, which the GBK
// execution character set has not got.
long long monotonicMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Collects one exchange as libcurl hands it over: the header block of the
// latest response (an interim 100 or a redirection followed is replaced by
// the next one), the body, and when bytes last moved.
class Transfer
{
public:
    explicit Transfer(long idleTimeoutMs) : m_idleTimeoutMs(idleTimeoutMs) {}

    bool addHeaderLine(std::string_view line)
    {
        touch();
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        if (m_awaitingStatusLine) {
            // Anything before a status line (trailers after a chunked body)
            // belongs to no header block.
            if (line.substr(0, 5) != "HTTP/") {
                return true;
            }
            startResponse(line);
        } else if (line.empty()) {
            m_response.headerBlock += "\r\n";
            m_awaitingStatusLine = true;
            m_response.headerBlockComplete = m_response.statusCode >= 200;
            return true;
        } else if (startsWithIgnoringCase(line, "location:")) {
            m_hasLocation = true;
        }
        m_response.headerBlock.append(line);
        m_response.headerBlock += "\r\n";
        return m_response.headerBlock.size() <= maxHeaderBlock;
    }

    bool addBody(const char* data, std::size_t size)
    {
        touch();
        try {
            m_response.body.append(data, size);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

    void markConnected()
    {
        m_connected = true;
        touch();
    }

    // The time-out counts only once connected; connecting has its own.
    bool idleTooLong(curl_off_t downloaded, curl_off_t uploaded)
    {
        if (downloaded != m_downloaded || uploaded != m_uploaded) {
            m_downloaded = downloaded;
            m_uploaded = uploaded;
            touch();
        }
        if (!m_connected) {
            return false;
        }
        m_idleTimedOut = monotonicMilliseconds() - m_lastActivityMs > m_idleTimeoutMs;
        return m_idleTimedOut;
    }

    bool idleTimedOut() const { return m_idleTimedOut; }
    bool hasLocation() const { return m_hasLocation; }
    Response takeResponse() { return std::move(m_response); }
    const Response& response() const { return m_response; }

private:
    void startResponse(std::string_view statusLine)
    {
        m_response.headerBlock.clear();
        m_response.headerBlockComplete = false;
        m_hasLocation = false;
        m_awaitingStatusLine = false;
        m_response.statusCode = 0;
        const std::size_t space = statusLine.find(' ');
        if (space != std::string_view::npos) {
            int code = 0;
            for (std::size_t i = space + 1; i < statusLine.size() && i < space + 4; ++i) {
                if (!isDigit(statusLine[i])) {
                    break;
                }
                code = code * 10 + (statusLine[i] - '0');
            }
            m_response.statusCode = code;
        }
    }

    void touch() { m_lastActivityMs = monotonicMilliseconds(); }

    long m_idleTimeoutMs;
    long long m_lastActivityMs = monotonicMilliseconds();
    bool m_connected = false;
    bool m_idleTimedOut = false;
    bool m_awaitingStatusLine = true;
    bool m_hasLocation = false;
    curl_off_t m_downloaded = 0;
    curl_off_t m_uploaded = 0;
    Response m_response;
};

std::size_t onHeaderLine(char* data, std::size_t size, std::size_t count, void* user)
{
    const std::size_t length = size * count;
    return static_cast<Transfer*>(user)->addHeaderLine(std::string_view(data, length)) ? length : 0;
}

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user)
{
    const std::size_t length = size * count;
    return static_cast<Transfer*>(user)->addBody(data, length) ? length : 0;
}

int onProgress(void* user, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded)
{
    return static_cast<Transfer*>(user)->idleTooLong(downloaded, uploaded) ? 1 : 0;
}

int onConnected(void* user, char*, char*, int, int)
{
    static_cast<Transfer*>(user)->markConnected();
    return CURL_PREREQFUNC_OK;
}

DWORD errorFor(CURLcode code, bool idleTimedOut, bool redirectPending)
{
    if (idleTimedOut) {
        return ERROR_INTERNET_TIMEOUT;
    }
    if (redirectPending) {
        return code == CURLE_OPERATION_TIMEDOUT ? ERROR_INTERNET_TIMEOUT
                                                : ERROR_HTTP_REDIRECT_FAILED;
    }
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
        return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
        return ERROR_INTERNET_TIMEOUT;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE:
        return ERROR_INTERNET_SEC_CERT_ERRORS;
    case CURLE_TOO_MANY_REDIRECTS:
        return ERROR_HTTP_REDIRECT_FAILED;
    case CURLE_UNSUPPORTED_PROTOCOL: // an answer that is not HTTP/1.x
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_WRITE_ERROR:
        return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
        return ERROR_INTERNET_CONNECTION_RESET;
    default:
        return ERROR_INTERNET_INTERNAL_ERROR;
    }
}

// ------------------------------------------------------------ one exchange

struct Outgoing
{
    std::string url;
    std::string poolKey;
    ProxyChoice proxy;
    HeaderList headers;
    std::string body;
    bool hasBody = false;
};

bool isHeaderNamed(std::string_view line, std::string_view lowerName)
{
    return startsWithIgnoringCase(line, lowerName) && line.size() > lowerName.size() &&
           (line[lowerName.size()] == ':' || line[lowerName.size()] == ';');
}

// The caller's lines in order, then empty entries that keep libcurl from
// adding an Accept, Expect or Content-Type line of its own.
std::optional<HeaderList> headerList(std::string_view text, const std::string& acceptLine)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty()) {
                lines.push_back(std::move(line));
                line.clear();
            }
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) {
        lines.push_back(std::move(line));
    }
    const bool hasAccept = std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
        return isHeaderNamed(l, "accept");
    });
    if (!acceptLine.empty() && !hasAccept) {
        lines.push_back(acceptLine);
    }
    for (const char* suppressed : {"Accept:", "Expect:", "Content-Type:"}) {
        lines.emplace_back(suppressed);
    }
    HeaderList list;
    for (const std::string& each : lines) {
        if (!appendLine(list, each)) {
            return std::nullopt;
        }
    }
    return list;
}

void setBody(CURL* easy, const Request& request, const Outgoing& outgoing)
{
    if (request.verb == "HEAD") {
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
        return;
    }
    if (outgoing.hasBody || request.verb == "POST") {
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(outgoing.body.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, outgoing.body.data());
        if (request.verb != "POST") {
            curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
        }
        return;
    }
    if (request.verb == "GET") {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
    }
}

void setProxy(CURL* easy, const ProxyChoice& proxy)
{
    switch (proxy.route) {
    case Route::Environment:
        break;
    case Route::Direct:
        // An empty proxy overrides http_proxy and friends.
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
        curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
        break;
    case Route::ViaProxy:
        curl_easy_setopt(easy, CURLOPT_PROXY, proxy.proxyUrl.c_str());
        curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
        curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
        break;
    }
}

const char* redirectProtocols(DWORD flags)
{
    if (flags & INTERNET_FLAG_SECURE) {
        return (flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP) ? "https,http" : "https";
    }
    return (flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS) ? "http,https" : "http";
}

void configure(CURL* easy, const Request& request, const Outgoing& outgoing, Transfer& transfer,
               const TestSettings& settings)
{
    if (CURLSH* share = processShare().handle()) {
        curl_easy_setopt(easy, CURLOPT_SHARE, share);
    }
    curl_easy_setopt(easy, CURLOPT_URL, outgoing.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, request.httpVersion);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, outgoing.headers.get());
    const std::string& agent = request.connection->session->agent;
    if (!agent.empty()) {
        curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.c_str());
    }
    if (!request.referrer.empty()) {
        curl_easy_setopt(easy, CURLOPT_REFERER, request.referrer.c_str());
    }
    if (!(request.flags & INTERNET_FLAG_NO_COOKIES)) {
        // The empty file name switches the cookie engine on for this
        // handle; its jar is the process-wide one of the share.
        curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
    }
    const bool follow = !(request.flags & INTERNET_FLAG_NO_AUTO_REDIRECT);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, follow ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 30L);
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, redirectProtocols(request.flags));
    setProxy(easy, outgoing.proxy);
    setBody(easy, request, outgoing);

    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, settings.connectTimeoutMs);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &onProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &onConnected);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &onHeaderLine);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    if (settings.freshConnectionPerCall) {
        curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
        curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    }
}

// Builds the URL, the route and the header list. Leaves the error and gives
// nothing when the request cannot go out at all.
std::optional<Outgoing> prepare(const Request& request, std::string_view headers)
{
    const Connection& connection = *request.connection;
    const bool secure = request.flags & INTERNET_FLAG_SECURE;
    const std::optional<std::string> host = hostForUrl(connection.server);
    if (!host) {
        t_lastError = ERROR_INTERNET_NAME_NOT_RESOLVED;
        return std::nullopt;
    }
    INTERNET_PORT port = connection.port;
    if (port == INTERNET_INVALID_PORT_NUMBER) {
        port = secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
    }
    std::optional<HeaderList> list = headerList(headers, request.acceptLine);
    if (!list) {
        t_lastError = ERROR_INTERNET_INTERNAL_ERROR;
        return std::nullopt;
    }
    Outgoing outgoing;
    const std::string origin =
        std::string(secure ? "https://" : "http://") + *host + ":" + std::to_string(port);
    outgoing.url = origin + encodedObjectName(request.objectName);
    outgoing.proxy = chooseProxy(connection.session->proxy, secure, connection.server);
    outgoing.poolKey = origin + " " + std::to_string(static_cast<int>(outgoing.proxy.route)) +
                       outgoing.proxy.proxyUrl +
                       ((request.flags & INTERNET_FLAG_NO_COOKIES) ? " no-cookies" : " cookies");
    outgoing.headers = std::move(*list);
    return outgoing;
}

// Runs the exchange and files its outcome in the request. The send counts as
// done when a final response's header block arrived, even if the body broke
// off later; a redirection that was to be followed does not count.
BOOL exchange(Request& request, Outgoing& outgoing)
{
    const TestSettings settings = testSettings();
    Transfer transfer(settings.idleTimeoutMs);
    CURLcode code = CURLE_FAILED_INIT;
    {
        EasyLease easy(outgoing.poolKey, !settings.freshConnectionPerCall);
        if (easy.get()) {
            configure(easy.get(), request, outgoing, transfer, settings);
            code = curl_easy_perform(easy.get());
        }
    }
    const bool follow = !(request.flags & INTERNET_FLAG_NO_AUTO_REDIRECT);
    const int status = transfer.response().statusCode;
    const bool redirectPending =
        follow && transfer.hasLocation() && status >= 300 && status < 400 && status != 304;
    const bool answered =
        transfer.response().headerBlockComplete && (code == CURLE_OK || !redirectPending);
    request.response = transfer.takeResponse();
    request.sent = true;
    if (code != CURLE_OK) {
        request.response.readError = errorFor(code, transfer.idleTimedOut(), redirectPending);
    }
    if (!answered) {
        request.response.body.clear();
        return failWith(code == CURLE_OK ? ERROR_HTTP_INVALID_SERVER_RESPONSE
                                         : request.response.readError);
    }
    return 1;
}

} // namespace

HINTERNET InternetOpenA(LPCSTR agent, DWORD accessType, LPCSTR proxy, LPCSTR proxyBypass, DWORD)
{
    if (accessType != INTERNET_OPEN_TYPE_PRECONFIG && accessType != INTERNET_OPEN_TYPE_DIRECT &&
        accessType != INTERNET_OPEN_TYPE_PROXY) {
        return noHandle(ERROR_INVALID_PARAMETER);
    }
    processShare();
    auto session = std::make_shared<Session>();
    session->agent = textOrEmpty(agent);
    session->proxy = proxyConfig(accessType, proxy, proxyBypass);
    return handleTable().add(std::move(session));
}

HINTERNET InternetConnectA(HINTERNET internet, LPCSTR serverName, INTERNET_PORT serverPort, LPCSTR,
                           LPCSTR, DWORD service, DWORD, DWORD_PTR)
{
    auto session = lookUp<Session>(internet, HandleKind::Internet);
    if (!session) {
        return nullptr;
    }
    if (!serverName || !*serverName || service != INTERNET_SERVICE_HTTP) {
        return noHandle(ERROR_INVALID_PARAMETER);
    }
    auto connection = std::make_shared<Connection>();
    connection->session = std::move(session);
    connection->server = serverName;
    connection->port = serverPort;
    return handleTable().add(std::move(connection));
}

HINTERNET HttpOpenRequestA(HINTERNET connect, LPCSTR verb, LPCSTR objectName, LPCSTR version,
                           LPCSTR referrer, LPCSTR* acceptTypes, DWORD flags, DWORD_PTR)
{
    auto connection = lookUp<Connection>(connect, HandleKind::Connection);
    if (!connection) {
        return nullptr;
    }
    auto request = std::make_shared<Request>();
    request->connection = std::move(connection);
    request->verb = (verb && *verb) ? verb : "GET";
    request->objectName = textOrEmpty(objectName);
    request->referrer = textOrEmpty(referrer);
    if (version && std::string_view(version) == "HTTP/1.0") {
        request->httpVersion = CURL_HTTP_VERSION_1_0;
    }
    if (acceptTypes) {
        for (LPCSTR* type = acceptTypes; *type; ++type) {
            request->acceptLine += request->acceptLine.empty() ? "Accept: " : ", ";
            request->acceptLine += *type;
        }
    }
    request->flags = flags;
    return handleTable().add(std::move(request));
}

BOOL HttpSendRequestA(HINTERNET handle, LPCSTR headers, DWORD headersLength, LPVOID optional,
                      DWORD optionalLength)
{
    auto request = lookUp<Request>(handle, HandleKind::Request);
    if (!request) {
        return 0;
    }
    if ((!optional && optionalLength > 0) || (!headers && headersLength > 0)) {
        return failWith(ERROR_INVALID_PARAMETER);
    }
    std::string_view headerText;
    if (headers) {
        headerText = headersLength == 0xFFFFFFFF ? std::string_view(headers)
                                                 : std::string_view(headers, headersLength);
    }
    std::lock_guard lock(request->mutex);
    request->response = Response{};
    request->sent = false;
    std::optional<Outgoing> outgoing = prepare(*request, headerText);
    if (!outgoing) {
        request->sent = true;
        request->response.readError = t_lastError;
        return 0;
    }
    if (optional) {
        outgoing->body.assign(static_cast<const char*>(optional), optionalLength);
        outgoing->hasBody = true;
    }
    return exchange(*request, *outgoing);
}

BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD numberOfBytesToRead,
                      LPDWORD numberOfBytesRead)
{
    auto request = lookUp<Request>(file, HandleKind::Request);
    if (!request) {
        return 0;
    }
    if (!numberOfBytesRead || (!buffer && numberOfBytesToRead > 0)) {
        return failWith(ERROR_INVALID_PARAMETER);
    }
    *numberOfBytesRead = 0;
    std::lock_guard lock(request->mutex);
    if (!request->sent) {
        return failWith(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    }
    Response& response = request->response;
    const std::size_t remaining = response.body.size() - response.readOffset;
    const std::size_t count = std::min<std::size_t>(remaining, numberOfBytesToRead);
    if (count > 0) {
        std::memcpy(buffer, response.body.data() + response.readOffset, count);
        response.readOffset += count;
        *numberOfBytesRead = static_cast<DWORD>(count);
        if (response.readOffset == response.body.size()) {
            // The caller holds its own copy by now.
            std::string().swap(response.body);
            response.readOffset = 0;
        }
        return 1;
    }
    if (response.readError != 0) {
        return failWith(response.readError);
    }
    return 1;
}

BOOL HttpQueryInfoA(HINTERNET handle, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength, LPDWORD)
{
    auto request = lookUp<Request>(handle, HandleKind::Request);
    if (!request) {
        return 0;
    }
    if (!bufferLength) {
        return failWith(ERROR_INVALID_PARAMETER);
    }
    std::lock_guard lock(request->mutex);
    const Response& response = request->response;
    if (!request->sent || !response.headerBlockComplete) {
        return failWith(ERROR_HTTP_HEADER_NOT_FOUND);
    }
    const DWORD level = infoLevel & 0xFFFF;
    if (level == HTTP_QUERY_STATUS_CODE && (infoLevel & HTTP_QUERY_FLAG_NUMBER)) {
        if (!buffer || *bufferLength < sizeof(DWORD)) {
            *bufferLength = sizeof(DWORD);
            return failWith(ERROR_INSUFFICIENT_BUFFER);
        }
        const auto code = static_cast<DWORD>(response.statusCode);
        std::memcpy(buffer, &code, sizeof code);
        *bufferLength = sizeof code;
        return 1;
    }
    std::string text;
    if (level == HTTP_QUERY_RAW_HEADERS_CRLF) {
        text = response.headerBlock;
    } else if (level == HTTP_QUERY_STATUS_CODE) {
        text = std::to_string(response.statusCode);
    } else {
        return failWith(ERROR_HTTP_HEADER_NOT_FOUND);
    }
    const std::size_t needed = text.size() + 1;
    if (!buffer || *bufferLength < needed) {
        *bufferLength = static_cast<DWORD>(needed);
        return failWith(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, text.c_str(), needed);
    *bufferLength = static_cast<DWORD>(text.size());
    return 1;
}

BOOL InternetCloseHandle(HINTERNET handle)
{
    if (!handleTable().remove(handle)) {
        return failWith(ERROR_INVALID_HANDLE);
    }
    return 1;
}

DWORD GetLastError()
{
    return t_lastError;
}

TestSettings testSettings()
{
    std::lock_guard lock(g_settingsMutex);
    return g_settings;
}

void setTestSettings(const TestSettings& settings)
{
    std::lock_guard lock(g_settingsMutex);
    g_settings = settings;
}

ScopedTestSettings::ScopedTestSettings(const TestSettings& settings) : m_previous(testSettings())
{
    setTestSettings(settings);
}

ScopedTestSettings::~ScopedTestSettings()
{
    setTestSettings(m_previous);
}

} // namespace brisma::platform::wininet
