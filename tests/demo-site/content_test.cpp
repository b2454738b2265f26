// The demo site's pages, read the way the program reads them: the index
// markers of the category loader, the poster and synopsis cuts of the detail
// window, and the download-link search with its fallback.

#include "demo-site/markup.h"
#include "demo-site/movies.h"
#include "demo-site/site.h"
#include "platform/codepage.h"
#include "text/extract.h"
#include "text/primitives.h"

#include <gtest/gtest.h>

#include <set>

namespace brisma::demo {
namespace {

const Text kHost = "127.0.0.1:8123";

SiteSettings settingsWith(SiteFaults faults = {})
{
    SiteSettings settings;
    settings.hosts = SiteHosts{kHost, "third.example", "img.example"};
    settings.faults = std::move(faults);
    return settings;
}

Text spaces(int count)
{
    return Text(static_cast<std::size_t>(count), ' ');
}

struct Markers
{
    Text left;
    Text right;
};

const Markers kTitle{".jpg\" alt=\"", "\" width=\"120\" height=\"150\" border=\"0\" "};
const Markers kDate{spaces(26) + "<tbody>\r\n" + spaces(28) + "<tr>\r\n" + spaces(30) + "<td>",
                    "</td>\r\n" + spaces(28) + "</tr>\r\n" + spaces(26) + "</tbody>\r\n" +
                        spaces(24) + "</table></td>"};
const Markers kAddress{spaces(23) + "<tbody>\r\n" + spaces(26) + "<tr>\r\n" + spaces(28) +
                           "<td><a href=\"",
                       "\" target=\"_blank\"><img src=\""};

// A body counts as UTF-8 when "utf-8" starts within its first 499 bytes; the
// program then converts it to GBK before it looks at it.
Text asTheProgramReadsIt(const Text& body)
{
    const int position = FindText(body, "utf-8");
    return position >= 1 && position < 500 ? platform::utf8ToGbk(body) : body;
}

struct IndexCut
{
    TextArray titles;
    TextArray dates;
    TextArray addresses;
};

IndexCut cutIndexPage(const Text& body)
{
    const Text page = asTheProgramReadsIt(body);
    IndexCut cut;
    ExtractBetweenAll(page, kTitle.left, kTitle.right, cut.titles);
    ExtractBetweenAll(page, kDate.left, kDate.right, cut.dates);
    ExtractBetweenAll(page, kAddress.left, kAddress.right, cut.addresses);
    return cut;
}

// The page behind an address of the site, as the program's request gives it:
// the body of any status, and nothing when the connection is closed.
Text fetch(const Site& site, const Text& address)
{
    const Text root = "http://" + kHost;
    if (address.rfind(root, 0) != 0) {
        return {};
    }
    const Reply reply = site.serve(address.substr(root.size()));
    return reply.closeConnection ? Text() : asTheProgramReadsIt(reply.body);
}

bool isValidUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(length) > text.size()) {
            return false;
        }
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = code << 6 | (next & 0x3F);
        }
        const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}

TEST(DemoSiteMarkers, HaveTheLengthsTheLoaderUses)
{
    EXPECT_EQ(kTitle.left.size(), 11u);
    EXPECT_EQ(kTitle.right.size(), 38u);
    EXPECT_EQ(kDate.left.size(), 103u);
    EXPECT_EQ(kDate.right.size(), 115u);
    EXPECT_EQ(kAddress.left.size(), 105u);
    EXPECT_EQ(kAddress.right.size(), 28u);
}

TEST(DemoSiteIndexPages, EveryPageGivesTwelveTitlesDatesAndAddressesOfItsMovies)
{
    const Site site(settingsWith());
    for (std::string_view indexPath : indexPaths()) {
        for (int page = 1; page <= pagesPerCategory; ++page) {
            SCOPED_TRACE(indexPagePath(indexPath, page));
            const Reply reply = site.serve(indexPagePath(indexPath, page));
            ASSERT_EQ(reply.status, 200);
            const IndexCut cut = cutIndexPage(reply.body);
            const auto onPage = moviesOnPage(indexPath, page);
            ASSERT_EQ(onPage.size(), 12u);
            ASSERT_EQ(cut.titles.size(), 12u);
            ASSERT_EQ(cut.dates.size(), 12u);
            ASSERT_EQ(cut.addresses.size(), 12u);
            for (std::size_t i = 0; i < onPage.size(); ++i) {
                EXPECT_EQ(cut.titles[i], onPage[i]->title);
                EXPECT_EQ(cut.dates[i], onPage[i]->date);
                EXPECT_EQ(cut.addresses[i], movieAddress(*onPage[i], kHost));
            }
        }
    }
}

