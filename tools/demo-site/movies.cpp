#include "demo-site/movies.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace brisma::demo {

namespace {

constexpr std::array<std::string_view, 5> kIndexPaths{"/ys/", "/bd/", "/1080p/", "/720P/", "/3d/"};

// The quality note a category's titles end with, in the order of kIndexPaths.
constexpr std::array<const char*, 5> kQualityNotes{"HD国语中字", "BD中英双字", "1080P高清中字",
                                                   "720P中字", "3D左右半宽"};

constexpr std::array<const char*, 32> kNames{
    "远山回声", "星海迷航", "长夜将尽", "南方小站的雨", "白鲸之歌",   "第七封信", "月光旅店",
    "沙漠之心", "雾都谜案", "冰河追踪", "归途如虹",     "风起长安",   "午夜列车", "银色子弹",
    "孤岛日记", "无声证人", "红色信号", "逆光飞行",     "失落的王冠", "时间旅人", "黄金海岸",
    "夏日终章", "迷雾森林", "猎鹰计划", "北极光",       "最后的守卫", "钢铁洪流", "梦境边缘",
    "深海危机", "暗夜骑士", "山城往事", "灯塔守望者"};

constexpr std::array<const char*, 8> kCountries{"美国", "中国", "韩国", "日本",
                                                "法国", "英国", "香港", "印度"};
constexpr std::array<const char*, 8> kGenres{"动作片", "剧情片", "喜剧片", "科幻片",
                                             "爱情片", "动画片", "悬疑片", "战争片"};

// Every page spreads these over its twelve slots, shifted by one slot from
// page to page and category to category, so each variant shows up among the
// listed movies of every category many times.
constexpr std::array<Variant, moviesPerPage> kVariantCycle{
    Variant::LinkBlock,           Variant::DownloadPage,
    Variant::Kuaichuan,           Variant::NoPoster,
    Variant::LinkBlock,           Variant::NoAddress,
    Variant::ThunderAndKuaichuan, Variant::ScreenshotSynopsis,
    Variant::LinkBlock,           Variant::Utf8Page,
    Variant::DownloadPageMissing, Variant::DownloadPageClosed,
};

struct PageRef
{
    std::string_view indexPath;
    int page;
};

constexpr std::array<PageRef, 3> kUtf8IndexPages{{{"/bd/", 2}, {"/720P/", 6}, {"/3d/", 9}}};
constexpr std::array<PageRef, 3> kCapitalTbodyPages{{{"/ys/", 3}, {"/1080p/", 5}, {"/3d/", 2}}};

bool listed(const std::array<PageRef, 3>& pages, std::string_view indexPath, int page)
{
    return std::any_of(pages.begin(), pages.end(), [&](const PageRef& ref) {
        return ref.indexPath == indexPath && ref.page == page;
    });
}

int categoryNumber(std::string_view indexPath)
{
    auto found = std::find(kIndexPaths.begin(), kIndexPaths.end(), indexPath);
    return static_cast<int>(found - kIndexPaths.begin());
}

struct Day
{
    int year;
    unsigned month;
    unsigned day;
};

// Days since 1970-01-01 and back, in the proleptic Gregorian calendar, with
// years counted from March so that the leap day ends a year.
int daysFromCivil(Day date)
{
    const int year = date.year - (date.month <= 2 ? 1 : 0);
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int month = static_cast<int>(date.month);
    const int dayOfYear =
        (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + static_cast<int>(date.day) - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

Day civilFromDays(int days)
{
    days += 719468;
    const int era = (days >= 0 ? days : days - 146096) / 146097;
    const int dayOfEra = days - era * 146097;
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int shiftedMonth = (5 * dayOfYear + 2) / 153;
    const auto day = static_cast<unsigned>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const auto month =
        static_cast<unsigned>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const int year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return Day{year, month, day};
}

// Newest first: the first movie of a category is the newest, and the site
// adds about three movies every two days.
Day movieDay(int category, int page, int slot)
{
    const int position = (page - 1) * moviesPerPage + slot - 1;
    const int newest = daysFromCivil(Day{2024, 6, 30}) - category;
    return civilFromDays(newest - position * 2 / 3);
}

Text formatDate(const Day& day, const char* format)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, format, day.year, day.month, day.day);
    return buffer;
}

Text movieTitle(int category, const Movie& movie)
{
    return std::to_string(movie.year) + "年" + kCountries[movie.id % kCountries.size()] +
           kGenres[movie.id / 3 % kGenres.size()] + "《" + movie.name + "》" +
           kQualityNotes[category];
}

Movie makeMovie(int category, int page, int slot)
{
    Movie movie;
    movie.id = 10000 + category * 1000 + (page - 1) * moviesPerPage + slot;
    movie.indexPath = kIndexPaths[category];
    movie.page = page;
    movie.slot = slot;
    movie.name = kNames[movie.id * 7 % kNames.size()];
    movie.year = 2005 + movie.id * 3 % 20;
    movie.title = movieTitle(category, movie);
    const auto day = movieDay(category, page, slot);
    movie.date = formatDate(day, "%04d-%02u-%02u");
    movie.path = std::string(movie.indexPath) + formatDate(day, "%04d%02u%02u") + "/" +
                 std::to_string(movie.id) + ".html";
    movie.variant = kVariantCycle[(slot - 1 + page - 1 + category) % kVariantCycle.size()];
    movie.poster = movie.id % 4 + 1;
    return movie;
}

std::vector<Movie> makeCatalogue()
{
    std::vector<Movie> all;
    for (int category = 0; category < static_cast<int>(kIndexPaths.size()); ++category) {
        for (int page = 1; page <= pagesPerCategory; ++page) {
            for (int slot = 1; slot <= moviesPerPage; ++slot) {
                all.push_back(makeMovie(category, page, slot));
            }
        }
    }
    return all;
}

Text root(const Text& host)
{
    return "http://" + host;
}

Text fileAddress(const Movie& movie, const Text& host, const std::string& name)
{
    return root(host) + "/files/" + std::to_string(movie.id) + name;
}

// A made-up but stable ed2k hash: 32 hex digits derived from the id.
Text ed2kHash(int id)
{
    Text hash;
    std::uint32_t value = static_cast<std::uint32_t>(id) * 2654435761u;
    for (int part = 0; part < 4; ++part) {
        char buffer[9];
        std::snprintf(buffer, sizeof buffer, "%08X", value);
        hash += buffer;
        value = value * 1664525u + 1013904223u;
    }
    return hash;
}

Text base64(const Text& bytes)
{
    static constexpr char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    Text out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const auto n = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16 |
                       static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
        out += alphabet[n >> 18 & 63];
        out += alphabet[n >> 12 & 63];
        out += alphabet[n >> 6 & 63];
        out += alphabet[n & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t n = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
        if (rest == 2) {
            n |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        }
        out += alphabet[n >> 18 & 63];
        out += alphabet[n >> 12 & 63];
        out += rest == 2 ? alphabet[n >> 6 & 63] : '=';
        out += '=';
    }
    return out;
}

} // namespace

