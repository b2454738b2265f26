#pragma once

#include "app/qt_toolkit.h"
#include "app/skin_routines.h"

#include <QMessageBox>
#include <QWidget>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

namespace brisma::test {

// Skin routines that only record their calls.
class RecordingSkin : public app::SkinRoutines
{
public:
    int attachEx(const Text& skinFile, const Text& reserved) override;
    int adjustHSV(int hue, int saturation, int value) override;

    std::vector<std::pair<Text, Text>> attaches() const;
    std::vector<std::tuple<int, int, int>> tints() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::pair<Text, Text>> m_attaches;
    std::vector<std::tuple<int, int, int>> m_tints;
};

// A QtToolkit whose exit only records the code.
class TestToolkit : public app::QtToolkit
{
public:
    TestToolkit();
};

// Runs the event loop until `done` holds; false when it did not within
// `limit`. The loop keeps running meanwhile, so windows and queued calls are
// served.
bool processEventsUntil(const std::function<bool()>& done,
                        std::chrono::milliseconds limit = std::chrono::seconds(10));

// The first visible message box, or null.
QMessageBox* visibleMessageBox();

// Colour of one pixel of the widget as drawn now.
QColor pixelOf(QWidget& widget, int x, int y);

// A fresh folder under the system's temporary folder, removed with
// everything in it by the destructor.
class TemporaryFolder
{
public:
    TemporaryFolder();
    ~TemporaryFolder();
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// Sets an environment variable for one test, restoring it afterwards.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();

private:
    std::string m_name;
    bool m_hadValue;
    std::string m_oldValue;
};

std::string readFile(const std::string& path);
void writeTextFile(const std::string& path, const std::string& contents);

} // namespace brisma::test