TEST(DemoSiteIndexPages, SomePagesWriteTheirTbodyTagsInCapitals)
{
    const Site site(settingsWith());
    int pagesInCapitals = 0;
    for (std::string_view indexPath : indexPaths()) {
        for (int page = 1; page <= pagesPerCategory; ++page) {
            const Text body = asTheProgramReadsIt(site.serve(indexPagePath(indexPath, page)).body);
            const bool capitals = indexPageHasCapitalTbody(indexPath, page);
            EXPECT_EQ(FindText(body, "<TBODY>") > 0, capitals) << indexPagePath(indexPath, page);
            EXPECT_EQ(FindText(body, "<tbody>") > 0, !capitals) << indexPagePath(indexPath, page);
            pagesInCapitals += capitals ? 1 : 0;
        }
    }
    EXPECT_GE(pagesInCapitals, 2);
}

struct IndexFaultCase
{
    const char* name;
    SiteFaults faults;
    std::string indexPath;
    int page;
    std::size_t titles;
    std::size_t dates;
    std::size_t addresses;
};

TEST(DemoSiteIndexPages, FaultsChangeOnlyTheirPage)
{
    const std::vector<IndexFaultCase> cases{
        {"date missing", {{{"/3d/", 2}}, {}, {}, {}, {}}, "/3d/", 2, 12, 11, 12},
        {"date missing, UTF-8 page", {{{"/bd/", 2}}, {}, {}, {}, {}}, "/bd/", 2, 12, 11, 12},
        {"misindented", {{}, {{"/ys/", 1}}, {}, {}, {}}, "/ys/", 1, 12, 0, 12},
        {"misindented, capitals", {{}, {{"/3d/", 2}}, {}, {}, {}}, "/3d/", 2, 12, 0, 12},
        {"surplus address", {{}, {}, {{"/720P/", 4}}, {}, {}}, "/720P/", 4, 12, 12, 13},
        {"surplus, capitals", {{}, {}, {{"/1080p/", 5}}, {}, {}}, "/1080p/", 5, 12, 12, 13},
    };
    for (const IndexFaultCase& test : cases) {
        SCOPED_TRACE(test.name);
        const Site site(settingsWith(test.faults));
        const IndexCut cut =
            cutIndexPage(site.serve(indexPagePath(test.indexPath, test.page)).body);
        EXPECT_EQ(cut.titles.size(), test.titles);
        EXPECT_EQ(cut.dates.size(), test.dates);
        EXPECT_EQ(cut.addresses.size(), test.addresses);
        // The surplus link comes last, so the first twelve still pair up.
        const auto onPage = moviesOnPage(test.indexPath, test.page);
        for (std::size_t i = 0; i < onPage.size() && i < cut.addresses.size(); ++i) {
            EXPECT_EQ(cut.addresses[i], movieAddress(*onPage[i], kHost));
        }
        const int neighbour = test.page == pagesPerCategory ? 1 : test.page + 1;
        const IndexCut other =
            cutIndexPage(site.serve(indexPagePath(test.indexPath, neighbour)).body);
        EXPECT_EQ(other.dates.size(), 12u);
        EXPECT_EQ(other.addresses.size(), 12u);
    }
}

