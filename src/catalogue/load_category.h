#pragma once

#include "catalogue/category.h"
#include "platform/toolkit.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

namespace brisma::catalogue {

// The controls of the main window that a category load writes to.
struct CategoryView
{
    platform::ReportList& list; // 超级列表框1
    platform::Label& spinner;   // 标签1
    platform::Label& status;    // 标签2
    platform::Toolkit& toolkit; // message boxes
};

// Category loads started one after the other. The newest load is the one
// the user asked for last; every older one stops at its next step without
// touching the list, the labels or showing a message, so the list never
// mixes two categories.
class LoadSequence
{
public:
    class Run
    {
    public:
        // False once a newer run has begun.
        bool isCurrent() const;

        // Runs `operation` under the list lock when this run is still the
        // newest; returns whether it ran. A newer run's first operation
        // (emptying the list) waits for an older run's operation in flight,
        // so no row of the older run can land after it.
        template <class Operation> bool ifCurrent(Operation&& operation) const
        {
            std::lock_guard lock(m_sequence->m_listMutex);
            if (!isCurrent()) {
                return false;
            }
            operation();
            return true;
        }

    private:
        friend class LoadSequence;
        Run(std::shared_ptr<LoadSequence> sequence, std::uint64_t generation)
            : m_sequence(std::move(sequence)), m_generation(generation)
        {}

        std::shared_ptr<LoadSequence> m_sequence;
        std::uint64_t m_generation;
    };

    static std::shared_ptr<LoadSequence> create();

    // Supersedes every earlier run. Called on the user-interface thread at
    // the click, before the worker thread starts.
    Run begin();

private:
    LoadSequence() = default;

    std::atomic<std::uint64_t> m_generation{0};
    std::mutex m_listMutex;
    std::weak_ptr<LoadSequence> m_self;
};

// The index page addresses of a category: page 1 is the path itself, pages
// 2 to 10 are "index_N.htm" below it.
Text indexPageAddress(const Text& siteRoot, const Category& category, int page);

// Fills the movie list from the category's ten index pages, ten rows a
// page, and tells the user how it went. Runs on a worker thread of its own.
// siteRoot is "http://" and the movie site's host, without a trailing slash.
void LoadCategory(const Category& category, const CategoryView& view, const Text& siteRoot,
                  const LoadSequence::Run& run);

} // namespace brisma::catalogue
