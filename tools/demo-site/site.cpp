#include "demo-site/site.h"

#include "demo-site/pictures.h"

namespace brisma::demo {

namespace {

constexpr const char* kGbkHtml = "text/html; charset=gb2312";
// UTF-8 pages name their charset only inside the page, as the movie site's
// UTF-8 pages do, so the program has to find it there.
constexpr const char* kUtf8Html = "text/html";

Reply htmlReply(Text body, bool utf8 = false)
{
    return Reply{false, 200, utf8 ? kUtf8Html : kGbkHtml, std::move(body)};
}

Reply errorReply(int status, std::string_view reason)
{
    return Reply{false, status, kGbkHtml, errorPage(status, reason)};
}

Reply hangUp()
{
    Reply reply;
    reply.closeConnection = true;
    return reply;
}

std::string_view withoutQuery(std::string_view target)
{
    return target.substr(0, target.find_first_of("?#"));
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

Site::Site(SiteSettings settings) : m_settings(std::move(settings))
{
    addRoutes();
}

void Site::addRoute(const Text& address, Route route)
{
    const Text root = "http://" + m_settings.hosts.site;
    if (startsWith(address, root)) {
        m_routes.emplace(address.substr(root.size()), route);
    }
}

void Site::addRoutes()
{
    for (std::string_view indexPath : indexPaths()) {
        for (int page = 1; page <= pagesPerCategory; ++page) {
            m_routes.emplace(indexPagePath(indexPath, page),
                             Route{PageKind::Index, nullptr, page, indexPath});
        }
    }
    const Text& host = m_settings.hosts.site;
    for (const Movie& movie : movies()) {
        addRoute(movieAddress(movie, host), Route{PageKind::Movie, &movie, 0, {}});
        const LinkKind links = movie.links();
        if (links == LinkKind::DownloadPage) {
            addRoute(downloadPageAddress(movie, host),
                     Route{PageKind::DownloadPage, &movie, 0, {}});
        } else if (links == LinkKind::DownloadPageClosed) {
            addRoute(downloadPageAddress(movie, host), Route{PageKind::Hangup, &movie, 0, {}});
        }
        // A missing download page has no route and so answers 404.
        if (!kuaichuanAddress(movie, host).empty()) {
            addRoute(kuaichuanAddress(movie, host), Route{PageKind::Kuaichuan, &movie, 0, {}});
        }
    }
}

Reply Site::serve(std::string_view target) const
{
    const std::string_view path = withoutQuery(target);
    const SiteFaults& faults = m_settings.faults;
    if (faults.closed.count(std::string(path)) != 0) {
        return hangUp();
    }
    if (faults.failing.count(std::string(path)) != 0) {
        return errorReply(500, "Internal Server Error");
    }
    return servePath(path);
}

bool Site::closesConnection(std::string_view target) const
{
    const std::string_view path = withoutQuery(target);
    if (m_settings.faults.closed.count(std::string(path)) != 0) {
        return true;
    }
    const auto route = m_routes.find(path);
    return route != m_routes.end() && route->second.kind == PageKind::Hangup &&
           m_settings.faults.failing.count(std::string(path)) == 0;
}

Reply Site::servePath(std::string_view path) const
{
    if (path == "/vorpel.txt") {
        return Reply{false, 200, "text/plain", m_settings.versionText};
    }
    if (path == "/") {
        return htmlReply(homePage(m_settings.hosts));
    }
    if (auto route = m_routes.find(path); route != m_routes.end()) {
        return serveRoute(route->second);
    }
    if (startsWith(path, "/tupian/")) {
        const std::string_view bytes = picture(path.substr(8));
        if (!bytes.empty()) {
            return Reply{false, 200, "image/jpeg", std::string(bytes)};
        }
    }
    // The addresses that download tools would fetch; nothing real is here.
    if (startsWith(path, "/files/") && path.size() > 7) {
        return Reply{false, 200, "text/plain; charset=gb2312", "演示站没有真正的文件。\r\n"};
    }
    return errorReply(404, "Not Found");
}

Reply Site::serveRoute(const Route& route) const
{
    const SiteHosts& hosts = m_settings.hosts;
    switch (route.kind) {
    case PageKind::Index:
        return htmlReply(
            indexPage(route.indexPath, route.page, hosts, indexFaults(route.indexPath, route.page)),
            indexPageIsUtf8(route.indexPath, route.page));
    case PageKind::Movie:
        return htmlReply(moviePage(*route.movie, hosts), route.movie->isUtf8());
    case PageKind::DownloadPage:
        return htmlReply(downloadPage(*route.movie, hosts));
    case PageKind::Kuaichuan:
        return htmlReply(kuaichuanPage(*route.movie, hosts));
    case PageKind::Hangup:
        return hangUp();
    }
    return errorReply(404, "Not Found");
}

IndexPageFaults Site::indexFaults(std::string_view indexPath, int page) const
{
    const IndexPageRef ref{std::string(indexPath), page};
    const SiteFaults& faults = m_settings.faults;
    return IndexPageFaults{faults.dateMissing.count(ref) != 0, faults.misindented.count(ref) != 0,
                           faults.surplusAddress.count(ref) != 0};
}

} // namespace brisma::demo
