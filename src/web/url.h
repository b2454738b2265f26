#pragma once

#include "text/types.h"

// Taking a web address apart by plain text search, the way the request
// routine does before it connects. Unusual addresses give whatever that
// search finds; none of these fail.
namespace brisma::web {

// The host behind the scheme marker, lower-case. domainOnly keeps only the
// last two dot-separated pieces; keepPort keeps ":port".
Text UrlHost(const Text& url, bool domainOnly = false, bool keepPort = false);

// The number behind the host's last colon, else 443 for an address that
// begins with "https" and 80 for any other.
int UrlPort(const Text& url);

// Everything from the first "/" behind the host, as written; "/" when there
// is none.
Text UrlPath(const Text& url);

} // namespace brisma::web