std::string_view variantName(Variant variant)
{
    switch (variant) {
    case Variant::LinkBlock:
        return "LinkBlock";
    case Variant::DownloadPage:
        return "DownloadPage";
    case Variant::Kuaichuan:
        return "Kuaichuan";
    case Variant::NoAddress:
        return "NoAddress";
    case Variant::DownloadPageMissing:
        return "DownloadPageMissing";
    case Variant::DownloadPageClosed:
        return "DownloadPageClosed";
    case Variant::ThunderAndKuaichuan:
        return "ThunderAndKuaichuan";
    case Variant::NoPoster:
        return "NoPoster";
    case Variant::ScreenshotSynopsis:
        return "ScreenshotSynopsis";
    case Variant::Utf8Page:
        return "Utf8Page";
    }
    return "?";
}

LinkKind Movie::links() const
{
    switch (variant) {
    case Variant::DownloadPage:
        return LinkKind::DownloadPage;
    case Variant::Kuaichuan:
        return LinkKind::Kuaichuan;
    case Variant::NoAddress:
        return LinkKind::None;
    case Variant::DownloadPageMissing:
        return LinkKind::DownloadPageMissing;
    case Variant::DownloadPageClosed:
        return LinkKind::DownloadPageClosed;
    case Variant::ThunderAndKuaichuan:
        return LinkKind::ThunderAndKuaichuan;
    case Variant::LinkBlock:
    case Variant::NoPoster:
    case Variant::ScreenshotSynopsis:
    case Variant::Utf8Page:
        break;
    }
    return LinkKind::Block;
}

const std::array<std::string_view, 5>& indexPaths()
{
    return kIndexPaths;
}

bool isIndexPath(std::string_view path)
{
    return std::find(kIndexPaths.begin(), kIndexPaths.end(), path) != kIndexPaths.end();
}

std::string indexPagePath(std::string_view indexPath, int page)
{
    std::string path(indexPath);
    if (page > 1) {
        path += "index_" + std::to_string(page) + ".htm";
    }
    return path;
}

