#pragma once

#include "demo-site/movies.h"
#include "text/types.h"

#include <string_view>

// The pages of the demo site, in the movie site's own markup: its indentation,
// its CR LF line ends and its quoting, byte for byte, because the program cuts
// them apart between fixed marker texts.
namespace brisma::demo {

struct SiteHosts
{
    Text site;        // the host the pages are served from, "127.0.0.1:PORT"
    Text thirdSite;   // named in every synopsis
    Text imageServer; // named in every synopsis, with ":888/tupian/"
};

// Faults a test can ask for on one index page.
struct IndexPageFaults
{
    bool dateMissing = false;    // one movie without its date table
    bool misindented = false;    // date tables indented one space too little
    bool surplusAddress = false; // a thirteenth poster link without title or date
};

// Each returns the body as sent: GBK, or UTF-8 for the pages that are UTF-8.
Text indexPage(std::string_view indexPath, int page, const SiteHosts& hosts,
               const IndexPageFaults& faults = {});
Text moviePage(const Movie& movie, const SiteHosts& hosts);
Text downloadPage(const Movie& movie, const SiteHosts& hosts);
Text kuaichuanPage(const Movie& movie, const SiteHosts& hosts);
Text homePage(const SiteHosts& hosts);
Text errorPage(int status, std::string_view reason);

} // namespace brisma::demo
