#include "web/url.h"

#include "text/extract.h"
#include "text/primitives.h"

#include <climits>
#include <cstdint>

namespace brisma::web {
namespace {

const Text secureScheme = "https://";
const Text plainScheme = "http://";

// Lower-cases the ASCII letters; both bytes of a two-byte character stay.
Text lowerCaseAscii(const Text& text)
{
    Text result = text;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const auto byte = static_cast<unsigned char>(result[i]);
        if (byte >= 0x80) {
            ++i;
        } else if (byte >= 'A' && byte <= 'Z') {
            result[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return result;
}

Text lastTwoDomainPieces(const Text& host)
{
    const TextArray pieces = SplitText(host, ".");
    if (pieces.size() < 2) {
        return host;
    }
    return pieces[pieces.size() - 2] + "." + pieces.back();
}

Text withoutPort(const Text& host)
{
    const int colon = FindText(host, ":");
    return colon == -1 ? host : host.substr(0, static_cast<std::size_t>(colon) - 1);
}

int lastColon(const Text& text)
{
    int last = -1;
    for (int found = FindText(text, ":"); found != -1; found = FindText(text, ":", found + 1)) {
        last = found;
    }
    return last;
}

// Leading blanks, one sign, then decimal digits up to the first other byte;
// no digits give 0. Values beyond the 32-bit range stop at its ends.
int leadingInteger(const Text& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<std::int64_t>(INT_MAX) + 1) {
            value = static_cast<std::int64_t>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

bool beginsWithHttps(const Text& url)
{
    return lowerCaseAscii(url.substr(0, 5)) == "https";
}

} // namespace

Text UrlHost(const Text& url, bool domainOnly, bool keepPort)
{
    Text s = lowerCaseAscii(url);
    if (s.empty() || s.back() != '/') {
        s += '/';
    }
    Text schemeMarker = plainScheme;
    if (s.compare(0, secureScheme.size(), secureScheme) == 0) {
        schemeMarker = secureScheme;
    } else if (FindText(s, plainScheme) == -1) {
        s = plainScheme + s;
    }
    Text host = ExtractBetween(s, schemeMarker, "/");
    if (domainOnly) {
        host = lastTwoDomainPieces(host);
    }
    if (!keepPort) {
        host = withoutPort(host);
    }
    return host;
}

int UrlPort(const Text& url)
{
    const Text host = UrlHost(url, false, true);
    const int colon = lastColon(host);
    if (colon == -1) {
        return beginsWithHttps(url) ? 443 : 80;
    }
    return leadingInteger(host.substr(static_cast<std::size_t>(colon)));
}

Text UrlPath(const Text& url)
{
    const Text host = UrlHost(url);
    const int hostPosition = FindText(url, host, 1, false);
    const int slash = FindText(url, "/", hostPosition, false);
    if (slash == -1) {
        return "/";
    }
    return url.substr(static_cast<std::size_t>(slash) - 1);
}

} // namespace brisma::web
