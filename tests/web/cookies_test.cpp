#include "web/cookies.h"

#include <gtest/gtest.h>

using namespace brisma;
using namespace brisma::web;

namespace {

TEST(MergeCookies, ResponseCookiesWinThenTheCallersFollow)
{
    struct Case
    {
        const char* name;
        Text oldCookies;
        Text newCookies;
        Text merged;
    } cases[] = {
        {"a new value replaces the old", "a=1; b=2", "b=3; c=4", "b=3; c=4; a=1"},
        {"a deleted cookie goes, and its old value with it", "a=1; b=2", "b=deleted", "a=1"},
        {"nothing old", "", "x=1", "x=1"},
        {"nothing new", "a=1", "", "a=1"},
        {"nothing at all", "", "", ""},
        {"all spaces go, also inside values", "a = 1 ;b=2", "", "a=1; b=2"},
        {"full-width spaces go too",
         "a=\xA1\xA1"
         "1",
         "", "a=1"},
        {"exact repeats go", "", "x=1; x=1", "x=1"},
        {"two new values of one name both stay", "", "x=1; x=2", "x=1; x=2"},
        {"of old repeats only the first is carried", "a=1; a=2", "", "a=1"},
        {"names compare with case", "SID=1", "sid=2", "sid=2; SID=1"},
        {"an item without = is carried", "flag; a=1", "b=2", "b=2; flag; a=1"},
        {"an item without = is replaced by its name", "flag", "flag=1", "flag=1"},
        {"only the exact ending =deleted deletes", "", "x=undeleted; y=deleted", "x=undeleted"},
        {"a short item never counts as deleted", "deleted", "", "deleted"},
        {"a trailing ; adds no item", "a=1;", "", "a=1"},
        {"empty items are dropped", "a=1;;b=2", ";c=3", "c=3; a=1; b=2"},
        {"GBK values pass whole", "n=\xD6\xD0\xCE\xC4", "", "n=\xD6\xD0\xCE\xC4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Text oldCookies = c.oldCookies;
        Text newCookies = c.newCookies;
        EXPECT_EQ(MergeCookies(oldCookies, newCookies), c.merged);
        EXPECT_EQ(oldCookies, c.merged);
    }
}

TEST(MergeCookies, TheNewCookiesComeBackWithoutSpaces)
{
    Text oldCookies = "a=1";
    Text newCookies = "x=1; y=2";
    MergeCookies(oldCookies, newCookies);
    EXPECT_EQ(newCookies, "x=1;y=2");
}

TEST(MergeCookies, Helpers)
{
    EXPECT_EQ(CookieName(" sid =1=2"), "sid");
    EXPECT_EQ(CookieName("flag"), "flag");
    EXPECT_EQ(CookieName("=v"), "");

    const TextArray list = {"a=1", "b", "a=1"};
    EXPECT_TRUE(HasCookieNamed(list, "b"));
    EXPECT_TRUE(HasCookieNamed(list, "a"));
    EXPECT_FALSE(HasCookieNamed(list, "A"));
    EXPECT_FALSE(HasCookieNamed({}, ""));

    EXPECT_EQ(IndexOfItem(list, "a=1"), 1);
    EXPECT_EQ(IndexOfItem(list, "b"), 2);
    EXPECT_EQ(IndexOfItem(list, "c"), -1);

    EXPECT_EQ(RemoveDuplicateItems("a; b; a; c; b", "; "), "a; b; c");
    EXPECT_EQ(RemoveDuplicateItems("", "; "), "");
    EXPECT_EQ(RemoveDuplicateItems("x,,x,", ","), "x,");
}

} // namespace
