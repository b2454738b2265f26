#include "text/regex_object.h"

#include "platform/com.h"

#include <gtest/gtest.h>

using namespace brisma;
namespace com = brisma::platform::com;

namespace {

TEST(RegexObject, RemovesBlankLinesWithTheDefaults)
{
    RegexObject regex;
    EXPECT_TRUE(regex.Create("\\n\\s*\\r", "a\r\n  \r\nb"));
    EXPECT_EQ(regex.ReplaceMatches(""), "a\r\nb");
}

TEST(RegexObject, DefaultsIgnoreCaseAndAreMultilineAndGlobal)
{
    RegexObject regex;
    ASSERT_TRUE(regex.Create("^AB", "ab\nab\r\nAb"));
    EXPECT_EQ(regex.MatchCount(), 3);
    EXPECT_EQ(regex.ReplaceMatches("x"), "x\nx\r\nx");
}

TEST(RegexObject, OptionsGivenAreHandedToTheEngine)
{
    RegexObject regex;
    ASSERT_TRUE(regex.Create("^AB", "ab\nAB\nAB", true, false, false));
    EXPECT_EQ(regex.MatchCount(), 0);
    ASSERT_TRUE(regex.Create("AB", "ab\nAB\nAB", true, false, false));
    EXPECT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.ReplaceMatches("x"), "ab\nx\nAB");
}

TEST(RegexObject, AnInvalidPatternFailsAndReplacesToEmpty)
{
    RegexObject regex;
    EXPECT_FALSE(regex.Create("(", "subject"));
    EXPECT_EQ(regex.ReplaceMatches("x"), "");
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_EQ(regex.SubMatchCount(), 0);
    EXPECT_EQ(regex.MatchText(1), "");
    EXPECT_EQ(regex.GetPattern(), "(");
}

TEST(RegexObject, ExpandsTheQuotePlaceholderOnlyWhenAsked)
{
    RegexObject regex;
    ASSERT_TRUE(regex.Create("#引号(.*?)#引号", "src=\"p.jpg\" x", false, true, true, true));
    EXPECT_EQ(regex.GetPattern(), "\"(.*?)\"");
    EXPECT_EQ(regex.SubMatchText(1, 1), "p.jpg");

    ASSERT_TRUE(regex.Create("#引号(.*?)#引号", "src=\"p.jpg\" x"));
    EXPECT_EQ(regex.GetPattern(), "#引号(.*?)#引号");
    EXPECT_EQ(regex.MatchCount(), 0);
}

TEST(RegexObject, APatternThatMatchesNothingSucceedsWithNoMatches)
{
    RegexObject regex;
    EXPECT_TRUE(regex.Create("(z)", "abc"));
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_EQ(regex.SubMatchCount(), 0);
    EXPECT_EQ(regex.ReplaceMatches("x"), "abc");
    EXPECT_EQ(regex.MatchText(1), "");
}

TEST(RegexObject, MatchesAndSubMatchesCountFromOne)
{
    RegexObject regex;
    ASSERT_TRUE(regex.Create("(\\d)(x)?", "a1b2x"));
    EXPECT_EQ(regex.MatchCount(), 2);
    EXPECT_EQ(regex.SubMatchCount(), 2);
    EXPECT_EQ(regex.MatchText(1), "1");
    EXPECT_EQ(regex.MatchText(2), "2x");
    EXPECT_EQ(regex.SubMatchText(2, 1), "2");
    EXPECT_EQ(regex.SubMatchText(2, 2), "x");
    EXPECT_EQ(regex.SubMatchText(1, 2), ""); // took no part
    const int outside[][2] = {{0, 1}, {3, 1}, {-1, 1}, {1, 0}, {1, 3}};
    for (const auto& [index, subIndex] : outside) {
        SCOPED_TRACE(testing::Message() << index << "," << subIndex);
        EXPECT_EQ(regex.SubMatchText(index, subIndex), "");
        EXPECT_EQ(regex.MatchText(subIndex == 1 ? index : 0), "");
    }
}

