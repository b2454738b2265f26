#include "details/download_links.h"

#include "catalogue/category.h"
#include "text/extract.h"
#include "text/primitives.h"
#include "web/web_request.h"

#include <string>

namespace brisma::details {
namespace {

const Text blockLeft = "【下载地址】";
const Text blockRight = "下载帮助";
const Text anchorLeft = "<a href=\"";
const Text anchorRight = "\">";

// The announcement of a separate download page; the test demands the ".htm"
// and the CR, the cut of its address neither.
const Text downloadPageAnnounced = ".htm\">点击进入下载地址</a></td>\r";
const Text downloadPageLeft = "<a target=\"_blank\" href=\"";
const Text downloadPageRight = "\">点击进入下载地址</a></td>";

const Text thunderScheme = "thunder://";
const Text thunderRight = "\">";

const Text quickShare = "迅雷快传";
const Text quickShareLeft = "<a target=\"_blank\" href=\"";
const Text quickShareRight = "\">迅雷快传</a></td>\r";

const Text linkLabel = "下载地址";
const Text labelSeparator = "： "; // full-width colon and one ASCII space
const Text lineBreak = "\r\n";
const Text quickShareNote = "该资源为迅雷快传,请手动负责地址在浏览器打开即可下载\r\n";
const Text nothingFound = "没有找到下载资源地址";

Text selectedAddress(const platform::ReportList& list)
{
    return list.cell(list.selectedRow(), catalogue::addressColumn);
}

bool contains(const Text& page, const Text& needle)
{
    return FindText(page, needle) != -1;
}

} // namespace

void ExtractDownloadLinks(const platform::ReportList& list, platform::EditBox& linksBox)
{
    const Text page = web::WebRequest(selectedAddress(list));
    const Text block = ExtractBetween(page, blockLeft, blockRight);
    TextArray links;
    ExtractBetweenAll(block, anchorLeft, anchorRight, links);
    if (links.empty()) {
        ExtractFallbackLink(list, linksBox);
        return;
    }
    for (std::size_t i = 0; i < links.size(); ++i) {
        linksBox.appendText(linkLabel + std::to_string(i + 1) + labelSeparator + links[i] +
                            lineBreak);
    }
}

void ExtractFallbackLink(const platform::ReportList& list, platform::EditBox& linksBox)
{
    Text page = web::WebRequest(selectedAddress(list));
    if (contains(page, downloadPageAnnounced)) {
        // From here on only the download page counts, even when it fails.
        page = web::WebRequest(ExtractBetween(page, downloadPageLeft, downloadPageRight));
    }
    if (contains(page, thunderScheme)) {
        linksBox.setText(linkLabel + labelSeparator + thunderScheme +
                         ExtractBetween(page, thunderScheme, thunderRight));
    } else if (contains(page, quickShare)) {
        linksBox.appendText(quickShareNote + ExtractBetween(page, quickShareLeft, quickShareRight));
    } else {
        linksBox.appendText(nothingFound);
    }
}

} // namespace brisma::details
