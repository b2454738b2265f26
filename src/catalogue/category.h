#pragma once

#include "text/types.h"

#include <array>

namespace brisma::catalogue {

// One of the five movie categories, identified by its button on the main
// window.
struct Category
{
    Text buttonName; // form name of the button
    Text caption;    // button caption
    Text indexPath;  // path of the index pages on the movie site
    Rgb listColour;  // the button's normal colour; the list takes it
    Rgb hoverColour; // the button with the mouse over it
    Rgb focusColour; // the button with the input focus
    int hue;         // skin tint for this category, degrees
    int saturation;  // percent
    int value;       // percent
};

// In button order, top to bottom.
const std::array<Category, 5>& categories();

// One row of the movie list, in column order.
struct MovieRow
{
    Text title;   // column 0
    Text date;    // column 1
    Text address; // column 2: the movie page, as found on the index page
};

inline constexpr int titleColumn = 0;
inline constexpr int dateColumn = 1;
inline constexpr int addressColumn = 2;

} // namespace brisma::catalogue
