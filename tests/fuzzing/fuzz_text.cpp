// Feeds arbitrary bytes to the GBK text tools: FindText, ReplaceText,
// ExtractBetween and ExtractBetweenAll with arbitrary markers and options.
// Besides the sanitizers' checks it asserts what must hold for any input.
#include "text/extract.h"
#include "text/primitives.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace brisma;

namespace {

// Takes a piece of up to 255 bytes, its length given by the next byte.
Text takePiece(const std::uint8_t*& data, std::size_t& size)
{
    if (size == 0) {
        return {};
    }
    std::size_t length = std::min<std::size_t>(*data, size - 1);
    Text piece(reinterpret_cast<const char*>(data + 1), length);
    data += length + 1;
    size -= length + 1;
    return piece;
}

int takeInt(const std::uint8_t*& data, std::size_t& size)
{
    if (size == 0) {
        return 0;
    }
    int value = static_cast<std::int8_t>(*data);
    ++data;
    --size;
    return value;
}

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int flags = takeInt(data, size);
    const int start = takeInt(data, size);
    const int maxLength = takeInt(data, size);
    const Text left = takePiece(data, size);
    const Text right = takePiece(data, size);
    const Text prefix = takePiece(data, size);
    const Text text(reinterpret_cast<const char*>(data), size);
    const bool caseSensitive = flags & 1;

    const int found = FindText(text, left, start, caseSensitive);
    check(found == -1 || (found >= 1 && static_cast<std::size_t>(found) <= text.size()));
    if (found != -1 && caseSensitive) {
        check(std::memcmp(text.data() + found - 1, left.data(), left.size()) == 0);
    }

    const Text replaced = ReplaceText(text, left, right, caseSensitive);
    if (left.empty()) {
        check(replaced == text);
    }

    const Text between = ExtractBetween(text, left, right, start, caseSensitive);
    check(between.size() <= text.size());

    TextArray results{"stale"};
    const int count = ExtractBetweenAll(text, left, right, results, caseSensitive, maxLength,
                                        prefix, {}, flags & 2, flags & 4, start);
    check(count == static_cast<int>(results.size()));
    if (left.empty()) {
        check(count == 0);
    }
    return 0;
}
