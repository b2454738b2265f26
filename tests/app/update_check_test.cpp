#include "app/update_check.h"

#include "support/fake_toolkit.h"

#include <gtest/gtest.h>

using namespace brisma;
using namespace brisma::platform;
using brisma::app::CheckForUpdate;

namespace {

struct UpdateCase
{
    const char* name;
    Bytes versionFile;
    std::vector<int> answers = {};
    bool passes = false;
    std::vector<int> boxFlags = {};
};

Bytes bytes(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

TEST(CheckForUpdate, Table)
{
    const UpdateCase cases[] = {
        {"exactly the version passes silently", bytes("1"), {}, true},
        {"bytes after a zero byte are not read", bytes(std::string_view("1\0xyz", 5)), {}, true},
        {"a line break is a mismatch; Yes at once", bytes("1\r\n"), {AnswerYes}, false, {36}},
        {"No then Yes", bytes("2"), {AnswerNo, AnswerYes}, false, {36, 36}},
        {"No twice shows the last box", bytes("2"), {AnswerNo, AnswerNo}, false, {36, 36, 64}},
        {"any other answer counts as No",
         bytes("2"),
         {AnswerCancel, AnswerOk},
         false,
         {36, 36, 64}},
        {"unreachable server gives an empty text", {}, {AnswerYes}, false, {36}},
    };
    Hosts hosts = Hosts::build();
    hosts.updateServer = "updates.example.test:8080";
    for (const UpdateCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto log = std::make_shared<test::EventLog>();
        test::FakeToolkit toolkit(log);
        toolkit.urlReader = [&](const Text&) { return c.versionFile; };
        toolkit.scriptAnswers(c.answers);

        EXPECT_EQ(CheckForUpdate(toolkit, hosts), c.passes);

        std::vector<int> flags;
        for (const auto& message : toolkit.messages()) {
            flags.push_back(message.flags);
        }
        EXPECT_EQ(flags, c.boxFlags);
        EXPECT_EQ(log->eventsStartingWith("readUrl"),
                  std::vector<std::string>{"readUrl http://updates.example.test:8080/vorpel.txt"});
        if (c.passes) {
            EXPECT_TRUE(toolkit.openedAddresses().empty());
            EXPECT_FALSE(toolkit.exitCode().has_value());
        } else {
            EXPECT_EQ(toolkit.openedAddresses(),
                      std::vector<Text>{"http://updates.example.test:8080"});
            EXPECT_EQ(toolkit.exitCode(), 0);
        }
    }
}

TEST(CheckForUpdate, BoxTexts)
{
    auto log = std::make_shared<test::EventLog>();
    test::FakeToolkit toolkit(log);
    toolkit.scriptAnswers({AnswerNo, AnswerNo});
    CheckForUpdate(toolkit, Hosts::build());
    const auto messages = toolkit.messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].text, "系统发现最新版本，请下载最新的版本。");
    EXPECT_EQ(messages[1].text, "当前不是最新版本，请下载最新的版本。");
    EXPECT_EQ(messages[2].text, "很抱歉，当前版本已失效停用，请下载最新版本使用。");
}

} // namespace
