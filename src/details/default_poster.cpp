#include "details/default_poster.h"

#include "resources/resources.h"

namespace brisma::details {

Bytes DefaultPoster()
{
    return resources::load("default_poster.jpg");
}

} // namespace brisma::details
