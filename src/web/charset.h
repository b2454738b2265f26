#pragma once

#include "text/types.h"

#include <optional>

namespace brisma::web {

// Re-encodes data from one charset to another through the "Adodb.Stream"
// object, by the names that object knows; empty names mean "UTF-8" and
// "GBK". The text passes through the program's own code page on the way,
// so characters GBK cannot hold come out as "?" whatever the target.
// startPosition, when given, is the 0-based byte of the converted stream at
// which the result begins. Empty Bytes when the conversion failed: unknown
// charset, or no stream object to be had. Leaves the calling thread's COM
// initialisation as it found it.
Bytes ConvertCharset(const Bytes& data, const Text& fromCharset = {}, const Text& toCharset = {},
                     std::optional<int> startPosition = {});

} // namespace brisma::web