TEST(DemoSiteCharsets, Utf8PagesAreValidAndSayItEarlyOthersNeverMentionIt)
{
    const Site site(settingsWith());
    std::vector<std::pair<std::string, bool>> pages; // path, UTF-8 expected
    for (std::string_view indexPath : indexPaths()) {
        for (int page = 1; page <= pagesPerCategory; ++page) {
            pages.emplace_back(indexPagePath(indexPath, page), indexPageIsUtf8(indexPath, page));
        }
    }
    for (const Movie& movie : movies()) {
        pages.emplace_back(movie.path, movie.isUtf8());
    }
    int utf8Pages = 0;
    for (const auto& [path, utf8] : pages) {
        SCOPED_TRACE(path);
        const Reply reply = site.serve(path);
        ASSERT_EQ(reply.status, 200);
        EXPECT_EQ(FindText(reply.contentType, "utf-8", 1, false), -1);
        if (!utf8) {
            EXPECT_EQ(FindText(reply.body, "utf-8", 1, false), -1);
            continue;
        }
        ++utf8Pages;
        EXPECT_TRUE(isValidUtf8(reply.body));
        const int declared = FindText(reply.body, "utf-8");
        EXPECT_GE(declared, 1);
        EXPECT_LT(declared, 500);
        // Nothing was lost on the way from GBK, and there was Chinese to lose.
        const Text gbk = platform::utf8ToGbk(reply.body);
        EXPECT_EQ(platform::gbkToUtf8(gbk), reply.body);
        EXPECT_NE(gbk, reply.body);
    }
    EXPECT_GE(utf8Pages, 3);
}

// What the detail window's links box ends up holding for a movie, following
// the same steps as the program: the block, else the download page, else the
// first thunder:// address, else a 迅雷快传 address.
Text linksBoxFor(const Site& site, const Movie& movie)
{
    Text page = fetch(site, movieAddress(movie, kHost));
    TextArray links;
    ExtractBetweenAll(ExtractBetween(page, "【下载地址】", "下载帮助"), "<a href=\"", "\">", links);
    if (!links.empty()) {
        Text box;
        for (std::size_t i = 0; i < links.size(); ++i) {
            box += "下载地址" + std::to_string(i + 1) + "： " + links[i] + "\r\n";
        }
        return box;
    }
    page = fetch(site, movieAddress(movie, kHost));
    if (FindText(page, ".htm\">点击进入下载地址</a></td>\r") > 0) {
        page = fetch(site, ExtractBetween(page, "<a target=\"_blank\" href=\"",
                                          "\">点击进入下载地址</a></td>"));
    }
    if (FindText(page, "thunder://") > 0) {
        return "下载地址： thunder://" + ExtractBetween(page, "thunder://", "\">");
    }
    if (FindText(page, "迅雷快传") > 0) {
        return "该资源为迅雷快传,请手动负责地址在浏览器打开即可下载\r\n" +
               ExtractBetween(page, "<a target=\"_blank\" href=\"", "\">迅雷快传</a></td>\r");
    }
    return "没有找到下载资源地址";
}

Text expectedLinksBox(const Movie& movie)
{
    switch (movie.links()) {
    case LinkKind::Block: {
        Text box;
        const TextArray links = blockLinks(movie, kHost);
        for (std::size_t i = 0; i < links.size(); ++i) {
            box += "下载地址" + std::to_string(i + 1) + "： " + links[i] + "\r\n";
        }
        return box;
    }
    case LinkKind::DownloadPage:
        return "下载地址： " + downloadPageLinks(movie, kHost).front();
    case LinkKind::Kuaichuan:
        return "该资源为迅雷快传,请手动负责地址在浏览器打开即可下载\r\n" +
               kuaichuanAddress(movie, kHost);
    case LinkKind::ThunderAndKuaichuan:
        return "下载地址： " + pageThunderLink(movie, kHost);
    case LinkKind::None:
    case LinkKind::DownloadPageMissing:
    case LinkKind::DownloadPageClosed:
        break;
    }
    return "没有找到下载资源地址";
}

TEST(DemoSiteMoviePages, EachLinkVariantLeadsTheLinkSearchWhereItSays)
{
    const Site site(settingsWith());
    for (const Movie& movie : movies()) {
        SCOPED_TRACE(movie.path + " " + std::string(variantName(movie.variant)));
        EXPECT_EQ(linksBoxFor(site, movie), expectedLinksBox(movie));
    }
}

