#include "app/controls.h"
#include "app/message_box.h"
#include "app/qt_conversions.h"
#include "app/report_list.h"
#include "app_test_support.h"
#include "support/raw_http_server.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <thread>
#include <unistd.h>

using namespace brisma;
using namespace brisma::app;
using namespace std::chrono_literals;

namespace {

// Presses `button` on the first message box that shows up, from inside
// whatever event loop is running; records the box's text first.
void answerNextBox(QMessageBox::StandardButton button, QString* text = nullptr)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, button, text] {
        QMessageBox* box = test::visibleMessageBox();
        if (box == nullptr) {
            return;
        }
        if (text != nullptr) {
            *text = box->text();
        }
        poll->deleteLater();
        if (button == QMessageBox::Escape) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            box->button(button)->click();
        }
    });
    poll->start(5);
}

struct BoxCase
{
    int flags;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon;
};

TEST(MessageBox, FlagsGiveButtonsIconAndTheCaption)
{
    const BoxCase cases[] = {
        {platform::MessageOk, QMessageBox::Ok, QMessageBox::NoIcon},
        {platform::MessageYesNoQuestion, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question},
        {platform::MessageOkInformation, QMessageBox::Ok, QMessageBox::Information},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.flags);
        std::unique_ptr<QMessageBox> box(createMessageBox("内容", c.flags));
        EXPECT_EQ(box->standardButtons(), c.buttons);
        EXPECT_EQ(box->icon(), c.icon);
        EXPECT_EQ(box->windowTitle(), QStringLiteral(u"信息："));
        EXPECT_EQ(box->text(), QStringLiteral(u"内容"));
        EXPECT_EQ(box->parentWidget(), nullptr);
        EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    }
}

struct AnswerCase
{
    int flags;
    QMessageBox::StandardButton press;
    int answer;
};

TEST(MessageBox, AnswersOnTheUserInterfaceThread)
{
    const AnswerCase cases[] = {
        {platform::MessageOk, QMessageBox::Ok, platform::AnswerOk},
        {platform::MessageYesNoQuestion, QMessageBox::Yes, platform::AnswerYes},
        {platform::MessageYesNoQuestion, QMessageBox::No, platform::AnswerNo},
        // Escape on a Yes/No box counts as No; on an OK box as OK.
        {platform::MessageYesNoQuestion, QMessageBox::Escape, platform::AnswerNo},
        {platform::MessageOkInformation, QMessageBox::Escape, platform::AnswerOk},
    };
    test::TestToolkit toolkit;
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.press);
        answerNextBox(c.press);
        EXPECT_EQ(toolkit.messageBox("问题", c.flags), c.answer);
    }
}

TEST(MessageBox, TextIsNeverMarkup)
{
    test::TestToolkit toolkit;
    QString shown;
    answerNextBox(QMessageBox::Ok, &shown);
    toolkit.messageBox("<b>粗体</b>&amp;", platform::MessageOk);
    EXPECT_EQ(shown, QStringLiteral(u"<b>粗体</b>&amp;"));
}

TEST(MessageBox, FromAWorkerBlocksOnlyThatWorker)
{
    test::TestToolkit toolkit;
    std::atomic<int> answer{-1};
    std::thread worker(
        [&] { answer = toolkit.messageBox("来自线程", platform::MessageYesNoQuestion); });

    ASSERT_TRUE(test::processEventsUntil([] { return test::visibleMessageBox() != nullptr; }));
    // The user-interface thread is free while the worker waits: its timers run.
    bool timerRan = false;
    QTimer::singleShot(1, [&] { timerRan = true; });
    EXPECT_TRUE(test::processEventsUntil([&] { return timerRan; }));
    EXPECT_EQ(answer.load(), -1);

    QMessageBox* box = test::visibleMessageBox();
    EXPECT_EQ(box->text(), QStringLiteral(u"来自线程"));
    box->button(QMessageBox::Yes)->click();
    ASSERT_TRUE(test::processEventsUntil([&] { return answer.load() != -1; }));
    worker.join();
    EXPECT_EQ(answer.load(), platform::AnswerYes);
}

TEST(WorkerCalls, TakeEffectBeforeTheyReturn)
{
    test::TestToolkit toolkit;
    ReportListWidget widget;
    widget.setColumns({{"标题", 100}, {"日期", 50}});
    QtReportList list(&widget);

    std::atomic<bool> calling{false};
    std::atomic<bool> returned{false};
    std::atomic<int> row{-2};
    std::thread worker([&] {
        calling = true;
        row = list.insertRow();
        list.setCell(0, 1, "二〇二四");
        returned = true;
    });
    while (!calling) {
        std::this_thread::yield();
    }
    // Without the user-interface thread the calls cannot finish.
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(returned.load());

    ASSERT_TRUE(test::processEventsUntil([&] { return returned.load(); }));
    worker.join();
    EXPECT_EQ(row.load(), 0);
    EXPECT_EQ(widget.rowCount(), 1);
    EXPECT_EQ(widget.cell(0, 1), "二〇二四");
}

// Ends the toolkit's message loop as soon as it runs.
int runAndEndMessageLoop(QtToolkit& toolkit)
{
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    return toolkit.runMessageLoop();
}

