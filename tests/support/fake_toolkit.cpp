#include "support/fake_toolkit.h"

#include "platform/codepage.h"

#include <fstream>

namespace brisma::test {

namespace {

// Events are logged in UTF-8 so that failing assertions read well.
std::string readable(const Text& text)
{
    return platform::gbkToUtf8(text);
}

} // namespace

void EventLog::add(std::string event)
{
    std::lock_guard lock(m_mutex);
    m_events.push_back(std::move(event));
}

std::vector<std::string> EventLog::events() const
{
    std::lock_guard lock(m_mutex);
    return m_events;
}

std::vector<std::string> EventLog::eventsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> matching;
    for (const std::string& event : events()) {
        if (event.rfind(prefix, 0) == 0) {
            matching.push_back(event);
        }
    }
    return matching;
}

FakeReportList::FakeReportList(std::shared_ptr<EventLog> log, std::string name)
    : m_log(std::move(log)), m_name(std::move(name))
{}

void FakeReportList::deleteAllRows()
{
    std::lock_guard lock(m_mutex);
    m_rows.clear();
    m_selected = -1;
    m_log->add(m_name + ".deleteAllRows");
}

int FakeReportList::insertRow()
{
    if (beforeInsert) {
        beforeInsert();
    }
    std::lock_guard lock(m_mutex);
    m_rows.emplace_back(3);
    const int row = static_cast<int>(m_rows.size()) - 1;
    m_log->add(m_name + ".insertRow " + std::to_string(row));
    return row;
}

void FakeReportList::setCell(int row, int column, const Text& text)
{
    std::lock_guard lock(m_mutex);
    if (row >= 0 && row < static_cast<int>(m_rows.size()) && column >= 0) {
        auto& cells = m_rows[static_cast<std::size_t>(row)];
        if (static_cast<std::size_t>(column) >= cells.size()) {
            cells.resize(static_cast<std::size_t>(column) + 1);
        }
        cells[static_cast<std::size_t>(column)] = text;
    }
    m_log->add(m_name + ".setCell " + std::to_string(row) + " " + std::to_string(column) + " " +
               readable(text));
}

Text FakeReportList::cell(int row, int column) const
{
    std::lock_guard lock(m_mutex);
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || column < 0) {
        return {};
    }
    const auto& cells = m_rows[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)]
                                                           : Text{};
}

int FakeReportList::selectedRow() const
{
    std::lock_guard lock(m_mutex);
    return m_selected;
}

int FakeReportList::rowCount() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_rows.size());
}

void FakeReportList::setTextColour(Rgb colour)
{
    std::lock_guard lock(m_mutex);
    m_textColour = colour;
    m_log->add(m_name + ".textColour " + std::to_string(colour));
}

void FakeReportList::setTextBackgroundColour(Rgb colour)
{
    std::lock_guard lock(m_mutex);
    m_textBackgroundColour = colour;
    m_log->add(m_name + ".textBackgroundColour " + std::to_string(colour));
}

void FakeReportList::setBackgroundColour(Rgb colour)
{
    std::lock_guard lock(m_mutex);
    m_backgroundColour = colour;
    m_log->add(m_name + ".backgroundColour " + std::to_string(colour));
}

void FakeReportList::select(int row)
{
    std::lock_guard lock(m_mutex);
    m_selected = row;
}

std::vector<std::vector<Text>> FakeReportList::rows() const
{
    std::lock_guard lock(m_mutex);
    return m_rows;
}

Rgb FakeReportList::textColour() const
{
    std::lock_guard lock(m_mutex);
    return m_textColour;
}

Rgb FakeReportList::textBackgroundColour() const
{
    std::lock_guard lock(m_mutex);
    return m_textBackgroundColour;
}

Rgb FakeReportList::backgroundColour() const
{
    std::lock_guard lock(m_mutex);
    return m_backgroundColour;
}

FakeLabel::FakeLabel(std::shared_ptr<EventLog> log, std::string name, bool visible)
    : m_log(std::move(log)), m_name(std::move(name)), m_visible(visible)
{}

void FakeLabel::setVisible(bool visible)
{
    std::lock_guard lock(m_mutex);
    m_visible = visible;
    m_log->add(m_name + ".visible " + (visible ? "1" : "0"));
}

void FakeLabel::setCaption(const Text& caption)
{
    std::lock_guard lock(m_mutex);
    m_caption = caption;
    m_log->add(m_name + ".caption " + readable(caption));
}

void FakeLabel::setFontFaceName(const Text& faceName)
{
    std::lock_guard lock(m_mutex);
    m_faceName = faceName;
    m_log->add(m_name + ".fontFaceName " + readable(faceName));
}

