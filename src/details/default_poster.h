#pragma once

#include "text/types.h"

namespace brisma::details {

// The carried JPEG shown in place of a poster that did not arrive.
Bytes DefaultPoster();

} // namespace brisma::details
