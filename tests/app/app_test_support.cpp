#include "app_test_support.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace brisma::test {

int RecordingSkin::attachEx(const Text& skinFile, const Text& reserved)
{
    std::lock_guard lock(m_mutex);
    m_attaches.emplace_back(skinFile, reserved);
    return 1;
}

int RecordingSkin::adjustHSV(int hue, int saturation, int value)
{
    std::lock_guard lock(m_mutex);
    m_tints.emplace_back(hue, saturation, value);
    return 1;
}

std::vector<std::pair<Text, Text>> RecordingSkin::attaches() const
{
    std::lock_guard lock(m_mutex);
    return m_attaches;
}

std::vector<std::tuple<int, int, int>> RecordingSkin::tints() const
{
    std::lock_guard lock(m_mutex);
    return m_tints;
}

TestToolkit::TestToolkit()
{
    setExitHandler([](int) {});
}

bool processEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::yield();
    }
    return true;
}

QMessageBox* visibleMessageBox()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

QColor pixelOf(QWidget& widget, int x, int y)
{
    return widget.grab().toImage().pixelColor(x, y);
}

TemporaryFolder::TemporaryFolder()
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "brisma-app-test.XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
    }
}

TemporaryFolder::~TemporaryFolder()
{
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value) : m_name(name)
{
    const char* old = std::getenv(name);
    m_hadValue = old != nullptr;
    if (m_hadValue) {
        m_oldValue = old;
    }
    ::setenv(name, value.c_str(), 1);
}

ScopedEnvironment::~ScopedEnvironment()
{
    if (m_hadValue) {
        ::setenv(m_name.c_str(), m_oldValue.c_str(), 1);
    } else {
        ::unsetenv(m_name.c_str());
    }
}

std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeTextFile(const std::string& path, const std::string& contents)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << contents;
}

} // namespace brisma::test
