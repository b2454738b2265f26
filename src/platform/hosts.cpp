#include "platform/hosts.h"

#include "platform/build_hosts.h"

namespace brisma {

Hosts Hosts::build()
{
    return Hosts{BRISMA_BUILD_MOVIE_SITE, BRISMA_BUILD_IMAGE_SERVER, BRISMA_BUILD_THIRD_SITE,
                 BRISMA_BUILD_UPDATE_SERVER};
}

} // namespace brisma
