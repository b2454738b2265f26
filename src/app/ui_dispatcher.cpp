#include "app/ui_dispatcher.h"

#include <QMetaObject>
#include <QObject>

namespace brisma::app {

UiDispatcher& UiDispatcher::instance()
{
    // Deliberately never destroyed: see the class comment.
    static UiDispatcher* dispatcher = new UiDispatcher;
    return *dispatcher;
}

void UiDispatcher::open()
{
    std::lock_guard lock(m_mutex);
    m_uiThread = std::this_thread::get_id();
    if (m_pump == nullptr) {
        m_pump = new QObject;
    }
    m_closed = false;
}

void UiDispatcher::close()
{
    QObject* pump = nullptr;
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_queue.clear();
        pump = m_pump;
        m_pump = nullptr;
    }
    m_changed.notify_all();
    // Nobody posts to the pump any more; calls already posted die with it.
    delete pump;
}

bool UiDispatcher::isClosed() const
{
    std::lock_guard lock(m_mutex);
    return m_closed;
}

bool UiDispatcher::onUiThread() const
{
    std::lock_guard lock(m_mutex);
    return std::this_thread::get_id() == m_uiThread;
}

bool UiDispatcher::run(const std::function<void()>& task)
{
    if (onUiThread()) {
        task();
        return true;
    }
    auto job = std::make_shared<Job>();
    job->task = &task;
    std::unique_lock lock(m_mutex);
    if (m_closed) {
        return false;
    }
    m_queue.push_back(job);
    QMetaObject::invokeMethod(
        m_pump, [this] { runQueuedJobs(); }, Qt::QueuedConnection);
    m_changed.wait(lock, [&] { return job->finished || m_closed; });
    return job->finished;
}

void UiDispatcher::runQueuedJobs()
{
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::lock_guard lock(m_mutex);
            if (m_queue.empty()) {
                return;
            }
            job = m_queue.front();
            m_queue.pop_front();
        }
        // Only this thread closes the dispatcher, so the waiting caller and
        // its task are still there while the task runs.
        (*job->task)();
        {
            std::lock_guard lock(m_mutex);
            job->finished = true;
        }
        m_changed.notify_all();
    }
}

std::optional<int> UiDispatcher::await(const std::function<void(std::function<void(int)>)>& start)
{
    auto result = std::make_shared<Result>();
    auto deliver = [this, result](int value) {
        {
            std::lock_guard lock(m_mutex);
            if (result->delivered || m_closed) {
                return;
            }
            result->delivered = true;
            result->value = value;
        }
        m_changed.notify_all();
    };
    if (!run([&] { start(deliver); })) {
        return std::nullopt;
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return result->delivered || m_closed; });
    if (!result->delivered) {
        return std::nullopt;
    }
    return result->value;
}

} // namespace brisma::app
