#pragma once

#include "platform/toolkit.h"

namespace brisma::details {

// Lists in the links box every download address of the selected movie's
// page block 【下载地址】 ... 下载帮助, one numbered line each. When the block
// yields none, ExtractFallbackLink fills the box instead. Fetches the movie
// page itself; the box is expected empty.
void ExtractDownloadLinks(const platform::ReportList& list, platform::EditBox& linksBox);

// Puts exactly one text into the empty links box: the first thunder://
// address of the movie page, or of its separate download page when it
// announces one; else a 迅雷快传 address with a note; else a message that
// nothing was found.
void ExtractFallbackLink(const platform::ReportList& list, platform::EditBox& linksBox);

} // namespace brisma::details