TEST(WorkerCalls, DoNothingOnceTheMessageLoopHasEnded)
{
    test::TestToolkit toolkit;
    ReportListWidget widget;
    widget.setColumns({{"标题", 100}});
    QtReportList list(&widget);
    QLabel labelWidget;
    labelWidget.hide();
    QtLabel label(&labelWidget);
    runAndEndMessageLoop(toolkit);

    auto calls = std::async(std::launch::async, [&] {
        const int row = list.insertRow();
        list.setCell(0, 0, "晚了");
        label.setVisible(true);
        const int answer = toolkit.messageBox("晚了", platform::MessageOk);
        return std::pair(row, answer);
    });
    ASSERT_EQ(calls.wait_for(5s), std::future_status::ready)
        << "a call waited for a loop that is gone";
    const auto [row, answer] = calls.get();
    EXPECT_EQ(row, -1);
    EXPECT_EQ(answer, platform::AnswerCancel);
    EXPECT_EQ(widget.rowCount(), 0);
    EXPECT_TRUE(labelWidget.isHidden());
    EXPECT_EQ(test::visibleMessageBox(), nullptr);
}

TEST(WorkerCalls, AWorkerWaitingForAnAnswerIsReleasedWhenTheLoopEnds)
{
    test::TestToolkit toolkit;
    auto answer = std::async(std::launch::async, [&] {
        return toolkit.messageBox("等待中", platform::MessageYesNoQuestion);
    });
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        if (test::visibleMessageBox() != nullptr) {
            poll->deleteLater();
            QCoreApplication::quit();
        }
    });
    poll->start(5);
    toolkit.runMessageLoop();

    ASSERT_EQ(answer.wait_for(5s), std::future_status::ready);
    EXPECT_NE(answer.get(), platform::AnswerYes);
    EXPECT_EQ(test::visibleMessageBox(), nullptr);
}

TEST(WorkerThreads, StartReturnsAtOnceAndTheThreadRunsOnItsOwn)
{
    test::TestToolkit toolkit;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> finished{false};
    toolkit.startThread([released, &finished] {
        released.wait();
        finished = true;
    });
    EXPECT_EQ(toolkit.runningThreads(), 1);
    EXPECT_FALSE(finished.load());
    release.set_value();
    ASSERT_TRUE(test::processEventsUntil([&] { return toolkit.runningThreads() == 0; }));
    EXPECT_TRUE(finished.load());
}

TEST(ReadUrl, GivesTheBodyWhateverTheStatus)
{
    const std::string body("版本\0二进制", 11);
    test::RawHttpServer server([&](const std::string& request) {
        const std::string status =
            test::RawHttpServer::target(request) == "/missing" ? "404 Not Found" : "200 OK";
        return test::ScriptedReply{test::RawHttpServer::response(status, "", body)};
    });
    test::TestToolkit toolkit;
    EXPECT_EQ(toolkit.readUrl(server.url("/vorpel.txt")), Bytes(body.begin(), body.end()));
    EXPECT_EQ(toolkit.readUrl(server.url("/missing")), Bytes(body.begin(), body.end()));
}

TEST(ReadUrl, IsEmptyOnFailure)
{
    test::RawHttpServer server([](const std::string&) {
        return test::ScriptedReply{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort", true};
    });
    test::TestToolkit toolkit;
    const std::string refused =
        "http://127.0.0.1:" + std::to_string(test::RawHttpServer::closedPort()) + "/";
    const Text addresses[] = {
        refused,                  // nothing listens
        server.url("/cut-short"), // connection closed before the whole body
        "file:///etc/hostname",   // not a web address
        "ftp://127.0.0.1/x",
        "",
    };
    for (const Text& address : addresses) {
        SCOPED_TRACE(address);
        EXPECT_TRUE(toolkit.readUrl(address).empty());
    }
}

TEST(WriteFile, ReplacesTheFileWhileAReaderKeepsTheOldOne)
{
    test::TemporaryFolder folder;
    const std::string path = folder.path() + "/jedata.dll";
    test::writeTextFile(path, "old contents, longer than the new ones");
    const int reader = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(reader, 0);

    test::TestToolkit toolkit;
    const Bytes contents = {'M', 'Z', 0, 1, 2};
    EXPECT_TRUE(toolkit.writeFile(path, contents));

    EXPECT_EQ(test::readFile(path), std::string("MZ\0\1\2", 5));
    char old[3] = {};
    EXPECT_EQ(::read(reader, old, 3), 3);
    EXPECT_EQ(std::string(old, 3), "old");
    ::close(reader);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(WriteFile, FailsIntoAMissingFolderAndLeavesNothing)
{
    test::TemporaryFolder folder;
    test::TestToolkit toolkit;
    EXPECT_FALSE(toolkit.writeFile(folder.path() + "/missing/win8.she", {'x'}));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(RuntimeError, NamesTheLibraryAndTheRoutineThenEndsTheProgram)
{
    const BindingFailure failures[] = {BindingFailure::LibraryNotFound,
                                       BindingFailure::RoutineNotFound};
    for (BindingFailure failure : failures) {
        test::TestToolkit toolkit;
        QString shown;
        answerNextBox(QMessageBox::Ok, &shown);
        toolkit.runtimeError("jedata.dll", "SkinH_AttachEx", failure);
        EXPECT_TRUE(shown.contains(u"jedata.dll")) << shown.toStdString();
        EXPECT_TRUE(shown.contains(u"SkinH_AttachEx")) << shown.toStdString();
        EXPECT_EQ(toolkit.exitCode(), 1);
    }
}

} // namespace
