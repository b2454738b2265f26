#include "platform/vbscript_regexp.h"

#include "platform/com.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace brisma::platform::com;

namespace {

struct Hit
{
    std::u16string value;
    long firstIndex;

    bool operator==(const Hit&) const = default;
};

std::string narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            out += "\\u" + std::to_string(static_cast<unsigned>(c));
        }
    }
    return out;
}

void PrintTo(const Hit& hit, std::ostream* os)
{
    *os << "{" << narrow(hit.value) << " @" << hit.firstIndex << "}";
}

struct Options
{
    bool ignoreCase = false;
    bool multiline = false;
    bool global = true;
};

std::shared_ptr<VBScriptRegExp> engine(std::u16string_view pattern, Options options = {})
{
    auto regExp = std::make_shared<VBScriptRegExp>();
    regExp->setIgnoreCase(options.ignoreCase);
    regExp->setMultiline(options.multiline);
    regExp->setGlobal(options.global);
    regExp->setPattern(pattern);
    return regExp;
}

std::vector<Hit> hits(const RegExpMatchCollection& matches)
{
    std::vector<Hit> result;
    for (long i = 0; i < matches.Count(); ++i) {
        result.push_back({matches.Item(i)->Value(), matches.Item(i)->FirstIndex()});
    }
    return result;
}

struct MatchCase
{
    const char* name;
    std::u16string pattern;
    std::u16string subject;
    std::vector<Hit> expected;
    Options options = {};
};

// Each row is a place where the scripting engine's rules differ from what
// PCRE2 does by default.
TEST(VBScriptRegExp, MatchesByTheScriptingEnginesRules)
{
    const MatchCase cases[] = {
        {"\\s covers space, tab, LF, VT, FF and CR",
         u"\\s",
         u"a \t\n\v\f\r\u00A0\u3000",
         {{u" ", 1}, {u"\t", 2}, {u"\n", 3}, {u"\v", 4}, {u"\f", 5}, {u"\r", 6}}},
        {"a dot stops at LF but not at CR", u"a.", u"a\ra\na", {{u"a\r", 0}}},
        {"\\v is the vertical tab only", u"\\v", u"\n\v\f\r", {{u"\v", 1}}},
        {"$ without multiline: only at the very end, not before a final LF", u"a$", u"a\n", {}},
        {"$ without multiline at the end", u"a$", u"ba", {{u"a", 1}}},
        {"^ without multiline: only at the start", u"^b", u"a\nb", {}},
        {"multiline ^ and $ next to LF", u"^b$", u"a\nb\nc", {{u"b", 2}}, {false, true}},
        {"multiline ^ and $ next to CR", u"^b$", u"a\rb\rc", {{u"b", 2}}, {false, true}},
        {"multiline ^ at the start of every line",
         u"^.",
         u"ab\r\ncd",
         {{u"a", 0}, {u"c", 4}},
         {false, true}},
        {"an unknown letter escape is the letter", u"\\e\\y\\h", u"eyh", {{u"eyh", 0}}},
        {"\\u and \\x escapes", u"\\u4E2D\\x41", u"x\u4E2DA", {{u"\u4E2DA", 1}}},
        {"\\u without four hex digits is the letter u", u"\\u12", u"u12", {{u"u12", 0}}},
        {"octal escape beyond the group count", u"\\101", u"A", {{u"A", 0}}},
        {"\\8 is the digit", u"\\8", u"8", {{u"8", 0}}},
        {"\\c takes a control letter", u"\\cJ", u"\n", {{u"\n", 0}}},
        {"a back reference to a group not yet set matches empty", u"\\1(a)", u"a", {{u"a", 0}}},
        {"a back reference", u"(a)\\1", u"aab", {{u"aa", 0}}},
        {"[] matches nothing", u"a[]", u"a", {}},
        {"[^] matches anything, LF too", u"a[^]", u"a\n", {{u"a\n", 0}}},
        {"[ inside a class is a plain character", u"[[:a]]", u"a]", {{u"a]", 0}}},
        {"a dash after a class escape is literal", u"[\\d-z]", u"-q", {{u"-", 0}}},
        {"\\b inside a class is backspace", u"[\\b]", u"b\b", {{u"\b", 1}}},
        {"a lone brace is a plain character", u"a{,2}}", u"a{,2}}", {{u"a{,2}}", 0}}},
        {"braced quantifiers", u"a{2,3}", u"aaaa", {{u"aaa", 0}}},
        {"lazy quantifier", u"<.+?>", u"<a><b>", {{u"<a>", 0}, {u"<b>", 3}}},
        {"an empty match moves on by one", u"x*", u"ab", {{u"", 0}, {u"", 1}, {u"", 2}}},
        {"after a match an empty one may follow", u"a*", u"baa", {{u"", 0}, {u"aa", 1}, {u"", 3}}},
        {"without Global only the first match", u"a", u"aa", {{u"a", 0}}, {false, false, false}},
        {"FirstIndex counts UTF-16 units", u"abc", u"\u4E2D\u6587abc", {{u"abc", 2}}},
        {"case is kept by default", u"ABC", u"abc", {}},
        {"ignoring case folds ASCII", u"ABC", u"abc", {{u"abc", 0}}, {true}},
        {"ignoring case folds beyond ASCII",
         u"\u00C4\uFF21",
         u"\u00E4\uFF41",
         {{u"\u00E4\uFF41", 0}},
         {true}},
        {"\\w keeps to ASCII", u"\\w+", u"\u00E4ab", {{u"ab", 1}}},
        {"an empty pattern matches everywhere", u"", u"ab", {{u"", 0}, {u"", 1}, {u"", 2}}},
        {"lookahead", u"a(?=b)", u"acab", {{u"a", 2}}},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto regExp = engine(c.pattern, c.options);
        const auto matches = regExp->Execute(c.subject);
        ASSERT_NE(matches, nullptr);
        EXPECT_EQ(hits(*matches), c.expected);
    }
}

