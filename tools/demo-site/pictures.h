#pragma once

#include <string_view>

namespace brisma::demo {

// The JPEG pictures the site serves under /tupian/, by file name
// ("poster-1.jpg" .. "poster-4.jpg", "shot-1.jpg", "shot-2.jpg"); empty for
// any other name.
std::string_view picture(std::string_view name);

} // namespace brisma::demo