bool FakeLabel::visible() const
{
    std::lock_guard lock(m_mutex);
    return m_visible;
}

Text FakeLabel::caption() const
{
    std::lock_guard lock(m_mutex);
    return m_caption;
}

Text FakeLabel::fontFaceName() const
{
    std::lock_guard lock(m_mutex);
    return m_faceName;
}

FakeTimer::FakeTimer(std::shared_ptr<EventLog> log, std::string name, int period)
    : m_log(std::move(log)), m_name(std::move(name)), m_period(period)
{}

void FakeTimer::setPeriod(int milliseconds)
{
    m_period = milliseconds;
    m_log->add(m_name + ".period " + std::to_string(milliseconds));
}

FakePictureBox::FakePictureBox(std::shared_ptr<EventLog> log, std::string name)
    : m_log(std::move(log)), m_name(std::move(name))
{}

void FakePictureBox::setPicture(const Bytes& picture)
{
    m_picture = picture;
    m_log->add(m_name + ".picture " + std::to_string(picture.size()));
}

Bytes FakePictureBox::picture() const
{
    return m_picture;
}

FakeEditBox::FakeEditBox(std::shared_ptr<EventLog> log, std::string name)
    : m_log(std::move(log)), m_name(std::move(name))
{}

void FakeEditBox::setText(const Text& text)
{
    m_text = text;
    m_log->add(m_name + ".setText " + readable(text));
}

void FakeEditBox::appendText(const Text& text)
{
    m_text += text;
    m_log->add(m_name + ".appendText " + readable(text));
}

Text FakeEditBox::text() const
{
    return m_text;
}

FakeWindow::FakeWindow(std::shared_ptr<EventLog> log, std::string name)
    : m_log(std::move(log)), m_name(std::move(name))
{}

void FakeWindow::setCaption(const Text& caption)
{
    m_caption = caption;
    m_log->add(m_name + ".caption " + readable(caption));
}

FakeToolkit::FakeToolkit(std::shared_ptr<EventLog> log) : m_log(std::move(log))
{}

FakeToolkit::~FakeToolkit()
{
    joinThreads();
}

int FakeToolkit::messageBox(const Text& text, int flags)
{
    std::lock_guard lock(m_mutex);
    m_messages.push_back({text, flags});
    m_log->add("messageBox " + std::to_string(flags) + " " + readable(text));
    if (m_answers.empty()) {
        return platform::AnswerOk;
    }
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void FakeToolkit::startThread(std::function<void()> routine)
{
    std::lock_guard lock(m_mutex);
    ++m_threadsStarted;
    m_log->add("startThread");
    m_threads.emplace_back(std::move(routine));
}

Bytes FakeToolkit::readUrl(const Text& address)
{
    m_log->add("readUrl " + readable(address));
    return urlReader ? urlReader(address) : Bytes{};
}

void FakeToolkit::openInBrowser(const Text& address)
{
    std::lock_guard lock(m_mutex);
    m_opened.push_back(address);
    m_log->add("openInBrowser " + readable(address));
}

bool FakeToolkit::writeFile(const std::string& path, const Bytes& contents)
{
    m_log->add("writeFile " + path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(contents.data()),
              static_cast<std::streamsize>(contents.size()));
    return static_cast<bool>(out);
}

void FakeToolkit::exitProgram(int code)
{
    std::lock_guard lock(m_mutex);
    m_exitCode = code;
    m_log->add("exitProgram " + std::to_string(code));
}

void FakeToolkit::scriptAnswers(std::vector<int> answers)
{
    std::lock_guard lock(m_mutex);
    m_answers.assign(answers.begin(), answers.end());
}

std::vector<FakeToolkit::Message> FakeToolkit::messages() const
{
    std::lock_guard lock(m_mutex);
    return m_messages;
}

std::vector<Text> FakeToolkit::openedAddresses() const
{
    std::lock_guard lock(m_mutex);
    return m_opened;
}

std::optional<int> FakeToolkit::exitCode() const
{
    std::lock_guard lock(m_mutex);
    return m_exitCode;
}

int FakeToolkit::threadsStarted() const
{
    std::lock_guard lock(m_mutex);
    return m_threadsStarted;
}

void FakeToolkit::joinThreads()
{
    for (;;) {
        std::vector<std::thread> threads;
        {
            std::lock_guard lock(m_mutex);
            threads.swap(m_threads);
        }
        if (threads.empty()) {
            return;
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
    }
}

} // namespace brisma::test
