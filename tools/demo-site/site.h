#pragma once

#include "demo-site/markup.h"
#include "text/types.h"

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>

// What the demo site answers for a request path, without any server: the
// server only carries these replies over HTTP.
namespace brisma::demo {

// An index page: its category's path ("/3d/") and its number (1..10).
using IndexPageRef = std::pair<std::string, int>;

struct SiteFaults
{
    std::set<IndexPageRef> dateMissing;
    std::set<IndexPageRef> misindented;
    std::set<IndexPageRef> surplusAddress;
    std::set<std::string> closed;  // paths answered by closing the connection
    std::set<std::string> failing; // paths answered with 500 and an error page
};

struct SiteSettings
{
    SiteHosts hosts;
    // The body of /vorpel.txt, byte for byte.
    std::string versionText = "1";
    SiteFaults faults;
};

struct Reply
{
    bool closeConnection = false; // answer nothing; everything below is unused
    int status = 200;
    std::string contentType;
    std::string body;
};

class Site
{
public:
    explicit Site(SiteSettings settings);

    // target is the request target as sent: a path, perhaps with a query.
    Reply serve(std::string_view target) const;
    // Whether serve() would close the connection; cheaper than serving.
    bool closesConnection(std::string_view target) const;

    const SiteSettings& settings() const { return m_settings; }

private:
    enum class PageKind
    {
        Index,
        Movie,
        DownloadPage,
        Kuaichuan,
        Hangup,
    };
    struct Route
    {
        PageKind kind;
        const Movie* movie = nullptr; // all but Index
        int page = 0;                 // Index
        std::string_view indexPath;   // Index
    };

    void addRoutes();
    void addRoute(const Text& address, Route route);
    Reply servePath(std::string_view path) const;
    Reply serveRoute(const Route& route) const;
    IndexPageFaults indexFaults(std::string_view indexPath, int page) const;

    SiteSettings m_settings;
    std::map<std::string, Route, std::less<>> m_routes;
};

} // namespace brisma::demo
