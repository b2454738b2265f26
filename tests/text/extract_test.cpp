#include "text/extract.h"

#include <gtest/gtest.h>

using namespace brisma;

namespace {

struct AllCase
{
    const char* name;
    Text text;
    Text left;
    Text right;
    TextArray expected;
    bool caseSensitive = false;
    int maxLength = 0;
    Text prefix = {};
    Text suffix = {};
    bool keepLeft = false;
    bool keepRight = false;
    int start = 0;
};

TEST(ExtractBetweenAll, Table)
{
    const AllCase cases[] = {
        {"every hit in order", "<b>1</b><b>2</b>", "<b>", "</b>", {"1", "2"}},
        {"hits are trimmed of spaces only",
         "<td> a </td><td> \r\nA\r\n </td>",
         "<td>",
         "</td>",
         {"a", "\r\nA\r\n"}},
        {"an empty hit ends the scan", "<td> a </td><td>  </td><td>b</td>", "<td>", "</td>", {"a"}},
        {"equal markers chain", "\"a\"b\"c\"", "\"", "\"", {"a", "b", "c"}},
        {"markers ignore case by default, on every hit",
         "<A HREF=1>x<a href=2>y",
         "<a href=",
         ">",
         {"1", "2"}},
        {"case-sensitive markers", "<A HREF=1>x<a href=2>y", "<a href=", ">", {"2"}, true},
        {"too long a hit ends the scan", "[abc][abcd][ab]", "[", "]", {"abc"}, false, 3},
        {"negative length limit stores nothing", "[a]", "[", "]", {}, false, -1},
        {"decorations and kept markers",
         "[x]",
         "[",
         "]",
         {"[(x)]"},
         false,
         0,
         "(",
         ")",
         true,
         true},
        {"a left marker without a right marker ends the scan", "[a][b", "[", "]", {"a"}},
        {"right marker only before the left one", "]x[", "[", "]", {}},
        {"start position", "[a][b]", "[", "]", {"b"}, false, 0, {}, {}, false, false, 4},
        {"empty right marker gives nothing", "[a]", "[", "", {}},
        {"empty left marker gives nothing", "a]b]", "", "]", {}},
        {"empty text", "", "[", "]", {}},
        // 0x81 0x40 then 'x': the marker "@x" would start at a second byte.
        {"no marker inside a two-byte character", "\x81\x40x]", "@x", "]", {}},
        {"Chinese hit", "alt=\"\xD6\xD0\xCE\xC4\" w", "alt=\"", "\"", {"\xD6\xD0\xCE\xC4"}},
    };
    for (const AllCase& c : cases) {
        SCOPED_TRACE(c.name);
        TextArray results;
        const int count =
            ExtractBetweenAll(c.text, c.left, c.right, results, c.caseSensitive, c.maxLength,
                              c.prefix, c.suffix, c.keepLeft, c.keepRight, c.start);
        EXPECT_EQ(results, c.expected);
        EXPECT_EQ(count, static_cast<int>(c.expected.size()));
    }
}

TEST(ExtractBetweenAll, EmptiesTheResultsFirst)
{
    TextArray results{"old", "older", "oldest"};
    EXPECT_EQ(ExtractBetweenAll("", "[", "]", results), 0);
    EXPECT_TRUE(results.empty());
}

TEST(ExtractBetweenAll, ManyHitsNeedNoRecursion)
{
    Text text;
    for (int i = 0; i < 200000; ++i) {
        text += "<i>x</i>";
    }
    TextArray results;
    EXPECT_EQ(ExtractBetweenAll(text, "<i>", "</i>", results), 200000);
}

TEST(ExtractBetween, Table)
{
    struct Case
    {
        const char* name;
        Text text;
        Text left;
        Text right;
        Text expected;
        int start = 0;
        bool caseSensitive = false;
    } cases[] = {
        {"first hit only, untrimmed", "[ a ][b]", "[", "]", " a "},
        {"quote placeholder in both markers", "<img src=\"p.jpg\" />", "src=#引号", "#引号",
         "p.jpg"},
        {"right marker only before the left one", "]x[y", "[", "]", ""},
        {"left marker missing", "abc", "[", "]", ""},
        {"case ignored by default", "<A HREF=\"x\">", "<a href=\"", "\"", "x"},
        {"case-sensitive", "<A HREF=\"x\">", "<a href=\"", "\"", "", 0, true},
        {"start position", "[a][b]", "[", "]", "b", 3},
        {"empty right marker gives empty", "[a]", "[", "", ""},
        {"empty left marker cuts from the first byte", "ab]c", "", "]", "ab"},
        {"line breaks stay", "x:\r\n v \r\ny", "x:", "y", "\r\n v \r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ExtractBetween(c.text, c.left, c.right, c.start, c.caseSensitive), c.expected);
    }
}

TEST(ExtractBetween, PlaceholderIsNotExpandedByExtractBetweenAll)
{
    TextArray results;
    EXPECT_EQ(ExtractBetweenAll("src=\"p\"", "src=#引号", "#引号", results), 0);
    EXPECT_EQ(ExtractBetweenAll("src=#引号p#引号", "src=#引号", "#引号", results), 1);
    EXPECT_EQ(results.at(0), "p");
}

} // namespace
