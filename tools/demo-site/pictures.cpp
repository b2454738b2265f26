#include "demo-site/pictures.h"

#include <array>
#include <cstddef>

// Embedded at build time from pictures/ (see make-pictures.sh).
extern const unsigned char demoPoster1[];
extern const std::size_t demoPoster1Size;
extern const unsigned char demoPoster2[];
extern const std::size_t demoPoster2Size;
extern const unsigned char demoPoster3[];
extern const std::size_t demoPoster3Size;
extern const unsigned char demoPoster4[];
extern const std::size_t demoPoster4Size;
extern const unsigned char demoShot1[];
extern const std::size_t demoShot1Size;
extern const unsigned char demoShot2[];
extern const std::size_t demoShot2Size;

namespace brisma::demo {

namespace {

struct Picture
{
    std::string_view name;
    const unsigned char* data;
    const std::size_t& size;
};

std::string_view bytesOf(const Picture& picture)
{
    return {reinterpret_cast<const char*>(picture.data), picture.size};
}

} // namespace

std::string_view picture(std::string_view name)
{
    static const std::array<Picture, 6> pictures{{
        {"poster-1.jpg", demoPoster1, demoPoster1Size},
        {"poster-2.jpg", demoPoster2, demoPoster2Size},
        {"poster-3.jpg", demoPoster3, demoPoster3Size},
        {"poster-4.jpg", demoPoster4, demoPoster4Size},
        {"shot-1.jpg", demoShot1, demoShot1Size},
        {"shot-2.jpg", demoShot2, demoShot2Size},
    }};
    for (const Picture& candidate : pictures) {
        if (candidate.name == name) {
            return bytesOf(candidate);
        }
    }
    return {};
}

} // namespace brisma::demo
