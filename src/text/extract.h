#pragma once

#include "text/types.h"

// Cutting texts out from between marker texts, the way every page and header
// of the program is taken apart.
namespace brisma {

// Collects every hit "leftMarker ... rightMarker" in order into results
// (emptied first) and returns their number. Hits are trimmed of spaces; the
// scan ends at the first hit that is empty after trimming, or longer than
// maxLength when that is not 0. Each search for the next left marker starts
// at the right marker just found, so equal markers chain. Markers are taken
// literally. An empty left marker finds nothing.
int ExtractBetweenAll(const Text& text, const Text& leftMarker, const Text& rightMarker,
                      TextArray& results, bool caseSensitive = false, int maxLength = 0,
                      const Text& prefix = {}, const Text& suffix = {}, bool keepLeftMarker = false,
                      bool keepRightMarker = false, int startPosition = 0);

// The text between the first left marker at or after startPosition and the
// next right marker, untrimmed; empty when either is missing. "#引号" in a
// marker stands for a double quote.
Text ExtractBetween(const Text& text, const Text& leftMarker, const Text& rightMarker,
                    int startPosition = 0, bool caseSensitive = false);

} // namespace brisma
