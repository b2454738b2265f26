#include "text/primitives.h"

#include <gtest/gtest.h>

using namespace brisma;

namespace {

// 0x81 0x40 is a two-byte character whose second byte is '@'; 0xC4 0xE3 is 你;
// 0xD6 0xD0 is 中.
const Text chineseNi = "\xC4\xE3";
const Text twoByteWithAt = "\x81\x40";
const Text fullWidthSpace = "\xA1\xA1";

struct FindCase
{
    const char* name;
    Text text;
    Text needle;
    int start = 1;
    bool caseSensitive = true;
    int expected = -1;
};

TEST(FindText, Table)
{
    const FindCase cases[] = {
        {"first occurrence", "abcabc", "bc", 1, true, 2},
        {"from a start position", "abcabc", "bc", 3, true, 5},
        {"start below one searches from the first byte", "abc", "a", -5, true, 1},
        {"start one past the end finds nothing", "abc", "c", 4, true, -1},
        {"not found", "abc", "x", 1, true, -1},
        {"needle longer than the text", "ab", "abc", 1, true, -1},
        {"case-sensitive misses other case", "ABC", "b", 1, true, -1},
        {"case folded for ASCII letters", "xABC", "abc", 1, false, 2},
        {"no match at a second byte", twoByteWithAt + "x", "@x", 1, true, -1},
        {"no match at a second byte, folded", twoByteWithAt + "X", "@x", 1, false, -1},
        {"match behind a two-byte character", twoByteWithAt + "@x", "@x", 1, true, 3},
        {"GBK needle found", "a" + chineseNi + "b", chineseNi, 1, true, 2},
        // 0xC4 0x61 is a two-byte character with an 'a' as second byte; folding
        // must not turn a needle's GBK bytes into something else.
        {"GBK bytes never fold", "\xC4\x41", "\xC4\x61", 1, false, -1},
        {"truncated lead byte at the end", "ab\xC4", "\xC4", 1, true, 3},
        {"truncated lead byte is not a match start for what follows", "\xC4", "x", 1, true, -1},
        {"empty needle at the start position", "abc", "", 2, true, 2},
        {"empty needle in empty text", "", "", 1, true, -1},
        {"empty text", "", "a", 1, true, -1},
        {"a long run of two-byte characters", Text(200, '\xB0') + "a", "a", 1, true, 201},
        {"odd run puts the candidate on a second byte", Text(3, '\xB0') + "\x41" + "A", "A", 1,
         true, 5},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindText(c.text, c.needle, c.start, c.caseSensitive), c.expected);
    }
}

TEST(FindText, DefaultsToCaseSensitiveFromTheFirstByte)
{
    EXPECT_EQ(FindText("aA", "A"), 2);
}

TEST(MidText, Table)
{
    struct Case
    {
        const char* name;
        int position;
        int count;
        Text expected;
    } cases[] = {
        {"inside", 2, 3, "bcd"},     {"runs past the end", 4, 10, "de"},
        {"position zero", 0, 2, ""}, {"position beyond the end", 6, 1, ""},
        {"zero count", 1, 0, ""},    {"negative count", 1, -1, ""},
        {"last byte", 5, 1, "e"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MidText("abcde", c.position, c.count), c.expected);
    }
}

TEST(TrimSpaces, Table)
{
    struct Case
    {
        const char* name;
        Text text;
        Text expected;
    } cases[] = {
        {"ASCII spaces", "  a b  ", "a b"},
        {"full-width spaces", fullWidthSpace + "a" + fullWidthSpace, "a"},
        {"mixed runs", " " + fullWidthSpace + " x " + fullWidthSpace, "x"},
        {"tabs and line breaks stay", " \t\r\na\r\n ", "\t\r\na\r\n"},
        {"only spaces", "  " + fullWidthSpace, ""},
        {"empty", "", ""},
        // B0 A1 is a character ending in A1; the A1 A1 that a backward scan
        // would see across it is not a space.
        {"A1 after a lead byte is not a space", "x\xB0\xA1\xA1", "x\xB0\xA1\xA1"},
        {"lone A1 at the end stays", "x\xA1", "x\xA1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TrimSpaces(c.text), c.expected);
    }
}

TEST(ReplaceText, Table)
{
    struct Case
    {
        const char* name;
        Text text;
        Text oldText;
        Text newText;
        bool caseSensitive = true;
        Text expected;
    } cases[] = {
        {"every occurrence", "a-b-c", "-", "+", true, "a+b+c"},
        {"no overlap", "aaaa", "aa", "b", true, "bb"},
        {"goes on behind the replacement", "aaa", "a", "aa", true, "aaaaaa"},
        {"deletes", "<p>x</p>", "<p>", "", true, "x</p>"},
        {"case-sensitive", "A a", "a", "b", true, "A b"},
        {"case folded", "A a", "a", "b", false, "b b"},
        {"empty old gives the text unchanged", "abc", "", "x", true, "abc"},
        {"empty text", "", "a", "b", true, ""},
        {"no match at a second byte", twoByteWithAt + "@", "@", "#", true, twoByteWithAt + "#"},
        {"GBK text replaced", "a" + chineseNi + "b", chineseNi, "-", true, "a-b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReplaceText(c.text, c.oldText, c.newText, c.caseSensitive), c.expected);
    }
}

TEST(SplitText, Table)
{
    struct Case
    {
        const char* name;
        Text text;
        Text separator;
        TextArray expected;
    } cases[] = {
        {"pieces", "a;b;c", ";", {"a", "b", "c"}},
        {"empty text gives no pieces", "", ";", {}},
        {"separator at the end adds no empty piece", "a;b;", ";", {"a", "b"}},
        {"two separators give an empty piece", "a;;b", ";", {"a", "", "b"}},
        {"separator at the start gives an empty piece", ";a", ";", {"", "a"}},
        {"two-byte separator", "a\r\nb\r\n", "\r\n", {"a", "b"}},
        {"no separator", "abc", ";", {"abc"}},
        {"separator never found inside a character",
         twoByteWithAt + "x",
         "@",
         {twoByteWithAt + "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitText(c.text, c.separator), c.expected);
    }
}

TEST(RemoveAllSpaces, Table)
{
    EXPECT_EQ(RemoveAllSpaces(" a = 1 ;" + fullWidthSpace + "b=2 "), "a=1;b=2");
    EXPECT_EQ(RemoveAllSpaces(""), "");
    // A1 A1 across two characters (B0 A1, A1 B0) is not a full-width space.
    EXPECT_EQ(RemoveAllSpaces("\xB0\xA1\xA1\xB0"), "\xB0\xA1\xA1\xB0");
    EXPECT_EQ(RemoveAllSpaces(chineseNi + " " + chineseNi), chineseNi + chineseNi);
}

} // namespace
