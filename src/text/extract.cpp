#include "text/extract.h"

#include "text/primitives.h"

namespace brisma {
namespace {

// Markers of ExtractBetween may write a double quote as "#引号", so that they
// can be typed where a quote is awkward. Spelt in GBK bytes so that the
// routine means the same whatever compiler builds it.
const Text quotePlaceholder = "#\xD2\xFD\xBA\xC5";

Text expandQuotePlaceholder(const Text& marker)
{
    return ReplaceText(marker, quotePlaceholder, "\"", true);
}

Text decorateHit(const Text& hit, const Text& leftMarker, const Text& rightMarker,
                 const Text& prefix, const Text& suffix, bool keepLeftMarker, bool keepRightMarker)
{
    Text stored = prefix + hit + suffix;
    if (keepLeftMarker) {
        stored = leftMarker + stored;
    }
    if (keepRightMarker) {
        stored += rightMarker;
    }
    return stored;
}

} // namespace

int ExtractBetweenAll(const Text& text, const Text& leftMarker, const Text& rightMarker,
                      TextArray& results, bool caseSensitive, int maxLength, const Text& prefix,
                      const Text& suffix, bool keepLeftMarker, bool keepRightMarker,
                      int startPosition)
{
    results.clear();
    // An empty left marker would be found again and again at the same place.
    if (leftMarker.empty()) {
        return 0;
    }
    const int leftLength = static_cast<int>(leftMarker.size());
    int searchPosition = startPosition;
    for (;;) {
        const int left = FindText(text, leftMarker, searchPosition, caseSensitive);
        if (left < 1) {
            break;
        }
        const int hitStart = left + leftLength;
        const int right = FindText(text, rightMarker, hitStart, caseSensitive);
        if (right == -1) {
            break;
        }
        const Text hit = TrimSpaces(MidText(text, hitStart, right - hitStart));
        if (hit.empty()) {
            break;
        }
        if (maxLength != 0 && static_cast<int>(hit.size()) > maxLength) {
            break;
        }
        results.push_back(decorateHit(hit, leftMarker, rightMarker, prefix, suffix, keepLeftMarker,
                                      keepRightMarker));
        // The right marker itself may open the next hit.
        searchPosition = right;
    }
    return static_cast<int>(results.size());
}

Text ExtractBetween(const Text& text, const Text& leftMarker, const Text& rightMarker,
                    int startPosition, bool caseSensitive)
{
    const Text left = expandQuotePlaceholder(leftMarker);
    const Text right = expandQuotePlaceholder(rightMarker);
    const int leftPosition = FindText(text, left, startPosition, caseSensitive);
    if (leftPosition == -1) {
        return {};
    }
    const int hitStart = leftPosition + static_cast<int>(left.size());
    const int rightPosition = FindText(text, right, hitStart, caseSensitive);
    if (rightPosition == -1) {
        return {};
    }
    return MidText(text, hitStart, rightPosition - hitStart);
}

} // namespace brisma
