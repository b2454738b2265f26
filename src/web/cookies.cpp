#include "web/cookies.h"

#include "text/primitives.h"

#include <algorithm>

namespace brisma::web {
namespace {

const Text itemSeparator = "; ";
const Text deletedMarker = "=deleted";

// A server deletes a cookie by setting it to "deleted".
bool isDeletedCookie(const Text& item)
{
    return item.size() >= deletedMarker.size() &&
           item.compare(item.size() - deletedMarker.size(), deletedMarker.size(), deletedMarker) ==
               0;
}

// Two ";" in a row leave an empty piece; it names no cookie and would only
// put a stray "; ;" into the next request.
TextArray cookieItems(const Text& text)
{
    TextArray items = SplitText(text, ";");
    items.erase(std::remove(items.begin(), items.end(), Text()), items.end());
    return items;
}

Text joinItems(const TextArray& items)
{
    Text joined;
    for (const Text& item : items) {
        if (!joined.empty()) {
            joined += itemSeparator;
        }
        joined += item;
    }
    return joined;
}

} // namespace

Text CookieName(const Text& item)
{
    const int equals = FindText(item, "=");
    return TrimSpaces(equals == -1 ? item : item.substr(0, static_cast<std::size_t>(equals) - 1));
}

bool HasCookieNamed(const TextArray& list, const Text& name)
{
    return std::any_of(list.begin(), list.end(),
                       [&name](const Text& item) { return CookieName(item) == name; });
}

int IndexOfItem(const TextArray& list, const Text& text)
{
    const auto it = std::find(list.begin(), list.end(), text);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin()) + 1;
}

Text RemoveDuplicateItems(const Text& text, const Text& separator)
{
    TextArray seen;
    Text result;
    for (const Text& piece : SplitText(text, separator)) {
        if (IndexOfItem(seen, piece) == -1) {
            seen.push_back(piece);
            result += piece + separator;
        }
    }
    if (!result.empty()) {
        result.erase(result.size() - separator.size());
    }
    return result;
}

Text MergeCookies(Text& oldCookies, Text& newCookies)
{
    oldCookies = RemoveAllSpaces(oldCookies);
    newCookies = RemoveAllSpaces(newCookies);
    const TextArray oldItems = cookieItems(oldCookies);
    TextArray merged = cookieItems(newCookies);
    for (const Text& item : oldItems) {
        if (!HasCookieNamed(merged, CookieName(item))) {
            merged.push_back(item);
        }
    }
    merged.erase(std::remove_if(merged.begin(), merged.end(), isDeletedCookie), merged.end());
    oldCookies = RemoveDuplicateItems(joinItems(merged), itemSeparator);
    return oldCookies;
}

} // namespace brisma::web
