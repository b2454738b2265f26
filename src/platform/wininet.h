#pragma once

#include <cstdint>

// The part of WinINet the program talks HTTP through, as our own code over
// libcurl. The calls keep WinINet's names, arguments, constants and flag
// values, so a Windows build can put the real ones behind the same names.
//
// Handles are opaque. A request is sent synchronously: HttpSendRequestA
// returns once the final response has arrived, and the reads then hand out
// its body. Connections are kept alive and reused per server across calls
// and threads; cookies live in one store for the whole process. Every call
// may be made from any thread.
namespace brisma::platform::wininet {

using BOOL = int;
using DWORD = std::uint32_t;
using DWORD_PTR = std::uintptr_t;
using INTERNET_PORT = std::uint16_t;
using LPCSTR = const char*;
using LPVOID = void*;
using LPDWORD = DWORD*;
using HINTERNET = void*;

// Access types of InternetOpenA.
constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0; // the system's settings: the proxy variables
constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;

constexpr DWORD INTERNET_SERVICE_HTTP = 3;

constexpr INTERNET_PORT INTERNET_INVALID_PORT_NUMBER = 0; // the scheme's default port
constexpr INTERNET_PORT INTERNET_DEFAULT_HTTP_PORT = 80;
constexpr INTERNET_PORT INTERNET_DEFAULT_HTTPS_PORT = 443;

// Request flags of HttpOpenRequestA.
constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;
constexpr DWORD INTERNET_FLAG_SECURE = 0x00800000;
constexpr DWORD INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;
constexpr DWORD INTERNET_FLAG_NO_COOKIES = 0x00080000;
constexpr DWORD INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP = 0x00008000;
constexpr DWORD INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x00004000;
constexpr DWORD INTERNET_FLAG_NEED_FILE = 0x00000010;

// Levels of HttpQueryInfoA.
constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;
constexpr DWORD HTTP_QUERY_RAW_HEADERS_CRLF = 22;
constexpr DWORD HTTP_QUERY_FLAG_NUMBER = 0x20000000;

// Error codes left for GetLastError.
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_INTERNET_TIMEOUT = 12002;
constexpr DWORD ERROR_INTERNET_INTERNAL_ERROR = 12004;
constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_STATE = 12019;
constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT = 12029;
constexpr DWORD ERROR_INTERNET_CONNECTION_RESET = 12031;
constexpr DWORD ERROR_INTERNET_SEC_CERT_ERRORS = 12055;
constexpr DWORD ERROR_HTTP_HEADER_NOT_FOUND = 12150;
constexpr DWORD ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
constexpr DWORD ERROR_HTTP_REDIRECT_FAILED = 12156;

// agent becomes the User-Agent line unless the request's own header text
// has one. With INTERNET_OPEN_TYPE_PROXY, proxy is a list such as
// "http=host:port https=host:port" or a bare "host:port" for both schemes;
// loopback hosts never go through it, nor hosts that match proxyBypass
// ("<local>" = names without a dot, "*" wildcards; "<-loopback>" sends
// loopback hosts through the proxy too). INTERNET_OPEN_TYPE_DIRECT ignores
// the proxy variables of the environment.
HINTERNET InternetOpenA(LPCSTR agent, DWORD accessType, LPCSTR proxy, LPCSTR proxyBypass,
                        DWORD flags);

// Nothing goes over the network yet. Fails for an empty server name and
// for any service but INTERNET_SERVICE_HTTP.
HINTERNET InternetConnectA(HINTERNET internet, LPCSTR serverName, INTERNET_PORT serverPort,
                           LPCSTR userName, LPCSTR password, DWORD service, DWORD flags,
                           DWORD_PTR context);

// verb null means "GET", version null "HTTP/1.1". objectName is the path
// and query; bytes a URL cannot carry raw are sent percent-encoded.
HINTERNET HttpOpenRequestA(HINTERNET connect, LPCSTR verb, LPCSTR objectName, LPCSTR version,
                           LPCSTR referrer, LPCSTR* acceptTypes, DWORD flags, DWORD_PTR context);

// headers: lines separated by CR LF, sent as given (headersLength
// 0xFFFFFFFF: up to the terminating zero); apart from them only Host,
// User-Agent, a Cookie line from the store and the body's Content-Length
// go out. Returns FALSE when no final response arrived: server unreachable
// or silent, a malformed answer, a redirection that could not be followed.
BOOL HttpSendRequestA(HINTERNET request, LPCSTR headers, DWORD headersLength, LPVOID optional,
                      DWORD optionalLength);

// Hands out the body in order; 0 bytes read with TRUE marks its end. When
// the connection broke off during the body, the bytes that did arrive come
// first and the read after them fails.
BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD numberOfBytesToRead,
                      LPDWORD numberOfBytesRead);

// HTTP_QUERY_RAW_HEADERS_CRLF gives the final response's status line and
// header lines, each ending in CR LF, then CR LF, and a terminating zero;
// *bufferLength gets the length without the zero. When block and zero do not
// fit, nothing is copied, *bufferLength gets the size needed and the call
// fails with ERROR_INSUFFICIENT_BUFFER.
BOOL HttpQueryInfoA(HINTERNET request, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength,
                    LPDWORD index);

BOOL InternetCloseHandle(HINTERNET handle);

// The error of the calling thread's last failed call.
DWORD GetLastError();

// --- For tests and benchmarks only; the program never changes these. ---
struct TestSettings
{
    long connectTimeoutMs = 60000;
    // How long a request may wait for the next byte to go out or come in.
    long idleTimeoutMs = 30000;
    // Every request opens a connection of its own and closes it afterwards.
    bool freshConnectionPerCall = false;
};

TestSettings testSettings();
void setTestSettings(const TestSettings& settings);

// Puts settings in place for its lifetime and restores the previous ones.
class ScopedTestSettings
{
public:
    explicit ScopedTestSettings(const TestSettings& settings);
    ~ScopedTestSettings();
    ScopedTestSettings(const ScopedTestSettings&) = delete;
    ScopedTestSettings& operator=(const ScopedTestSettings&) = delete;

private:
    TestSettings m_previous;
};

} // namespace brisma::platform::wininet