TEST(RegexObject, TextsCrossAsGbk)
{
    RegexObject regex;
    ASSERT_TRUE(regex.Create("影片(截图)", "简介影片截图完"));
    EXPECT_EQ(regex.MatchText(1), "影片截图");
    EXPECT_EQ(regex.SubMatchText(1, 1), "截图");
    EXPECT_EQ(regex.ReplaceMatches("[$1]"), "简介[截图]完");
}

struct PositionCase
{
    const char* name;
    Text pattern;
    Text subject;
    int index;
    int subIndex; // 0: the match itself
    Text expectedText;
    int expectedPosition;
};

TEST(RegexObject, PositionIsTheByteOffsetInTheSubject)
{
    const PositionCase cases[] = {
        {"single-byte text before", "abc", "xxabc", 1, 0, "abc", 2},
        {"first byte", "x", "xxabc", 1, 0, "x", 0},
        {"a second match right behind the first", "a", "aa", 2, 0, "a", 1},
        {"two-byte characters before", "abc", "中文abc", 1, 0, "abc", 4},
        {"two-byte characters before, later match", "a", "中a文a", 2, 0, "a", 5},
        {"a match made of two-byte characters", "文", "中a文", 1, 0, "文", 3},
        {"sub-match: first occurrence at or after the match", "b(a)", "a中ba", 1, 1, "a", 4},
        {"sub-match ignoring case finds the first occurrence either way", "a(A)", "xaA", 1, 1, "A",
         1},
        {"empty match at the end", "$", "中a", 1, 0, "", 3},
    };
    for (const PositionCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegexObject regex;
        ASSERT_TRUE(regex.Create(c.pattern, c.subject));
        int position = -100;
        const Text text = c.subIndex == 0 ? regex.MatchText(c.index, &position)
                                          : regex.SubMatchText(c.index, c.subIndex, &position);
        EXPECT_EQ(text, c.expectedText);
        EXPECT_EQ(position, c.expectedPosition);
    }
}

TEST(RegexObject, AnUnavailableEngineGivesEmptyResults)
{
    com::ScopedCreationFailure failure("VBScript.RegExp");
    RegexObject regex;
    EXPECT_FALSE(regex.Create("a", "aaa"));
    EXPECT_EQ(regex.GetPattern(), "");
    EXPECT_EQ(regex.ReplaceMatches("b"), "");
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_EQ(regex.SubMatchCount(), 0);
    int position = -100;
    EXPECT_EQ(regex.MatchText(1, &position), "");
    EXPECT_EQ(regex.SubMatchText(1, 1, &position), "");
    EXPECT_EQ(position, -100);
}

TEST(RegexObject, PairsComInitialisationWithItsLifetime)
{
    const int before = com::initialisationCount();
    {
        RegexObject regex;
        EXPECT_EQ(com::initialisationCount(), before + 1);
        {
            RegexObject copy(regex);
            EXPECT_EQ(com::initialisationCount(), before + 2);
        }
        EXPECT_EQ(com::initialisationCount(), before + 1);
    }
    EXPECT_EQ(com::initialisationCount(), before);
}

TEST(RegexObject, ACopySharesTheEngineAndKeepsItsOwnSubject)
{
    RegexObject original;
    ASSERT_TRUE(original.Create("b", "abc"));
    RegexObject copy(original);
    ASSERT_TRUE(original.Create("z", "xyz"));

    EXPECT_EQ(copy.MatchText(1), "b");
    EXPECT_EQ(copy.ReplaceMatches("-"), "a-c");
    EXPECT_EQ(original.ReplaceMatches("-"), "xy-");

    RegexObject assigned;
    assigned = original;
    EXPECT_EQ(assigned.GetPattern(), "z");
    EXPECT_EQ(assigned.ReplaceMatches("+"), "xy+");
}

TEST(RegexObject, ReplacingLeavesTheMatchesAlone)
{
    RegexObject regex;
    ASSERT_TRUE(regex.Create("b", "abcb"));
    EXPECT_EQ(regex.ReplaceMatches("$&$&"), "abbcbb");
    EXPECT_EQ(regex.MatchCount(), 2);
    EXPECT_EQ(regex.ReplaceMatches(""), "ac");
}

} // namespace
