#include "details/default_poster.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>

using namespace brisma;

namespace {

struct Frame
{
    int marker;
    int height;
    int width;
    int components;
};

// The frame header of a JPEG, walking its segments from the start.
std::optional<Frame> frameOf(const Bytes& jpeg)
{
    std::size_t at = 2;
    while (at + 9 < jpeg.size() && jpeg[at] == 0xFF) {
        const int marker = jpeg[at + 1];
        if (marker >= 0xC0 && marker <= 0xC2) {
            return Frame{marker, jpeg[at + 5] << 8 | jpeg[at + 6], jpeg[at + 7] << 8 | jpeg[at + 8],
                         jpeg[at + 9]};
        }
        at += 2 + static_cast<std::size_t>(jpeg[at + 2] << 8 | jpeg[at + 3]);
    }
    return std::nullopt;
}

TEST(DefaultPoster, IsABaselineColourJpegOf213By160)
{
    const Bytes poster = details::DefaultPoster();
    ASSERT_GT(poster.size(), 4u);
    EXPECT_EQ(poster[0], 0xFF);
    EXPECT_EQ(poster[1], 0xD8);
    const std::optional<Frame> frame = frameOf(poster);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->marker, 0xC0); // baseline
    EXPECT_EQ(frame->width, 213);
    EXPECT_EQ(frame->height, 160);
    EXPECT_EQ(frame->components, 3);
}

} // namespace
