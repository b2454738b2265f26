// Tells the end-to-end scripts what the demo site holds, so that they know
// in advance what the program should show and fetch:
//
//   brisma-e2e-facts movie INDEX-PATH ROW
//
// prints, for the movie in list row ROW (0-based) after a full load of the
// category, one "name=value" line each: title (UTF-8), movie (its page's
// path), poster (the poster's path, empty when the page has none), block (1
// when its page has a download block) and download (the download page's
// path, empty when none is announced).
#include "demo-site/movies.h"
#include "platform/codepage.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using brisma::demo::LinkKind;
using brisma::demo::Movie;

const Movie* movieInRow(std::string_view indexPath, int row)
{
    if (!brisma::demo::isIndexPath(indexPath) || row < 0 ||
        row >= brisma::demo::pagesPerCategory * brisma::demo::listedPerPage) {
        return nullptr;
    }
    const auto page = brisma::demo::moviesOnPage(indexPath, row / brisma::demo::listedPerPage + 1);
    return page.at(static_cast<std::size_t>(row % brisma::demo::listedPerPage));
}

// The path part of an address the site writes for itself.
std::string pathOf(const brisma::Text& address, const brisma::Text& host)
{
    const brisma::Text root = "http://" + host;
    return address.starts_with(root) ? address.substr(root.size()) : address;
}

void printMovie(const Movie& movie)
{
    const brisma::Text host = "demo.invalid";
    const LinkKind links = movie.links();
    const bool announcesDownloadPage = links == LinkKind::DownloadPage ||
                                       links == LinkKind::DownloadPageMissing ||
                                       links == LinkKind::DownloadPageClosed;
    std::printf("title=%s\n", brisma::platform::gbkToUtf8(movie.title).c_str());
    std::printf("movie=%s\n", movie.path.c_str());
    std::printf("poster=%s\n",
                movie.hasPoster() ? pathOf(posterAddress(movie, host), host).c_str() : "");
    std::printf("block=%d\n", links == LinkKind::Block ? 1 : 0);
    std::printf("download=%s\n", announcesDownloadPage
                                     ? pathOf(downloadPageAddress(movie, host), host).c_str()
                                     : "");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4 || std::string(argv[1]) != "movie") {
        std::fprintf(stderr, "usage: %s movie INDEX-PATH ROW\n", argv[0]);
        return 2;
    }
    const Movie* movie = movieInRow(argv[2], std::atoi(argv[3]));
    if (movie == nullptr) {
        std::fprintf(stderr, "no movie in row %s of %s\n", argv[3], argv[2]);
        return 1;
    }
    printMovie(*movie);
    return 0;
}
