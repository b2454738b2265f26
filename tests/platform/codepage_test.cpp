#include "platform/codepage.h"

#include <gtest/gtest.h>

using namespace brisma;
using namespace brisma::platform;

namespace {

TEST(CodePage936, RoundTrips)
{
    struct Case
    {
        const char* name;
        Text gbk;
        std::u16string utf16;
    } cases[] = {
        {"ASCII", "abc", u"abc"},
        {"Chinese", "\xD7\xEE\xD0\xC2", u"最新"},
        {"euro sign at 0x80", "\x80", u"\u20AC"},
        {"user-defined area: first glyph of the spinner", "\xAA\xF3", u"\uE052"},
        {"user-defined area: last glyph of the spinner", "\xAC\xB0", u"\uE0CB"},
        {"start of the private-use mapping", "\xAA\xA1", u"\uE000"},
        {"full-width space", "\xA1\xA1", u"\u3000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(gbkToUtf16(c.gbk), c.utf16);
        EXPECT_EQ(utf16ToGbk(c.utf16), c.gbk);
    }
}

TEST(CodePage936, LiteralsAreCompiledAsGbk)
{
    const Text literal = "最新热门电影";
    EXPECT_EQ(literal, "\xD7\xEE\xD0\xC2\xC8\xC8\xC3\xC5\xB5\xE7\xD3\xB0");
}

TEST(CodePage936, CharactersOutsideBecomeQuestionMarks)
{
    EXPECT_EQ(utf16ToGbk(u"a\u0E01b"), "a?b");     // Thai
    EXPECT_EQ(utf16ToGbk(u"x\U0001F600y"), "x?y"); // outside the BMP
    EXPECT_EQ(utf16ToGbk(std::u16string(u"x") + char16_t(0xD800) + u"y"), "x?y");
}

TEST(CodePage936, BrokenInputStaysInsideItsBytes)
{
    // A lead byte at the very end and a lead byte followed by an invalid trail.
    const std::u16string truncated = gbkToUtf16("a\xC4");
    ASSERT_EQ(truncated.size(), 2u);
    EXPECT_EQ(truncated[0], u'a');
    const std::u16string badTrail = gbkToUtf16("\xC4\x0A"
                                               "b");
    EXPECT_FALSE(badTrail.empty());
    EXPECT_EQ(badTrail.back(), u'b');
}

TEST(CodePage936, Utf8Bridge)
{
    EXPECT_EQ(utf8ToGbk("\xE4\xB8\xAD\xE6\x96\x87"), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(gbkToUtf8("\xD6\xD0\xCE\xC4"), "\xE4\xB8\xAD\xE6\x96\x87");
}

} // namespace
