#pragma once

#include <QPointer>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace brisma::app {

// Carries calls from worker threads to the user-interface thread. A worker
// waits until its call has run there; once the message loop has ended (the
// dispatcher is closed) calls return at once without running, so a worker
// still busy at exit neither hangs nor touches windows that are gone.
//
// One per process; it is never destroyed, because worker threads may still
// ask it whether it is closed while the program ends.
class UiDispatcher
{
public:
    static UiDispatcher& instance();

    // Called on the user-interface thread when the toolkit is set up; marks
    // that thread as the one calls are carried to.
    void open();
    // Called on the user-interface thread once the message loop has ended.
    // Calls waiting in the queue are dropped and their callers released.
    void close();
    bool isClosed() const;

    bool onUiThread() const;

    // Runs `task` on the user-interface thread and returns once it has run
    // (at once when called there). False when it did not run because the
    // dispatcher is closed.
    bool run(const std::function<void()>& task);

    // For work that finishes later on the user-interface thread, such as a
    // message box waiting for its answer: `start` runs there and is handed a
    // function to call, once, with the result. Waits for that result;
    // nothing when the dispatcher closes first. Never call it on the
    // user-interface thread itself.
    std::optional<int> await(const std::function<void(std::function<void(int)>)>& start);

private:
    struct Job
    {
        const std::function<void()>* task = nullptr;
        bool finished = false;
    };
    struct Result
    {
        bool delivered = false;
        int value = 0;
    };

    UiDispatcher() = default;
    void runQueuedJobs();

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::shared_ptr<Job>> m_queue;
    QObject* m_pump = nullptr;
    bool m_closed = true;
    std::thread::id m_uiThread;
};

// Shorthands for the toolkit's controls: run on the user-interface thread,
// or give `fallback` when the message loop has ended.
template <class Task> void onUiThread(Task&& task)
{
    UiDispatcher::instance().run(std::function<void()>(std::forward<Task>(task)));
}

template <class Result, class Task> Result onUiThread(Result fallback, Task&& task)
{
    Result result = fallback;
    UiDispatcher::instance().run([&] { result = task(); });
    return result;
}

// The same for one control: `task` gets the widget, and does not run once
// the widget is gone.
template <class Widget, class Task> void onWidget(const QPointer<Widget>& widget, Task&& task)
{
    onUiThread([&] {
        if (widget) {
            task(*widget);
        }
    });
}

template <class Result, class Widget, class Task>
Result onWidget(Result fallback, const QPointer<Widget>& widget, Task&& task)
{
    return onUiThread(fallback, [&] { return widget ? task(*widget) : fallback; });
}

} // namespace brisma::app
