#pragma once

#include "text/types.h"

#include <cstddef>

namespace brisma::app {

// Nothing the program reads this way comes near this size; a longer answer
// is treated as a failure instead of being held in memory.
inline constexpr std::size_t maximumUrlBodySize = 32 * 1024 * 1024;

// The body of a plain GET of an http:// or https:// address, whatever the
// status code; empty Bytes when the address is of another kind or the
// transfer fails. Follows redirects. Blocks the calling thread.
Bytes readUrlIntoBytes(const Text& address);

} // namespace brisma::app
