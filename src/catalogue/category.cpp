#include "catalogue/category.h"

namespace brisma::catalogue {

const std::array<Category, 5>& categories()
{
    // The caption "1018P" belongs to the button whose pages live under
    // "/1080p/"; both spellings are what the site and users know.
    static const std::array<Category, 5> table{{
        {"超级按钮_最新电影", "最新热门电影", "/ys/", rgb(218, 84, 45), rgb(215, 78, 38),
         rgb(168, 61, 30), 150, 100, 0},
        {"超级按钮_BD高清", "BD高清", "/bd/", rgb(12, 100, 233), rgb(10, 88, 205), rgb(7, 70, 165),
         -20, 0, 0},
        {"超级按钮_1018P", "1018P", "/1080p/", rgb(196, 0, 206), rgb(175, 0, 185), rgb(141, 0, 149),
         30, 0, 0},
        {"超级按钮_720P", "720P", "/720P/", rgb(214, 165, 1), rgb(199, 154, 1), rgb(182, 123, 1),
         -150, 0, 0},
        {"超级按钮_3D", "3D电影专区", "/3d/", rgb(0, 163, 0), rgb(0, 153, 0), rgb(0, 119, 0), -80,
         0, 0},
    }};
    return table;
}

} // namespace brisma::catalogue
