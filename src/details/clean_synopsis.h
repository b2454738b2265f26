#pragma once

#include "text/types.h"

namespace brisma::details {

// The last step of building a synopsis: takes one CR LF off each end of text
// (each only when there), leaving that trimmed form in the caller's Text,
// and returns it with its runs of blank lines collapsed into one line break.
// Empty when the regular-expression engine is unavailable.
Text CleanSynopsis(Text& text);

} // namespace brisma::details
