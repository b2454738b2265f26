#include "demo-site/markup.h"

#include "platform/codepage.h"

#include <array>
#include <utility>

namespace brisma::demo {

namespace {

constexpr const char* kSiteName = "Brisma 演示电影站";

// Captions of the site's navigation, in the order of indexPaths().
constexpr std::array<const char*, 5> kCategoryNames{"最新热门电影", "BD高清", "1080P高清",
                                                    "720P高清", "3D电影专区"};

constexpr std::array<const char*, 6> kPlots{
    "一位退休的船长收到一封没有署名的信，信里只写着一个早已废弃的港口的名字",
    "两个素不相识的年轻人在一列晚点的火车上相遇，一场大雪让他们的旅程变得漫长",
    "小镇警察在调查一起失踪案时，发现所有线索都指向二十年前的一场大火",
    "一支科考队在冰原深处找到了一座不该存在的建筑，通讯随即中断",
    "她用一整个夏天修好了外公留下的旧钟表，也慢慢读懂了这个家",
    "当城市的灯一盏接一盏熄灭，只有一个孩子知道它们去了哪里",
};

Text spaces(int count)
{
    return Text(static_cast<std::size_t>(count), ' ');
}

// One line of the index markup: indentation, content, CR LF.
Text line(int indent, const Text& content)
{
    return spaces(indent) + content + "\r\n";
}

Text root(const SiteHosts& hosts)
{
    return "http://" + hosts.site;
}

Text encode(const Text& gbk, bool utf8)
{
    return utf8 ? platform::gbkToUtf8(gbk) : gbk;
}

// The charset is declared in the first line after the doctype, well inside
// the first 499 bytes where the program looks for it.
Text pageHead(const Text& title, bool utf8)
{
    return Text("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\r\n"
                "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
                "<head>\r\n"
                "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=") +
           (utf8 ? "utf-8" : "gb2312") + "\" />\r\n<title>" + title +
           "</title>\r\n</head>\r\n<body>\r\n";
}

Text pageFoot()
{
    return "<div "
           "class=\"foot\">本站内容均为演示数据，仅供测试使用。</div>\r\n</body>\r\n</html>\r\n";
}

Text navigation(const SiteHosts& hosts)
{
    Text nav = "<div class=\"nav\"><a href=\"" + root(hosts) + "/\">首页</a>";
    for (std::size_t i = 0; i < indexPaths().size(); ++i) {
        nav += " | <a href=\"" + root(hosts) + Text(indexPaths()[i]) + "\">" + kCategoryNames[i] +
               "</a>";
    }
    return nav + "</div>\r\n";
}

Text categoryName(std::string_view indexPath)
{
    for (std::size_t i = 0; i < indexPaths().size(); ++i) {
        if (indexPaths()[i] == indexPath) {
            return kCategoryNames[i];
        }
    }
    return {};
}

struct TbodyTags
{
    Text open;
    Text close;
};

TbodyTags tbodyTags(bool capitals)
{
    return capitals ? TbodyTags{"<TBODY>", "</TBODY>"} : TbodyTags{"<tbody>", "</tbody>"};
}

// The nested table that holds a movie's date; its indentation is what the
// program's date markers match.
Text dateTable(const Movie& movie, const TbodyTags& tags, int indent)
{
    return line(26, "<tr>") +
           line(28, "<td><table width=\"120\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">") +
           line(indent, tags.open) + line(28, "<tr>") + line(30, "<td>" + movie.date + "</td>") +
           line(28, "</tr>") + line(indent, tags.close) + line(24, "</table></td>") +
           line(26, "</tr>");
}

Text movieEntry(const Movie& movie, const SiteHosts& hosts, const TbodyTags& tags,
                const IndexPageFaults& faults, bool withDate)
{
    Text entry =
        line(22, "<table width=\"140\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">") +
        line(23, tags.open) + line(26, "<tr>") +
        line(28, "<td><a href=\"" + movieAddress(movie, hosts.site) +
                     "\" target=\"_blank\"><img src=\"" + posterAddress(movie, hosts.site) +
                     "\" alt=\"" + movie.title +
                     "\" width=\"120\" height=\"150\" border=\"0\" /></a></td>") +
        line(26, "</tr>");
    if (withDate) {
        entry += dateTable(movie, tags, faults.misindented ? 25 : 26);
    }
    return entry + line(23, tags.close) + line(22, "</table>");
}

// A poster link without a title or a date, such as a site puts in for a
// recommended movie.
Text recommendation(const Movie& movie, const SiteHosts& hosts, const TbodyTags& tags)
{
    return line(22, "<table width=\"140\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">") +
           line(23, tags.open) + line(26, "<tr>") +
           line(28, "<td><a href=\"" + movieAddress(movie, hosts.site) +
                        "\" target=\"_blank\"><img src=\"" + posterAddress(movie, hosts.site) +
                        "\" border=\"0\" /></a></td>") +
           line(26, "</tr>") + line(23, tags.close) + line(22, "</table>");
}

Text pager(std::string_view indexPath, int page, const SiteHosts& hosts)
{
    auto link = [&](int target, const char* caption) {
        return "<a href=\"" + root(hosts) + indexPagePath(indexPath, target) + "\">" + caption +
               "</a> ";
    };
    Text pages = "<div class=\"pages\">" + link(1, "首页");
    if (page > 1) {
        pages += link(page - 1, "上一页");
    }
    for (int target = 1; target <= pagesPerCategory; ++target) {
        pages += target == page ? "<b>" + std::to_string(target) + "</b> "
                                : link(target, std::to_string(target).c_str());
    }
    if (page < pagesPerCategory) {
        pages += link(page + 1, "下一页");
    }
    return pages + link(pagesPerCategory, "尾页") + "</div>\r\n";
}

// A synopsis with every piece the program deletes from it: line break tags
// before CR, paragraph tags, entities, the third site's link, the movie site's
// link in capitals, the image server's picture, "下载地址" inside a sentence,
// and lines holding only spaces or a tab.
Text fullSynopsis(const Movie& movie, const SiteHosts& hosts)
{
    const Text thirdRoot = "http://" + hosts.thirdSite + "/";
    return "\n<p>◎片　　名　" + movie.name + "<br />\r\n" + "◎年　　代　" +
           std::to_string(movie.year) + "<br />\r\n" + "◎上映日期　" + movie.date + "<br />\r\n" +
           "◎片　　长　" + std::to_string(88 + movie.id % 60) + "分钟<br />\r\n" + "   <br />\r\n" +
           "◎简　　介<br />\r\n" + "&nbsp;&nbsp;" + kPlots[movie.id % kPlots.size()] +
           "&hellip;&hellip;<br />\r\n" + " \t <br />\r\n" + "</p>\r\n" +
           "<p>更多精彩影片请访问 <a target=\"_blank\" href=\"" + thirdRoot + "\">" + thirdRoot +
           "</a> &middot; <A href=\"" + root(hosts) +
           "\" target=_blank>电影下载</A> 本片下载地址在页面下方。<img alt=\"\" src=\"http://" +
           hosts.imageServer + ":888/tupian/divider.gif\" /></p>\r\n" + "<p>影片截图</p>\r\n";
}

Text screenshotParagraph(const Movie& movie, const SiteHosts& hosts)
{
    return "<p><img alt=\"\" src=\"" + screenshotAddress(movie, hosts.site) + "\" /></p>\r\n";
}

// The poster follows an advertisement script; the synopsis starts right
// behind the poster paragraph's CR.
Text posterAndSynopsis(const Movie& movie, const SiteHosts& hosts)
{
    Text markup = "<div class=\"ad\"><script type=\"text/javascript\">showAd();</script></div>";
    if (movie.hasPoster()) {
        markup += "<p><img alt=\"\" src=\"" + posterAddress(movie, hosts.site) + "\" /></p>";
    }
    markup += "\r";
    if (movie.variant == Variant::ScreenshotSynopsis) {
        markup += "<p>影片截图</p>";
    } else {
        markup += fullSynopsis(movie, hosts);
    }
    return markup + screenshotParagraph(movie, hosts);
}

Text downloadRow(const Text& label, const Text& anchor)
{
    return "<tr><td>" + label + "</td><td>" + anchor + "</td>\r\n</tr>\r\n";
}

// The table near the top of a movie page that offers a download page, a
// 迅雷快传 address or a thunder:// address. It stands before the synopsis, so
// its anchors are the first of the page that open in a new window.
Text downloadTable(const Movie& movie, const SiteHosts& hosts)
{
    Text rows;
    const Text downloadPage = downloadPageAddress(movie, hosts.site);
    if (!downloadPage.empty()) {
        rows += downloadRow("下载页面：", "<a target=\"_blank\" href=\"" + downloadPage +
                                              "\">点击进入下载地址</a>");
    }
    const Text kuaichuan = kuaichuanAddress(movie, hosts.site);
    if (!kuaichuan.empty()) {
        rows += downloadRow("快传地址：",
                            "<a target=\"_blank\" href=\"" + kuaichuan + "\">迅雷快传</a>");
    }
    const Text thunder = pageThunderLink(movie, hosts.site);
    if (!thunder.empty()) {
        rows += downloadRow("迅雷下载：", "<a href=\"" + thunder + "\">" + movie.title + "</a>");
    }
    if (rows.empty()) {
        return {};
    }
    return "<table class=\"down\" width=\"100%\" border=\"0\" cellspacing=\"0\" "
           "cellpadding=\"0\"><tbody>\r\n" +
           rows + "</tbody></table>\r\n";
}

Text linkBlock(const Movie& movie, const SiteHosts& hosts)
{
    const TextArray links = blockLinks(movie, hosts.site);
    if (links.empty()) {
        return {};
    }
    constexpr std::array<const char*, 3> captions{"[迅雷下载]", "[电驴下载]", "[种子下载]"};
    Text block =
        "<p><strong><font color=\"#ff0000\">【下载地址】</font></strong></p>\r\n"
        "<table width=\"100%\" border=\"0\" cellspacing=\"1\" cellpadding=\"5\"><tbody>\r\n";
    for (std::size_t i = 0; i < links.size(); ++i) {
        block += "<tr><td><a href=\"" + links[i] + "\">" + movie.title +
                 captions[i % captions.size()] + "</a></td></tr>\r\n";
    }
    return block + "</tbody></table>\r\n";
}

Text downloadHelp()
{
    return "<p>下载帮助：请先安装下载工具，再点击或复制上面的地址开始下载。</p>\r\n";
}

} // namespace

Text indexPage(std::string_view indexPath, int page, const SiteHosts& hosts,
               const IndexPageFaults& faults)
{
    const bool utf8 = indexPageIsUtf8(indexPath, page);
    const TbodyTags tags = tbodyTags(indexPageHasCapitalTbody(indexPath, page));
    const auto onPage = moviesOnPage(indexPath, page);
    const Text heading = categoryName(indexPath) + " 第" + std::to_string(page) + "页";

    Text body = pageHead(heading + " - " + kSiteName, utf8) + navigation(hosts) + "<h2>" + heading +
                "</h2>\r\n" +
                "<table width=\"960\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" "
                "class=\"list\">\r\n<tr>\r\n<td>\r\n";
    // The sixth movie loses its date when a test asks for a missing one.
    constexpr std::size_t datelessSlot = 5;
    for (std::size_t i = 0; i < onPage.size(); ++i) {
        const bool withDate = !(faults.dateMissing && i == datelessSlot);
        body += movieEntry(*onPage[i], hosts, tags, faults, withDate);
    }
    if (faults.surplusAddress && !onPage.empty()) {
        body += recommendation(*onPage.front(), hosts, tags);
    }
    body += "</td>\r\n</tr>\r\n</table>\r\n" + pager(indexPath, page, hosts) + pageFoot();
    return encode(body, utf8);
}

Text moviePage(const Movie& movie, const SiteHosts& hosts)
{
    Text body = pageHead(movie.title + " - " + kSiteName, movie.isUtf8()) + navigation(hosts) +
                "<h1>" + movie.title + "</h1>\r\n" + "<div class=\"info\">更新时间：" + movie.date +
                "</div>\r\n" + downloadTable(movie, hosts) + posterAndSynopsis(movie, hosts) +
                linkBlock(movie, hosts) + downloadHelp() + pageFoot();
    return encode(body, movie.isUtf8());
}

Text downloadPage(const Movie& movie, const SiteHosts& hosts)
{
    Text body =
        pageHead(movie.title + " 下载地址 - " + kSiteName, false) + navigation(hosts) + "<h2>" +
        movie.title + "</h2>\r\n" +
        "<table width=\"100%\" border=\"0\" cellspacing=\"1\" cellpadding=\"5\"><tbody>\r\n";
    const TextArray links = downloadPageLinks(movie, hosts.site);
    for (std::size_t i = 0; i < links.size(); ++i) {
        body += "<tr><td>第" + std::to_string(i + 1) + "部分：</td><td><a href=\"" + links[i] +
                "\">" + movie.title + " " + std::to_string(i + 1) + "</a></td></tr>\r\n";
    }
    body += "</tbody></table>\r\n<p><a href=\"" + movieAddress(movie, hosts.site) +
            "\">返回影片页面</a></p>\r\n" + pageFoot();
    return body;
}

Text kuaichuanPage(const Movie& movie, const SiteHosts& hosts)
{
    return pageHead(movie.title + " - 快传 - " + kSiteName, false) + navigation(hosts) + "<h2>" +
           movie.title + "</h2>\r\n<p>演示站的快传页面：这里没有真正的文件。</p>\r\n" + pageFoot();
}

Text homePage(const SiteHosts& hosts)
{
    return pageHead(Text("Brisma 下载 - ") + kSiteName, false) + navigation(hosts) +
           "<h1>Brisma 影视浏览器</h1>\r\n"
           "<p>您的版本已经过期，请下载最新的版本。</p>\r\n"
           "<p><a href=\"" +
           root(hosts) + "/files/brisma-setup.zip\">下载最新版本</a></p>\r\n" + pageFoot();
}

Text errorPage(int status, std::string_view reason)
{
    const Text heading = std::to_string(status) + " " + Text(reason);
    return "<html>\r\n<head><title>" + heading + "</title></head>\r\n<body>\r\n<h1>" + heading +
           "</h1>\r\n<p>演示站无法提供这个页面。</p>\r\n</body>\r\n</html>\r\n";
}

} // namespace brisma::demo
