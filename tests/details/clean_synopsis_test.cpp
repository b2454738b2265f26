#include "details/clean_synopsis.h"

#include "platform/com.h"

#include <gtest/gtest.h>

using namespace brisma;
using brisma::details::CleanSynopsis;
namespace com = brisma::platform::com;

namespace {

struct Case
{
    const char* name;
    Text text;
    Text trimmed;
    Text result;
};

TEST(CleanSynopsis, TrimsOneLineBreakEachEndAndRemovesBlankLines)
{
    const Case cases[] = {
        {"blank line between two lines", "\r\nA\r\n\r\nB\r\n", "A\r\n\r\nB", "A\r\nB"},
        {"a line of spaces goes with the empty line", "A\r\n \r\n\r\nB", "A\r\n \r\n\r\nB",
         "A\r\nB"},
        {"only one pair comes off the front", "\r\n\r\nA", "\r\nA", "\r\nA"},
        {"only one pair comes off the back", "A\r\n\r\n", "A\r\n", "A\r\n"},
        {"a single line break stays", "A\r\nB", "A\r\nB", "A\r\nB"},
        {"spaces opening a line of text stay", "A\r\n  B", "A\r\n  B", "A\r\n  B"},
        {"spaces closing a line of text stay", "A  \r\n\t\r\nB", "A  \r\n\t\r\nB", "A  \r\nB"},
        {"a line break alone", "\r\n", "", ""},
        {"LF then CR is removed whole", "\n\r", "\n\r", ""},
        {"empty", "", "", ""},
        {"GBK text", "\r\n影片\r\n\r\n简介\r\n", "影片\r\n\r\n简介", "影片\r\n简介"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Text text = c.text;
        EXPECT_EQ(CleanSynopsis(text), c.result);
        EXPECT_EQ(text, c.trimmed);
    }
}

TEST(CleanSynopsis, GivesEmptyWhenTheEngineIsUnavailableButStillTrims)
{
    com::ScopedCreationFailure failure("VBScript.RegExp");
    Text text = "\r\nA\r\nB\r\n";
    EXPECT_EQ(CleanSynopsis(text), "");
    EXPECT_EQ(text, "A\r\nB");
}

TEST(CleanSynopsis, LeavesTheThreadsComStateAsItFoundIt)
{
    const int before = com::initialisationCount();
    Text text = "A\r\n\r\nB";
    CleanSynopsis(text);
    EXPECT_EQ(com::initialisationCount(), before);
}

} // namespace
