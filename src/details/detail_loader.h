#pragma once

#include "details/detail_view.h"
#include "platform/hosts.h"

namespace brisma::details {

// Fills the detail window for the movie selected in the list: the title as
// caption, the poster (or DefaultPoster), the download addresses and, when a
// poster arrived, the cleaned synopsis. Runs from the window's creation
// handler and returns when all is shown. hosts gives the site names that the
// synopsis markup carries.
//
// The list may be emptied by a category load meanwhile: a row that is gone
// reads as empty text, and the movie then counts as a page that cannot be
// fetched.
void loadDetailWindow(const DetailView& view, const Hosts& hosts);

// The synopsis cut out of a movie page, freed of the site's markup: line
// break tags become CR LF, everything else listed is deleted. Exact and
// case-sensitive, in a fixed order.
Text stripSynopsisMarkup(Text synopsis, const Hosts& hosts);

} // namespace brisma::details