TEST(DemoSiteMoviePages, LinkVariantsHoldWhatMakesThemHard)
{
    const Site site(settingsWith());
    for (const Movie& movie : movies()) {
        SCOPED_TRACE(movie.path);
        const Text page = fetch(site, movieAddress(movie, kHost));
        switch (movie.links()) {
        case LinkKind::Block:
            EXPECT_EQ(blockLinks(movie, kHost).size(), 3u);
            break;
        case LinkKind::DownloadPage: {
            // Several thunder:// addresses, none of them on the movie page.
            const Text download = fetch(site, downloadPageAddress(movie, kHost));
            for (const Text& link : downloadPageLinks(movie, kHost)) {
                EXPECT_GT(FindText(download, "<a href=\"" + link + "\">"), 0);
            }
            EXPECT_EQ(downloadPageLinks(movie, kHost).size(), 3u);
            EXPECT_EQ(FindText(page, "thunder://"), -1);
            break;
        }
        case LinkKind::DownloadPageMissing:
        case LinkKind::DownloadPageClosed: {
            const Text address = downloadPageAddress(movie, kHost);
            const Reply reply = site.serve(address.substr(("http://" + kHost).size()));
            if (movie.links() == LinkKind::DownloadPageMissing) {
                EXPECT_EQ(reply.status, 404);
                EXPECT_EQ(FindText(reply.body, "thunder://"), -1);
            } else {
                EXPECT_TRUE(reply.closeConnection);
            }
            // The movie page's own address must not rescue it.
            EXPECT_GT(FindText(page, "thunder://"), 0);
            break;
        }
        case LinkKind::ThunderAndKuaichuan:
            EXPECT_GT(FindText(page, "迅雷快传"), 0);
            // The 迅雷快传 anchor comes first on the page.
            EXPECT_LT(FindText(page, "迅雷快传"), FindText(page, "thunder://"));
            break;
        case LinkKind::Kuaichuan:
        case LinkKind::None:
            EXPECT_EQ(FindText(page, "thunder://", 1, false), -1);
            break;
        }
    }
}

Text posterCut(const Text& page)
{
    return ExtractBetween(page, "</script></div><p><img alt=\"\" src=\"", "\" /></p>\r");
}

Text synopsisCut(const Text& page)
{
    return ExtractBetween(page, ".jpg\" /></p>\r", "<p><img alt=\"\" src=\"");
}

bool isJpeg(const std::string& bytes)
{
    return bytes.size() > 4 && bytes.compare(0, 3, "\xFF\xD8\xFF") == 0 &&
           bytes.compare(bytes.size() - 2, 2, "\xFF\xD9") == 0;
}

TEST(DemoSiteMoviePages, PostersAreCutFromThePageAndServedAsJpeg)
{
    const Site site(settingsWith());
    std::set<Text> posters;
    for (const Movie& movie : movies()) {
        SCOPED_TRACE(movie.path);
        const Text page = fetch(site, movieAddress(movie, kHost));
        if (!movie.hasPoster()) {
            EXPECT_EQ(posterCut(page), "");
            EXPECT_GT(FindText(page, "◎简　　介"), 0); // the synopsis is still there
            continue;
        }
        const Text poster = posterCut(page);
        EXPECT_EQ(poster, posterAddress(movie, kHost));
        posters.insert(poster);
        const std::string root = "http://" + kHost;
        const Reply picture = site.serve(poster.substr(root.size()));
        EXPECT_EQ(picture.contentType, "image/jpeg");
        EXPECT_TRUE(isJpeg(picture.body));
        EXPECT_TRUE(isJpeg(site.serve(screenshotAddress(movie, kHost).substr(root.size())).body));
    }
    EXPECT_EQ(posters.size(), 4u);
}

