#include "platform/adodb_stream.h"

#include <gtest/gtest.h>

using namespace brisma;
using namespace brisma::platform::com;

namespace {

Bytes bytes(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

// A stream opened in binary with `content` written and the position back
// at 0, switched to text in `charset`.
AdodbStream textStreamOf(const Bytes& content, std::string_view charset)
{
    AdodbStream stream;
    EXPECT_TRUE(stream.setType(AdodbStream::adTypeBinary));
    EXPECT_TRUE(stream.Open());
    EXPECT_TRUE(stream.Write(content));
    EXPECT_TRUE(stream.setPosition(0));
    EXPECT_TRUE(stream.setType(AdodbStream::adTypeText));
    EXPECT_TRUE(stream.setCharset(charset));
    return stream;
}

// WriteText of `text` into a fresh stream in `charset`, read back as bytes.
Bytes writtenAs(std::u16string_view text, std::string_view charset)
{
    AdodbStream stream;
    EXPECT_TRUE(stream.Open());
    EXPECT_TRUE(stream.setCharset(charset));
    EXPECT_TRUE(stream.WriteText(text));
    EXPECT_TRUE(stream.setPosition(0));
    EXPECT_TRUE(stream.setType(AdodbStream::adTypeBinary));
    return stream.Read().value_or(bytes("(read failed)"));
}

TEST(AdodbStream, StartsAsAClosedTextStreamInUnicode)
{
    AdodbStream stream;
    EXPECT_EQ(stream.Type(), AdodbStream::adTypeText);
    EXPECT_EQ(stream.Charset(), "Unicode");
    EXPECT_FALSE(stream.setPosition(0));
    EXPECT_FALSE(stream.Read().has_value());
    EXPECT_FALSE(stream.Close());
    EXPECT_TRUE(stream.Open());
    EXPECT_FALSE(stream.Open());
}

TEST(AdodbStream, ReadTextDecodesAndSkipsTheCharsetsByteOrderMark)
{
    struct Case
    {
        const char* name;
        std::string content;
        const char* charset;
        std::u16string text;
    } cases[] = {
        {"utf-8", "\xE4\xB8\xAD\xE6\x96\x87", "utf-8", u"中文"},
        {"utf-8 with its mark", "\xEF\xBB\xBFok", "UTF-8", u"ok"},
        {"gbk", "\xD6\xD0\xCE\xC4", "gbk", u"中文"},
        {"gb2312 is read as code page 936", "\xAA\xF3", "gb2312", u"\uE052"},
        {"unicode with its mark",
         std::string("\xFF\xFE"
                     "a\0b\0",
                     6),
         "unicode", u"ab"},
        {"big-endian unicode", std::string("\0a", 2), "unicodeFFFE", u"a"},
        {"big5", "\xA4\xA4", "big5", u"中"},
        {"a mark of another charset stays", "\xEF\xBB\xBF", "iso-8859-1", u"\u00EF\u00BB\u00BF"},
        {"invalid utf-8 becomes replacement characters",
         "a\xFF"
         "b",
         "utf-8", u"a\uFFFDb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AdodbStream stream = textStreamOf(bytes(c.content), c.charset);
        EXPECT_EQ(stream.ReadText(), c.text);
        EXPECT_EQ(stream.Position(), static_cast<long>(c.content.size()));
    }
}

TEST(AdodbStream, WriteTextEncodesWithTheMarkOnlyAtTheStart)
{
    struct Case
    {
        const char* name;
        std::u16string text;
        const char* charset;
        std::string expected;
    } cases[] = {
        {"utf-8 gets EF BB BF", u"中", "utf-8", "\xEF\xBB\xBF\xE4\xB8\xAD"},
        {"unicode gets FF FE", u"a", "Unicode",
         std::string("\xFF\xFE"
                     "a\0",
                     4)},
        {"gbk has none", u"中文", "GBK", "\xD6\xD0\xCE\xC4"},
        {"what gbk cannot hold becomes ?", u"a\u0E01b", "gbk", "a?b"},
        {"empty text writes nothing", u"", "utf-8", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(writtenAs(c.text, c.charset), bytes(c.expected));
    }

    AdodbStream stream;
    stream.Open();
    stream.setCharset("utf-8");
    stream.WriteText(u"a");
    stream.WriteText(u"b", AdodbStream::adWriteLine);
    stream.setPosition(0);
    stream.setType(AdodbStream::adTypeBinary);
    EXPECT_EQ(stream.Read(), bytes("\xEF\xBB\xBF"
                                   "ab\r\n"));
}

TEST(AdodbStream, AnUnknownCharsetIsTakenButTextCannotPassThroughIt)
{
    AdodbStream stream = textStreamOf(bytes("abc"), "no-such-charset");
    EXPECT_EQ(stream.Charset(), "no-such-charset");
    EXPECT_FALSE(stream.ReadText().has_value());
    EXPECT_FALSE(stream.WriteText(u"x"));
    EXPECT_EQ(stream.Size(), 3);
}

TEST(AdodbStream, MembersRefuseTheWrongTypeAndLeaveTheStreamAlone)
{
    AdodbStream stream = textStreamOf(bytes("abc"), "utf-8");
    EXPECT_FALSE(stream.Write(bytes("x")));
    EXPECT_FALSE(stream.Read().has_value());
    EXPECT_FALSE(stream.setType(3));

    ASSERT_TRUE(stream.setPosition(1));
    EXPECT_FALSE(stream.setType(AdodbStream::adTypeBinary)); // only at position 0
    EXPECT_FALSE(stream.setCharset("gbk"));
    EXPECT_EQ(stream.Type(), AdodbStream::adTypeText);
    EXPECT_EQ(stream.Charset(), "utf-8");

    ASSERT_TRUE(stream.setPosition(0));
    ASSERT_TRUE(stream.setType(AdodbStream::adTypeBinary));
    EXPECT_FALSE(stream.ReadText().has_value());
    EXPECT_FALSE(stream.WriteText(u"x"));
    EXPECT_EQ(stream.Read(), bytes("abc"));
}

TEST(AdodbStream, PositionsCountBytesAndMayLieBeyondTheEnd)
{
    AdodbStream stream;
    stream.setType(AdodbStream::adTypeBinary);
    stream.Open();
    stream.Write(bytes("abcdef"));
    EXPECT_EQ(stream.Position(), 6);
    EXPECT_FALSE(stream.setPosition(-1));

    stream.setPosition(2);
    EXPECT_EQ(stream.Read(3), bytes("cde"));
    EXPECT_EQ(stream.Read(), bytes("f"));
    EXPECT_EQ(stream.Read(), Bytes());

    stream.setPosition(10);
    EXPECT_EQ(stream.Read(), Bytes());
    EXPECT_EQ(stream.Size(), 6);
    stream.Write(bytes("z"));
    EXPECT_EQ(stream.Size(), 11);
    stream.setPosition(1);
    stream.Write(bytes("XY"));
    stream.setPosition(0);
    EXPECT_EQ(stream.Read(), Bytes({'a', 'X', 'Y', 'd', 'e', 'f', 0, 0, 0, 0, 'z'}));

    EXPECT_TRUE(stream.Close());
    EXPECT_TRUE(stream.Open());
    EXPECT_EQ(stream.Size(), 0);
}

} // namespace
