#include "page_server.h"

namespace brisma::test {

PageServer::PageServer()
{
    m_server.setResponder([pages = m_pages](const std::string& request) {
        std::lock_guard lock(pages->mutex);
        const auto found = pages->bodies.find(RawHttpServer::target(request));
        if (found == pages->bodies.end()) {
            return ScriptedReply{RawHttpServer::response("404 Not Found", "", "")};
        }
        // The bytes go out as they are: the pages are GBK already.
        return ScriptedReply{
            RawHttpServer::response("200 OK", "Content-Type: text/html\r\n", found->second)};
    });
}

void PageServer::serve(const std::string& path, const Text& body)
{
    std::lock_guard lock(m_pages->mutex);
    m_pages->bodies[path] = body;
}

Text PageServer::address(const std::string& path) const
{
    return m_server.url(path);
}

std::vector<std::string> PageServer::requests() const
{
    std::vector<std::string> paths;
    for (const std::string& request : m_server.requests()) {
        paths.push_back(RawHttpServer::target(request));
    }
    return paths;
}

} // namespace brisma::test
