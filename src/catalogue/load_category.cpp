#include "catalogue/load_category.h"

#include "catalogue/markers.h"
#include "text/extract.h"
#include "web/web_request.h"

#include <algorithm>
#include <string>

namespace brisma::catalogue {
namespace {

constexpr int pageCount = 10;
constexpr int rowsPerPage = 10;
// A bad page among the first three means the site cannot be read at all;
// later bad pages only lose their own rows.
constexpr int lastPageThatFailsTheRun = 3;

const Text successMessage = "双击电影可以查看详情";
const Text failureMessage = "获取最新电影失败";

// The movies of one index page, each field in page order.
struct PageHits
{
    TextArray titles;
    TextArray dates;
    TextArray addresses;
};

PageHits cutPage(const Text& page)
{
    PageHits hits;
    ExtractBetweenAll(page, markers::titleLeft, markers::titleRight, hits.titles);
    ExtractBetweenAll(page, markers::dateLeft, markers::dateRight, hits.dates);
    ExtractBetweenAll(page, markers::addressLeft, markers::addressRight, hits.addresses);
    return hits;
}

// Titles and dates must pair up. A page without any title is no page of
// movies either: a failed request or markup the loader cannot read.
bool isReadable(const PageHits& hits, int page)
{
    if (hits.titles.size() != hits.dates.size()) {
        return false;
    }
    return page > lastPageThatFailsTheRun || !hits.titles.empty();
}

Text itemOrEmpty(const TextArray& items, std::size_t index)
{
    return index < items.size() ? items[index] : Text{};
}

// Appends the page's first ten movies. False when a newer run took over.
bool appendRows(const PageHits& hits, const CategoryView& view, const LoadSequence::Run& run)
{
    const std::size_t rows = std::min<std::size_t>(rowsPerPage, hits.titles.size());
    for (std::size_t i = 0; i < rows; ++i) {
        const bool appended = run.ifCurrent([&] {
            const int row = view.list.insertRow();
            view.list.setCell(row, titleColumn, hits.titles[i]);
            view.list.setCell(row, dateColumn, itemOrEmpty(hits.dates, i));
            view.list.setCell(row, addressColumn, itemOrEmpty(hits.addresses, i));
        });
        if (!appended) {
            return false;
        }
    }
    return true;
}

void tellUser(const CategoryView& view, const LoadSequence::Run& run, const Text& message)
{
    if (run.isCurrent()) {
        view.toolkit.messageBox(message, platform::MessageOk);
    }
}

} // namespace

bool LoadSequence::Run::isCurrent() const
{
    return m_sequence->m_generation.load() == m_generation;
}

std::shared_ptr<LoadSequence> LoadSequence::create()
{
    std::shared_ptr<LoadSequence> sequence(new LoadSequence());
    sequence->m_self = sequence;
    return sequence;
}

LoadSequence::Run LoadSequence::begin()
{
    return Run(m_self.lock(), ++m_generation);
}

Text indexPageAddress(const Text& siteRoot, const Category& category, int page)
{
    if (page <= 1) {
        return siteRoot + category.indexPath;
    }
    return siteRoot + category.indexPath + "index_" + std::to_string(page) + ".htm";
}

void LoadCategory(const Category& category, const CategoryView& view, const Text& siteRoot,
                  const LoadSequence::Run& run)
{
    // The list is emptied before the first request, so it is empty while
    // page 1 loads.
    if (!run.ifCurrent([&] { view.list.deleteAllRows(); })) {
        return;
    }
    for (int page = 1; page <= pageCount; ++page) {
        if (!run.isCurrent()) {
            return;
        }
        const PageHits hits = cutPage(web::WebRequest(indexPageAddress(siteRoot, category, page)));
        if (!isReadable(hits, page)) {
            if (page <= lastPageThatFailsTheRun) {
                tellUser(view, run, failureMessage);
                return;
            }
            continue;
        }
        if (!appendRows(hits, view, run)) {
            return;
        }
    }
    const bool hidden = run.ifCurrent([&] {
        view.spinner.setVisible(false);
        view.status.setVisible(false);
    });
    if (hidden) {
        tellUser(view, run, successMessage);
    }
}

} // namespace brisma::catalogue
