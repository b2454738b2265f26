#include "web/charset.h"

#include "platform/com.h"

#include <gtest/gtest.h>

#include <thread>

using namespace brisma;
using namespace brisma::web;

namespace {

Bytes bytes(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

TEST(ConvertCharset, Conversions)
{
    struct Case
    {
        const char* name;
        std::string data;
        Text from;
        Text to;
        std::optional<int> start;
        std::string expected;
    } cases[] = {
        {"utf-8 to gbk by default", "\xE4\xB8\xAD\xE6\x96\x87", "", "", {}, "\xD6\xD0\xCE\xC4"},
        {"ascii stays", "<html>abc</html>", "", "", {}, "<html>abc</html>"},
        {"empty stays empty", "", "", "", {}, ""},
        {"from a start position", "\xE4\xB8\xAD\xE6\x96\x87", "", "", 2, "\xCE\xC4"},
        {"a start position beyond the end", "abc", "", "", 10, ""},
        {"named defaults", "\xE4\xB8\xAD", "UTF-8", "GBK", {}, "\xD6\xD0"},
        {"a byte order mark in front goes",
         "\xEF\xBB\xBF"
         "a",
         "",
         "",
         {},
         "a"},
        {"invalid utf-8 comes out as ?",
         "a\xFF\xC3"
         "b",
         "",
         "",
         {},
         "a??b"},
        {"what gbk cannot hold is lost",
         "a\xE0\xB8\x81"
         "b",
         "",
         "",
         {},
         "a?b"},
        {"lost even when the target could hold it",
         "\xE0\xB8\x81",
         "utf-8",
         "utf-8",
         {},
         "\xEF\xBB\xBF?"},
        {"gbk to utf-8 writes the mark",
         "\xD6\xD0",
         "gbk",
         "utf-8",
         {},
         "\xEF\xBB\xBF\xE4\xB8\xAD"},
        {"and a start position skips it", "\xD6\xD0", "gbk", "utf-8", 3, "\xE4\xB8\xAD"},
        {"big5 to gbk", "\xA4\xA4", "big5", "gbk", {}, "\xD6\xD0"},
        {"an unknown source charset", "abc", "no-such", "", {}, ""},
        {"an unknown target charset", "abc", "", "no-such", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ConvertCharset(bytes(c.data), c.from, c.to, c.start), bytes(c.expected));
    }
}

TEST(ConvertCharset, WithoutTheStreamObjectTheResultIsEmpty)
{
    platform::com::ScopedCreationFailure unavailable("Adodb.Stream");
    EXPECT_EQ(ConvertCharset(bytes("abc")), Bytes());
}

TEST(ConvertCharset, LeavesTheThreadsComInitialisationAsItFoundIt)
{
    EXPECT_EQ(ConvertCharset(bytes("a")), bytes("a"));
    EXPECT_EQ(platform::com::initialisationCount(), 0);

    platform::com::CoInitialize();
    EXPECT_EQ(ConvertCharset(bytes("b")), bytes("b"));
    EXPECT_EQ(platform::com::initialisationCount(), 1);
    platform::com::CoUninitialize();

    std::thread worker([] {
        EXPECT_EQ(ConvertCharset(bytes("\xE4\xB8\xAD")), bytes("\xD6\xD0"));
        EXPECT_EQ(platform::com::initialisationCount(), 0);
    });
    worker.join();
}

} // namespace