TEST(VBScriptRegExp, PatternsTheScriptingEngineRejectsFailExecuteAndReplace)
{
    const char16_t* const patterns[] = {
        u"(",     u"a)",      u"[a",      u"a\\",   u"*a",    u"a**",    u"a*+", u"a{2}*",
        u"[z-a]", u"(?<=a)b", u"(?<n>a)", u"(?i)a", u"(?>a)", u"(?#x)a", u"^*",  u"a{3,2}",
    };
    for (const char16_t* pattern : patterns) {
        SCOPED_TRACE(narrow(pattern));
        const auto regExp = engine(pattern);
        EXPECT_EQ(regExp->Execute(u"a"), nullptr);
        EXPECT_EQ(regExp->Replace(u"a", u"b"), std::nullopt);
    }
}

TEST(VBScriptRegExp, SubMatchesTellAGroupThatTookNoPartFromAnEmptyOne)
{
    const auto regExp = engine(u"(a)|(b)()");
    const auto matches = regExp->Execute(u"b");
    ASSERT_NE(matches, nullptr);
    ASSERT_EQ(matches->Count(), 1);
    const auto subMatches = matches->Item(0)->SubMatches();
    ASSERT_EQ(subMatches->Count(), 3);
    EXPECT_FALSE(subMatches->Item(0)->participated);
    EXPECT_TRUE(subMatches->Item(1)->participated);
    EXPECT_EQ(subMatches->Item(1)->value, u"b");
    EXPECT_TRUE(subMatches->Item(2)->participated);
    EXPECT_EQ(subMatches->Item(2)->value, u"");
    EXPECT_EQ(subMatches->Item(3), std::nullopt);
    EXPECT_EQ(subMatches->Item(-1), std::nullopt);
    EXPECT_EQ(matches->Item(1), nullptr);
    EXPECT_EQ(matches->Item(-1), nullptr);
}

struct ReplaceCase
{
    const char* name;
    std::u16string pattern;
    std::u16string subject;
    std::u16string replacement;
    std::u16string expected;
    bool global = true;
};

