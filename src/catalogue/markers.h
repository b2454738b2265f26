#pragma once

#include "text/types.h"

// The marker texts around a movie's title, date and movie-page address on
// the site's index pages. Spaces, line breaks and their counts are part of
// the markers; only the case of ASCII letters is free.
namespace brisma::catalogue::markers {

inline const Text titleLeft = ".jpg\" alt=\"";
inline const Text titleRight = "\" width=\"120\" height=\"150\" border=\"0\" ";

inline const Text dateLeft =
    Text(26, ' ') + "<tbody>\r\n" + Text(28, ' ') + "<tr>\r\n" + Text(30, ' ') + "<td>";
inline const Text dateRight = "</td>\r\n" + Text(28, ' ') + "</tr>\r\n" + Text(26, ' ') +
                              "</tbody>\r\n" + Text(24, ' ') + "</table></td>";

inline const Text addressLeft =
    Text(23, ' ') + "<tbody>\r\n" + Text(26, ' ') + "<tr>\r\n" + Text(28, ' ') + "<td><a href=\"";
inline const Text addressRight = "\" target=\"_blank\"><img src=\"";

} // namespace brisma::catalogue::markers
