#pragma once

#include "text/types.h"

namespace brisma {

// The four hosts the program talks to. They are fixed when the program is
// built; tests hand in their own value to point the code at a local server.
struct Hosts
{
    Text movieSite;    // with ":port" when not 80
    Text imageServer;  // named in synopses only
    Text thirdSite;    // named in synopses only
    Text updateServer; // with ":port" when not 80

    static Hosts build();

    // Plain-HTTP root addresses, without a trailing slash.
    Text movieSiteRoot() const { return "http://" + movieSite; }
    Text updateServerRoot() const { return "http://" + updateServer; }
    Text imageServerRoot() const { return "http://" + imageServer; }
    Text thirdSiteRoot() const { return "http://" + thirdSite; }
};

} // namespace brisma
