#pragma once

#include "platform/toolkit.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// A recording stand-in for the window toolkit: every call lands in one shared
// log, in order, and message boxes are answered from a script.
namespace brisma::test {

class EventLog
{
public:
    void add(std::string event);
    std::vector<std::string> events() const;
    // The events that start with `prefix`, in order.
    std::vector<std::string> eventsStartingWith(const std::string& prefix) const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_events;
};

class FakeReportList : public platform::ReportList
{
public:
    FakeReportList(std::shared_ptr<EventLog> log, std::string name);

    void deleteAllRows() override;
    int insertRow() override;
    void setCell(int row, int column, const Text& text) override;
    Text cell(int row, int column) const override;
    int selectedRow() const override;
    int rowCount() const override;
    void setTextColour(Rgb colour) override;
    void setTextBackgroundColour(Rgb colour) override;
    void setBackgroundColour(Rgb colour) override;

    void select(int row);
    std::vector<std::vector<Text>> rows() const;
    Rgb textColour() const;
    Rgb textBackgroundColour() const;
    Rgb backgroundColour() const;

    // Runs before every insertRow; lets a test act between two operations.
    std::function<void()> beforeInsert;

private:
    std::shared_ptr<EventLog> m_log;
    std::string m_name;
    mutable std::mutex m_mutex;
    std::vector<std::vector<Text>> m_rows;
    int m_selected = -1;
    Rgb m_textColour = 0;
    Rgb m_textBackgroundColour = 0xFFFFFF;
    Rgb m_backgroundColour = 0xFFFFFF;
};

class FakeLabel : public platform::Label
{
public:
    FakeLabel(std::shared_ptr<EventLog> log, std::string name, bool visible = false);

    void setVisible(bool visible) override;
    void setCaption(const Text& caption) override;
    void setFontFaceName(const Text& faceName) override;

    bool visible() const;
    Text caption() const;
    Text fontFaceName() const;

private:
    std::shared_ptr<EventLog> m_log;
    std::string m_name;
    mutable std::mutex m_mutex;
    bool m_visible;
    Text m_caption;
    Text m_faceName;
};

class FakeTimer : public platform::Timer
{
public:
    FakeTimer(std::shared_ptr<EventLog> log, std::string name, int period = 0);
    void setPeriod(int milliseconds) override;
    int period() const { return m_period; }

private:
    std::shared_ptr<EventLog> m_log;
    std::string m_name;
    int m_period;
};

class FakePictureBox : public platform::PictureBox
{
public:
    FakePictureBox(std::shared_ptr<EventLog> log, std::string name);
    void setPicture(const Bytes& picture) override;
    Bytes picture() const override;

private:
    std::shared_ptr<EventLog> m_log;
    std::string m_name;
    Bytes m_picture;
};

class FakeEditBox : public platform::EditBox
{
public:
    FakeEditBox(std::shared_ptr<EventLog> log, std::string name);
    void setText(const Text& text) override;
    void appendText(const Text& text) override;
    Text text() const override;

private:
    std::shared_ptr<EventLog> m_log;
    std::string m_name;
    Text m_text;
};

class FakeWindow : public platform::Window
{
public:
    FakeWindow(std::shared_ptr<EventLog> log, std::string name);
    void setCaption(const Text& caption) override;
    Text caption() const { return m_caption; }

private:
    std::shared_ptr<EventLog> m_log;
    std::string m_name;
    Text m_caption;
};

class FakeToolkit : public platform::Toolkit
{
public:
    explicit FakeToolkit(std::shared_ptr<EventLog> log);
    ~FakeToolkit() override;

    int messageBox(const Text& text, int flags) override;
    void startThread(std::function<void()> routine) override;
    Bytes readUrl(const Text& address) override;
    void openInBrowser(const Text& address) override;
    bool writeFile(const std::string& path, const Bytes& contents) override;
    void exitProgram(int code) override;

    // Answers for the next message boxes, in order; AnswerOk once used up.
    void scriptAnswers(std::vector<int> answers);
    // What readUrl returns; empty Bytes unless set.
    std::function<Bytes(const Text&)> urlReader;

    struct Message
    {
        Text text;
        int flags;
    };
    std::vector<Message> messages() const;
    std::vector<Text> openedAddresses() const;
    std::optional<int> exitCode() const;
    int threadsStarted() const;
    // Joins every thread started so far (and those they start).
    void joinThreads();

private:
    std::shared_ptr<EventLog> m_log;
    mutable std::mutex m_mutex;
    std::deque<int> m_answers;
    std::vector<Message> m_messages;
    std::vector<Text> m_opened;
    std::optional<int> m_exitCode;
    std::vector<std::thread> m_threads;
    int m_threadsStarted = 0;
};

} // namespace brisma::test
