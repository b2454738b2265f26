#pragma once

#include "support/raw_http_server.h"
#include "text/types.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace brisma::test {

// Hand-made pages on a loopback server: each path answers 200 with the bytes
// set for it, every other path an empty 404.
class PageServer
{
public:
    PageServer();

    void serve(const std::string& path, const Text& body);

    // "http://127.0.0.1:PORT" followed by path.
    Text address(const std::string& path) const;
    // The paths asked for, in order.
    std::vector<std::string> requests() const;

private:
    struct Pages
    {
        std::mutex mutex;
        std::map<std::string, Text> bodies;
    };

    // Shared with the server's threads, which may outlive a request.
    std::shared_ptr<Pages> m_pages = std::make_shared<Pages>();
    RawHttpServer m_server;
};

} // namespace brisma::test
