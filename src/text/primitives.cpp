#include "text/primitives.h"

#include <cstring>

namespace brisma {
namespace {

constexpr unsigned char fullWidthSpaceByte = 0xA1;

bool isLeadByte(unsigned char byte)
{
    return byte >= 0x80;
}

unsigned char foldAscii(unsigned char byte)
{
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// Compares needle with the text at `at`, which must leave room for the whole
// needle. The needle's two-byte characters compare exactly; only its ASCII
// letters fold when case is ignored.
bool matchesAt(const unsigned char* at, const unsigned char* needle, std::size_t length,
               bool caseSensitive)
{
    if (caseSensitive) {
        return std::memcmp(at, needle, length) == 0;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (isLeadByte(needle[i])) {
            if (at[i] != needle[i]) {
                return false;
            }
            if (i + 1 < length) {
                ++i;
                if (at[i] != needle[i]) {
                    return false;
                }
            }
        } else if (foldAscii(at[i]) != foldAscii(needle[i])) {
            return false;
        }
    }
    return true;
}

// Finds the next byte at or after `from` that could begin the needle.
class FirstByteScanner
{
public:
    FirstByteScanner(const unsigned char* end, unsigned char first, bool caseSensitive)
        : m_end(end), m_lower(caseSensitive ? first : foldAscii(first)),
          m_upper(static_cast<unsigned char>(
              m_lower >= 'a' && m_lower <= 'z' ? m_lower - ('a' - 'A') : m_lower))
    {}

    const unsigned char* next(const unsigned char* from)
    {
        if (from >= m_end) {
            return nullptr;
        }
        const auto* lower = static_cast<const unsigned char*>(
            std::memchr(from, m_lower, static_cast<std::size_t>(m_end - from)));
        if (m_upper == m_lower) {
            return lower;
        }
        const auto* upper = static_cast<const unsigned char*>(
            std::memchr(from, m_upper, static_cast<std::size_t>((lower ? lower : m_end) - from)));
        return upper ? upper : lower;
    }

private:
    const unsigned char* m_end;
    unsigned char m_lower;
    unsigned char m_upper;
};

// True when `at` begins a character, given that `boundary` (<= at) does. The
// byte after any byte below 0x80 always begins a character, so only the run
// of high bytes right before `at` decides: an even run ends on a boundary.
bool isCharacterStart(const unsigned char* boundary, const unsigned char* at)
{
    std::size_t highRun = 0;
    const unsigned char* p = at;
    while (p > boundary && isLeadByte(p[-1])) {
        --p;
        ++highRun;
    }
    return highRun % 2 == 0;
}

} // namespace

int FindText(const Text& text, const Text& needle, int startPosition, bool caseSensitive)
{
    const std::size_t size = text.size();
    const std::size_t start = startPosition <= 1 ? 0 : static_cast<std::size_t>(startPosition) - 1;
    if (start >= size || needle.size() > size - start) {
        return -1;
    }
    if (needle.empty()) {
        return static_cast<int>(start) + 1;
    }
    const auto* base = reinterpret_cast<const unsigned char*>(text.data());
    const auto* pattern = reinterpret_cast<const unsigned char*>(needle.data());
    const unsigned char* lastStart = base + (size - needle.size());
    FirstByteScanner scanner(lastStart + 1, pattern[0], caseSensitive);

    // `boundary` is always a known character start at or before the scan point.
    const unsigned char* boundary = base + start;
    const unsigned char* candidate = scanner.next(boundary);
    while (candidate) {
        if (!isCharacterStart(boundary, candidate)) {
            boundary = candidate + 1; // candidate was a second byte
            candidate = scanner.next(boundary);
            continue;
        }
        if (matchesAt(candidate, pattern, needle.size(), caseSensitive)) {
            return static_cast<int>(candidate - base) + 1;
        }
        boundary = candidate + (isLeadByte(*candidate) ? 2 : 1);
        candidate = scanner.next(boundary);
    }
    return -1;
}

Text MidText(const Text& text, int position, int count)
{
    if (position < 1 || count <= 0 || static_cast<std::size_t>(position) > text.size()) {
        return {};
    }
    return text.substr(static_cast<std::size_t>(position) - 1, static_cast<std::size_t>(count));
}

namespace {

// Length of the space at `i` (1 or 2 bytes), or 0 when none stands there.
std::size_t spaceLengthAt(const Text& text, std::size_t i)
{
    if (text[i] == ' ') {
        return 1;
    }
    if (static_cast<unsigned char>(text[i]) == fullWidthSpaceByte && i + 1 < text.size() &&
        static_cast<unsigned char>(text[i + 1]) == fullWidthSpaceByte) {
        return 2;
    }
    return 0;
}

std::size_t characterLengthAt(const Text& text, std::size_t i)
{
    return isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

} // namespace

Text TrimSpaces(const Text& text)
{
    // Walks forward so that a full-width space is only ever taken at a
    // character start, never from the second byte of another character.
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t space = spaceLengthAt(text, begin);
        if (space == 0) {
            break;
        }
        begin += space;
    }
    std::size_t end = begin;
    for (std::size_t i = begin; i < text.size();) {
        std::size_t space = spaceLengthAt(text, i);
        if (space != 0) {
            i += space;
            continue;
        }
        i += characterLengthAt(text, i);
        end = i;
    }
    return text.substr(begin, end - begin);
}

Text ReplaceText(const Text& text, const Text& oldText, const Text& newText, bool caseSensitive)
{
    if (text.empty() || oldText.empty()) {
        return text;
    }
    Text result;
    result.reserve(text.size());
    int from = 1;
    for (int found = FindText(text, oldText, from, caseSensitive); found != -1;
         found = FindText(text, oldText, from, caseSensitive)) {
        result.append(text, static_cast<std::size_t>(from) - 1,
                      static_cast<std::size_t>(found - from));
        result += newText;
        from = found + static_cast<int>(oldText.size());
    }
    if (static_cast<std::size_t>(from) <= text.size()) {
        result.append(text, static_cast<std::size_t>(from) - 1);
    }
    return result;
}

TextArray SplitText(const Text& text, const Text& separator)
{
    TextArray pieces;
    if (text.empty()) {
        return pieces;
    }
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    int from = 1;
    for (int found = FindText(text, separator, from); found != -1;
         found = FindText(text, separator, from)) {
        pieces.push_back(text.substr(static_cast<std::size_t>(from) - 1,
                                     static_cast<std::size_t>(found - from)));
        from = found + static_cast<int>(separator.size());
    }
    if (static_cast<std::size_t>(from) <= text.size()) {
        pieces.push_back(text.substr(static_cast<std::size_t>(from) - 1));
    }
    return pieces;
}

Text RemoveAllSpaces(const Text& text)
{
    Text result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t space = spaceLengthAt(text, i);
        if (space != 0) {
            i += space;
            continue;
        }
        std::size_t length = characterLengthAt(text, i);
        result.append(text, i, length);
        i += length;
    }
    return result;
}

} // namespace brisma
