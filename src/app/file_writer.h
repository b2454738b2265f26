#pragma once

#include "text/types.h"

#include <string>

namespace brisma::app {

// Creates or replaces the file at `path` (the system's own bytes) with
// `contents`. The bytes go to a new file beside it that then takes the
// name, so a reader never sees half a file and a program that has the old
// file mapped (a loaded library) keeps its copy intact. False, with the old
// file untouched, when anything fails.
bool replaceFile(const std::string& path, const Bytes& contents);

} // namespace brisma::app