TEST(VBScriptRegExp, ReplaceExpandsDollarForms)
{
    const std::u16string twelveGroups = u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)";
    const ReplaceCase cases[] = {
        {"groups", u"(\\w)(\\d)", u"a1 b2", u"$2$1", u"1a 2b"},
        {"whole match, before and after", u"b", u"abc", u"[$`|$&|$']", u"a[a|b|c]c"},
        {"dollar dollar", u"b", u"abc", u"$$", u"a$c"},
        {"$10 with one group is group 1 and a zero", u"(b)", u"abc", u"$10", u"ab0c"},
        {"$0 and unknown forms stay", u"b", u"abc", u"$0$x$", u"a$0$x$c"},
        {"a group number beyond the groups stays", u"(b)", u"abc", u"$2", u"a$2c"},
        {"two-digit group", twelveGroups, u"abcdefghijkl", u"$12$11$01", u"lka"},
        {"a group that took no part is empty", u"(x)?b", u"abc", u"[$1]", u"a[]c"},
        {"without Global only the first", u"a", u"aaa", u"b", u"baa", false},
        {"with Global every match", u"a", u"aaa", u"b", u"bbb"},
        {"empty matches", u"x*", u"ab", u"-", u"-a-b-"},
        {"no match leaves the subject", u"z", u"abc", u"-", u"abc"},
        {"blank lines", u"\\n\\s*\\r", u"a\r\n  \r\nb", u"", u"a\r\nb"},
    };
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto regExp = engine(c.pattern, {false, true, c.global});
        EXPECT_EQ(regExp->Replace(c.subject, c.replacement), c.expected);
    }
}

TEST(VBScriptRegExp, SinglelineWriteFailsAndChangesNothing)
{
    const auto regExp = engine(u"a.b");
    EXPECT_FALSE(regExp->setSingleline(true));
    const auto matches = regExp->Execute(u"a\nb");
    ASSERT_NE(matches, nullptr);
    EXPECT_EQ(matches->Count(), 0);
}

TEST(VBScriptRegExp, ChangingAPropertyRecompiles)
{
    const auto regExp = engine(u"^b");
    EXPECT_EQ(regExp->Execute(u"a\nb")->Count(), 0);
    regExp->setMultiline(true);
    EXPECT_EQ(regExp->Execute(u"a\nb")->Count(), 1);
    regExp->setPattern(u"B");
    EXPECT_EQ(regExp->Execute(u"a\nb")->Count(), 0);
    regExp->setIgnoreCase(true);
    EXPECT_EQ(regExp->Execute(u"a\nb")->Count(), 1);
    regExp->setPattern(u"(");
    EXPECT_EQ(regExp->Execute(u"a\nb"), nullptr);
}

TEST(VBScriptRegExp, InvalidUtf16SubjectsDoNotBreakMatching)
{
    const std::u16string subject = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00), u'a'};
    const auto regExp = engine(u"a");
    const auto matches = regExp->Execute(subject);
    ASSERT_NE(matches, nullptr);
    EXPECT_EQ(hits(*matches), (std::vector<Hit>{{u"a", 0}, {u"a", 4}}));
    EXPECT_EQ(regExp->Replace(subject, u"x"),
              (std::u16string{u'x', char16_t(0xD800), u'b', char16_t(0xDC00), u'x'}));
}

TEST(VBScriptRegExp, IsCreatedByItsProgIdOnlyWithComInitialised)
{
    EXPECT_EQ(CreateObject("VBScript.RegExp"), nullptr);
    CoInitialize();
    EXPECT_NE(CreateObjectAs<VBScriptRegExp>("VBScript.RegExp"), nullptr);
    EXPECT_NE(CreateObjectAs<VBScriptRegExp>("vbscript.regexp"), nullptr);
    {
        ScopedCreationFailure failure("VBScript.RegExp");
        EXPECT_EQ(CreateObject("VBScript.RegExp"), nullptr);
    }
    EXPECT_NE(CreateObjectAs<VBScriptRegExp>("VBScript.RegExp"), nullptr);
    CoUninitialize();
}

TEST(VBScriptRegExp, StartsWithTheScriptingEnginesDefaults)
{
    VBScriptRegExp regExp;
    EXPECT_FALSE(regExp.IgnoreCase());
    EXPECT_FALSE(regExp.Multiline());
    EXPECT_FALSE(regExp.Global());
    EXPECT_EQ(regExp.Pattern(), u"");
}

} // namespace
