#pragma once

#include "platform/toolkit.h"

namespace brisma::details {

// The controls the detail window's loading reads and fills: the main
// window's movie list, and the detail window with its poster, synopsis box
// (编辑框1) and links box (编辑框2).
struct DetailView
{
    const platform::ReportList& list;
    platform::Window& window;
    platform::PictureBox& poster;
    platform::EditBox& synopsisBox;
    platform::EditBox& linksBox;
};

} // namespace brisma::details
