// Feeds arbitrary bytes to the URL splitting and the cookie merge. Besides
// the sanitizers' checks it asserts what must hold for any input.
#include "text/primitives.h"
#include "web/cookies.h"
#include "web/url.h"

#include <cstdint>
#include <cstdlib>
#include <set>

using namespace brisma;

namespace {

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

bool endsWith(const Text& text, const Text& suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void fuzzUrl(const Text& url, std::uint8_t options)
{
    const Text host = web::UrlHost(url, options & 1, options & 2);
    check(host.size() <= url.size());
    (void)web::UrlPort(url);
    const Text path = web::UrlPath(url);
    check(!path.empty() && path.front() == '/');
    check(path == "/" || endsWith(url, path));
}

void fuzzCookies(const Text& oldText, const Text& newText, const Text& separator)
{
    Text oldCookies = oldText;
    Text newCookies = newText;
    const Text merged = web::MergeCookies(oldCookies, newCookies);
    check(merged == oldCookies);
    check(newCookies == RemoveAllSpaces(newText));
    check(!endsWith(merged, "; "));
    std::set<Text> seen;
    for (const Text& item : SplitText(merged, "; ")) {
        check(seen.insert(item).second);
    }
    (void)web::RemoveDuplicateItems(oldText, separator);
}

} // namespace

// The first byte holds the UrlHost options; the rest is cut at 0xFF bytes
// into an address (also the old cookies), the new cookies and a separator.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const Text rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t firstCut = rest.find('\xFF');
    const Text first = rest.substr(0, firstCut);
    const Text others = firstCut == Text::npos ? Text() : rest.substr(firstCut + 1);
    const std::size_t secondCut = others.find('\xFF');
    const Text second = others.substr(0, secondCut);
    const Text separator = secondCut == Text::npos ? Text("; ") : others.substr(secondCut + 1);

    fuzzUrl(first, data[0]);
    fuzzCookies(first, second, separator);
    return 0;
}
