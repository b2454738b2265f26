#pragma once

#include "text/types.h"

#include <string_view>

// Data carried inside the program (pictures, the glyph font, the skin file).
namespace brisma::resources {

// The bytes of the carried file of that name; empty when there is none.
Bytes load(std::string_view fileName);

} // namespace brisma::resources
