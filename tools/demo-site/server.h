#pragma once

#include "demo-site/site.h"

#include <httplib.h>

#include <cstdio>
#include <mutex>
#include <string>

namespace brisma::demo {

// Every request as it arrived: its request line, its header lines in arrival
// order, and an empty line. Flushed after each request, so a reader sees a
// request logged before its answer goes out.
class RequestLog
{
public:
    RequestLog() = default;
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;
    ~RequestLog();

    bool open(const std::string& path);
    // head: the request line and header lines, each ending in LF or CR LF.
    void record(const std::string& head);

private:
    std::mutex m_mutex;
    std::FILE* m_file = nullptr;
};

// cpp-httplib's server, with its connection handling replaced: the request
// head is read here first, so that it can be logged byte for byte and in
// order, and so that a request can be answered by closing the connection
// before anything is sent. Parsing, routing and writing stay httplib's.
class DemoServer : public httplib::Server
{
public:
    DemoServer(RequestLog* log, int delayMs);

    // Must be set before listening; the site's addresses depend on the port.
    void setSite(const Site* site) { m_site = site; }

private:
    bool process_and_close_socket(socket_t sock) override;
    bool stopping() const;
    void pause() const;
    void answer(const httplib::Request& request, httplib::Response& response) const;

    const Site* m_site = nullptr;
    RequestLog* m_log;
    int m_delayMs;
};

} // namespace brisma::demo