TEST(DemoSiteMoviePages, SynopsesCarryEveryPieceTheCleanUpRemoves)
{
    const Site site(settingsWith());
    const TextArray pieces{
        "<br />\r",
        "<a target=\"_blank\" href=\"http://third.example/\">http://third.example/",
        "<p>",
        "影片截图",
        "</p>",
        "&hellip;",
        "&nbsp;",
        "</a>",
        "下载地址",
        "&middot;",
        "<A href=\"http://" + kHost + "\" target=_blank>电影下载</A>",
        "<img alt=\"\" src=\"http://img.example:888/tupian/",
    };
    for (const Movie& movie : movies()) {
        SCOPED_TRACE(movie.path);
        const Text page = fetch(site, movieAddress(movie, kHost));
        if (!movie.hasPoster()) {
            continue;
        }
        Text synopsis = synopsisCut(page);
        if (movie.variant == Variant::ScreenshotSynopsis) {
            EXPECT_EQ(synopsis, "<p>影片截图</p>");
            continue;
        }
        for (const Text& piece : pieces) {
            EXPECT_GT(FindText(synopsis, piece), 0) << piece;
        }
        // Once the tags are gone a line holding only spaces is left for the
        // blank-line removal.
        synopsis = ReplaceText(synopsis, pieces[0], "\r\n");
        EXPECT_GT(FindText(synopsis, "\n   \r"), 0);
    }
}

TEST(DemoSiteCatalogue, EveryVariantIsListedInEveryCategory)
{
    EXPECT_EQ(movies().size(), 600u);
    for (std::string_view indexPath : indexPaths()) {
        for (Variant variant : allVariants) {
            const Movie& movie = firstListedMovie(variant, indexPath);
            EXPECT_EQ(movie.variant, variant) << indexPath << " " << variantName(variant);
            EXPECT_EQ(movie.indexPath, indexPath);
            EXPECT_TRUE(movie.isListed());
            EXPECT_EQ(moviesOnPage(indexPath, movie.page)[movie.slot - 1], &movie);
        }
    }
    std::set<std::string> paths;
    for (const Movie& movie : movies()) {
        EXPECT_EQ(findMovie(movie.path), &movie);
        paths.insert(movie.path);
    }
    EXPECT_EQ(paths.size(), movies().size());
}

TEST(DemoSiteRoutes, AnswerKnownPathsAndRefuseTheRest)
{
    const Site site(settingsWith());
    const std::vector<std::pair<std::string, int>> cases{
        {"/vorpel.txt", 200},          {"/", 200},
        {"/ys/?from=nav", 200},        {"/3d/index_10.htm", 200},
        {"/3d/index_1.htm", 404},      {"/3d/index_11.htm", 404},
        {"/3d/index_02.htm", 404},     {"/720p/", 404},
        {"/tupian/poster-4.jpg", 200}, {"/tupian/poster-5.jpg", 404},
        {"/nothing.htm", 404},
    };
    for (const auto& [target, status] : cases) {
        EXPECT_EQ(site.serve(target).status, status) << target;
    }
    EXPECT_EQ(site.serve("/vorpel.txt").body, "1");
}

TEST(DemoSiteRoutes, FaultPathsCloseOrFailAndClosingIsAnnouncedAlike)
{
    const std::string root = "http://" + kHost;
    const auto downloadPath = [&](std::string_view indexPath) {
        const Movie& movie = firstListedMovie(Variant::DownloadPageClosed, indexPath);
        return downloadPageAddress(movie, kHost).substr(root.size());
    };
    // A failing path wins over a download page that would close.
    SiteFaults faults;
    faults.closed = {"/ys/"};
    faults.failing = {"/vorpel.txt", downloadPath("/ys/")};
    const Site site(settingsWith(faults));

    for (const std::string& target :
         {std::string("/ys/"), std::string("/ys/?a=1"), downloadPath("/bd/")}) {
        EXPECT_TRUE(site.serve(target).closeConnection) << target;
        EXPECT_TRUE(site.closesConnection(target)) << target;
    }
    for (const std::string& target : {std::string("/vorpel.txt"), downloadPath("/ys/")}) {
        const Reply reply = site.serve(target);
        EXPECT_FALSE(reply.closeConnection) << target;
        EXPECT_FALSE(site.closesConnection(target)) << target;
        EXPECT_EQ(reply.status, 500) << target;
        EXPECT_GT(FindText(reply.body, "500"), 0) << target;
    }
    EXPECT_FALSE(site.closesConnection("/bd/"));
    EXPECT_EQ(site.serve("/bd/").status, 200);
}

} // namespace
} // namespace brisma::demo