bool indexPageIsUtf8(std::string_view indexPath, int page)
{
    return listed(kUtf8IndexPages, indexPath, page);
}

bool indexPageHasCapitalTbody(std::string_view indexPath, int page)
{
    return listed(kCapitalTbodyPages, indexPath, page);
}

const std::vector<Movie>& movies()
{
    static const std::vector<Movie> all = makeCatalogue();
    return all;
}

const Movie* findMovie(std::string_view path)
{
    static const std::map<std::string, const Movie*, std::less<>> byPath = [] {
        std::map<std::string, const Movie*, std::less<>> map;
        for (const Movie& movie : movies()) {
            map.emplace(movie.path, &movie);
        }
        return map;
    }();
    auto found = byPath.find(path);
    return found == byPath.end() ? nullptr : found->second;
}

std::vector<const Movie*> moviesOnPage(std::string_view indexPath, int page)
{
    std::vector<const Movie*> result;
    if (!isIndexPath(indexPath) || page < 1 || page > pagesPerCategory) {
        return result;
    }
    const auto first = (categoryNumber(indexPath) * pagesPerCategory + page - 1) * moviesPerPage;
    for (int slot = 0; slot < moviesPerPage; ++slot) {
        result.push_back(&movies()[static_cast<std::size_t>(first + slot)]);
    }
    return result;
}

std::vector<const Movie*> moviesWith(Variant variant)
{
    std::vector<const Movie*> result;
    for (const Movie& movie : movies()) {
        if (movie.variant == variant) {
            result.push_back(&movie);
        }
    }
    return result;
}

const Movie& firstListedMovie(Variant variant, std::string_view indexPath)
{
    for (const Movie& movie : movies()) {
        if (movie.variant == variant && movie.indexPath == indexPath && movie.isListed()) {
            return movie;
        }
    }
    // Every variant is listed in every category, so this is only reached with
    // a path that is not a category's.
    return movies().front();
}

Text movieAddress(const Movie& movie, const Text& host)
{
    return root(host) + movie.path;
}

Text posterAddress(const Movie& movie, const Text& host)
{
    return root(host) + "/tupian/poster-" + std::to_string(movie.poster) + ".jpg";
}

Text screenshotAddress(const Movie& movie, const Text& host)
{
    return root(host) + "/tupian/shot-" + std::to_string(movie.id % 2 + 1) + ".jpg";
}

Text downloadPageAddress(const Movie& movie, const Text& host)
{
    const Text base = root(host) + "/down/" + std::to_string(movie.id);
    switch (movie.links()) {
    case LinkKind::DownloadPage:
        return base + ".htm";
    case LinkKind::DownloadPageMissing:
        return base + "-missing.htm";
    case LinkKind::DownloadPageClosed:
        return base + "-closed.htm";
    default:
        return {};
    }
}

Text kuaichuanAddress(const Movie& movie, const Text& host)
{
    const LinkKind links = movie.links();
    if (links != LinkKind::Kuaichuan && links != LinkKind::ThunderAndKuaichuan) {
        return {};
    }
    return root(host) + "/kuai/" + std::to_string(movie.id) + ".html";
}

TextArray blockLinks(const Movie& movie, const Text& host)
{
    if (movie.links() != LinkKind::Block) {
        return {};
    }
    const Text id = std::to_string(movie.id);
    const Text size = std::to_string(700000000LL + movie.id * 1234567LL % 900000000LL);
    return {thunderAddress(fileAddress(movie, host, "-1.mkv")),
            "ed2k://|file|brisma-" + id + ".mkv|" + size + "|" + ed2kHash(movie.id) + "|/",
            fileAddress(movie, host, ".torrent")};
}

TextArray downloadPageLinks(const Movie& movie, const Text& host)
{
    if (movie.links() != LinkKind::DownloadPage) {
        return {};
    }
    return {thunderAddress(fileAddress(movie, host, "-cd1.mkv")),
            thunderAddress(fileAddress(movie, host, "-cd2.mkv")),
            thunderAddress(fileAddress(movie, host, "-trailer.mp4"))};
}

Text pageThunderLink(const Movie& movie, const Text& host)
{
    switch (movie.links()) {
    case LinkKind::DownloadPageMissing:
    case LinkKind::DownloadPageClosed:
    case LinkKind::ThunderAndKuaichuan:
        return thunderAddress(fileAddress(movie, host, ".mkv"));
    default:
        return {};
    }
}

Text thunderAddress(const Text& url)
{
    return "thunder://" + base64("AA" + url + "ZZ");
}

} // namespace brisma::demo
