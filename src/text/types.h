#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brisma {

// All text of the program is GBK (code page 936) bytes. An empty Text and a
// missing one are the same thing.
using Text = std::string;

// Pictures, file contents and response bodies.
using Bytes = std::vector<std::uint8_t>;

// A growable list of Texts. Index 0 holds the first element.
using TextArray = std::vector<Text>;

// red + green * 256 + blue * 65536, as Windows packs a COLORREF.
using Rgb = std::uint32_t;

constexpr Rgb rgb(int red, int green, int blue)
{
    return static_cast<Rgb>(red) | static_cast<Rgb>(green) << 8 | static_cast<Rgb>(blue) << 16;
}

// The bytes up to the first zero byte, or all of them.
inline Text textFromBytes(const Bytes& bytes)
{
    Text text;
    for (std::uint8_t byte : bytes) {
        if (byte == 0) {
            break;
        }
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

inline Bytes bytesFromText(const Text& text)
{
    return Bytes(text.begin(), text.end());
}

} // namespace brisma
