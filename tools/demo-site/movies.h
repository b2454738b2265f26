#pragma once

#include "text/types.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The demo site's catalogue: five categories of ten index pages with twelve
// movies each. Everything here is fixed, so tests can pick a movie by what its
// page holds and know in advance what the program should make of it.
namespace brisma::demo {

// What a movie page holds besides the usual poster, synopsis and markup. Each
// movie has exactly one of these; the ones that are not about links carry a
// download block like LinkBlock.
enum class Variant
{
    LinkBlock,           // "【下载地址】" ... "下载帮助" block with three anchors
    DownloadPage,        // no block; an anchor to a download page with thunder:// addresses
    Kuaichuan,           // no block; a 迅雷快传 anchor only
    NoAddress,           // no address of any kind
    DownloadPageMissing, // download page announced, its address answers 404;
                         // the movie page itself holds a thunder:// address
    DownloadPageClosed,  // the same, but the download address closes the connection
    ThunderAndKuaichuan, // no block; a 迅雷快传 anchor, then a thunder:// address
    NoPoster,            // no poster paragraph (the synopsis is still there)
    ScreenshotSynopsis,  // the synopsis cut is exactly "<p>影片截图</p>"
    Utf8Page,            // the page is UTF-8 and says so near its top
};

inline constexpr std::array allVariants{
    Variant::LinkBlock,           Variant::DownloadPage,
    Variant::Kuaichuan,           Variant::NoAddress,
    Variant::DownloadPageMissing, Variant::DownloadPageClosed,
    Variant::ThunderAndKuaichuan, Variant::NoPoster,
    Variant::ScreenshotSynopsis,  Variant::Utf8Page,
};

std::string_view variantName(Variant variant);

// The links a movie page offers, derived from its variant.
enum class LinkKind
{
    Block,
    DownloadPage,
    Kuaichuan,
    None,
    DownloadPageMissing,
    DownloadPageClosed,
    ThunderAndKuaichuan,
};

inline constexpr int pagesPerCategory = 10;
inline constexpr int moviesPerPage = 12;
// The program takes the first ten movies of every index page.
inline constexpr int listedPerPage = 10;

// "/ys/", "/bd/", "/1080p/", "/720P/", "/3d/", in button order.
const std::array<std::string_view, 5>& indexPaths();
bool isIndexPath(std::string_view path);

// "/3d/" for page 1, "/3d/index_N.htm" otherwise.
std::string indexPagePath(std::string_view indexPath, int page);

// Index pages sent in UTF-8, and index pages whose tbody tags are capitals.
bool indexPageIsUtf8(std::string_view indexPath, int page);
bool indexPageHasCapitalTbody(std::string_view indexPath, int page);

struct Movie
{
    int id = 0;
    std::string_view indexPath;
    int page = 0; // 1..10
    int slot = 0; // 1..12, position on its index page
    Text title;   // GBK
    Text name;    // the part of the title between 《 and 》
    int year = 0; // the year the title begins with
    Text date;    // "2024-06-30"
    std::string path;
    Variant variant = Variant::LinkBlock;
    int poster = 1; // pictures /tupian/poster-N.jpg and /tupian/shot-N.jpg

    LinkKind links() const;
    bool hasPoster() const { return variant != Variant::NoPoster; }
    bool isUtf8() const { return variant == Variant::Utf8Page; }
    // Among the ten movies of its page that end up in the program's list.
    bool isListed() const { return slot <= listedPerPage; }
    // Its row in the list after a load of its category in which every page
    // gave ten rows.
    int listRow() const { return (page - 1) * listedPerPage + slot - 1; }
};

// All 600 movies, category by category, page by page, slot by slot.
const std::vector<Movie>& movies();
const Movie* findMovie(std::string_view path);
// The twelve movies of one index page, in page order.
std::vector<const Movie*> moviesOnPage(std::string_view indexPath, int page);
std::vector<const Movie*> moviesWith(Variant variant);
// The first movie of that variant in the category that the program lists.
const Movie& firstListedMovie(Variant variant, std::string_view indexPath = "/ys/");

// Addresses as the pages write them, for a site served as `host`
// ("127.0.0.1:PORT").
Text movieAddress(const Movie& movie, const Text& host);
Text posterAddress(const Movie& movie, const Text& host);
Text screenshotAddress(const Movie& movie, const Text& host);
Text downloadPageAddress(const Movie& movie, const Text& host); // empty without one
Text kuaichuanAddress(const Movie& movie, const Text& host);    // empty without one
// The anchors of the download block, in page order; empty without a block.
TextArray blockLinks(const Movie& movie, const Text& host);
// The thunder:// addresses of the download page, in page order.
TextArray downloadPageLinks(const Movie& movie, const Text& host);
// The thunder:// address on the movie page itself; empty without one.
Text pageThunderLink(const Movie& movie, const Text& host);

// "thunder://" and the base64 of "AA" + url + "ZZ", as download tools expect.
Text thunderAddress(const Text& url);

} // namespace brisma::demo
