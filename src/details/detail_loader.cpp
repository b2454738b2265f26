#include "details/detail_loader.h"

#include "catalogue/category.h"
#include "details/clean_synopsis.h"
#include "details/default_poster.h"
#include "details/download_links.h"
#include "text/extract.h"
#include "text/primitives.h"
#include "web/web_request.h"

#include <array>
#include <utility>

namespace brisma::details {
namespace {

// The poster is the first image paragraph after the page's scripts.
const Text posterLeft = "</script></div><p><img alt=\"\" src=\"";
const Text posterRight = "\" /></p>\r";

// The synopsis stands between the end of the poster's paragraph and the
// start of the next image paragraph.
const Text synopsisLeft = ".jpg\" /></p>\r";
const Text synopsisRight = "<p><img alt=\"\" src=\"";

const Text noInformation = "暂无信息";

std::array<std::pair<Text, Text>, 12> markupReplacements(const Hosts& hosts)
{
    const Text thirdSiteRoot = hosts.thirdSiteRoot() + "/";
    return {{
        {"<br />\r", "\r\n"},
        {"<a target=\"_blank\" href=\"" + thirdSiteRoot + "\">" + thirdSiteRoot, {}},
        {"<p>", {}},
        {"影片截图", {}},
        {"</p>", {}},
        {"&hellip;", {}},
        {"&nbsp;", {}},
        {"</a>", {}},
        {"下载地址", {}},
        {"&middot;", {}},
        {"<A href=\"" + hosts.movieSiteRoot() + "\" target=_blank>电影下载</A>", {}},
        {"<img alt=\"\" src=\"" + hosts.imageServerRoot() + ":888/tupian/", {}},
    }};
}

Text selectedCell(const platform::ReportList& list, int column)
{
    return list.cell(list.selectedRow(), column);
}

void showSynopsis(const Text& page, const DetailView& view, const Hosts& hosts)
{
    Text synopsis = ExtractBetween(page, synopsisLeft, synopsisRight);
    synopsis = stripSynopsisMarkup(std::move(synopsis), hosts);
    const Text cleaned = CleanSynopsis(synopsis);
    view.synopsisBox.setText(cleaned);
    // Judged on the text before blank lines go: a synopsis made only of
    // blank lines leaves the box empty rather than claiming there is none.
    if (synopsis.empty()) {
        view.synopsisBox.setText(noInformation);
    }
}

} // namespace

Text stripSynopsisMarkup(Text synopsis, const Hosts& hosts)
{
    for (const auto& [markup, replacement] : markupReplacements(hosts)) {
        synopsis = ReplaceText(synopsis, markup, replacement, true);
    }
    return synopsis;
}

void loadDetailWindow(const DetailView& view, const Hosts& hosts)
{
    // The selection is read afresh for every cell: a category load may be
    // changing the list on its worker thread.
    view.window.setCaption(selectedCell(view.list, catalogue::titleColumn));
    const Text address = selectedCell(view.list, catalogue::addressColumn);

    const Text page = web::WebRequest(address);
    const Text posterAddress = ExtractBetween(page, posterLeft, posterRight);
    view.poster.setPicture(web::WebRequestBytes(posterAddress));

    ExtractDownloadLinks(view.list, view.linksBox);

    if (view.poster.picture().empty()) {
        view.poster.setPicture(DefaultPoster());
        return;
    }
    showSynopsis(page, view, hosts);
}

} // namespace brisma::details
