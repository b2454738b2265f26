// Throughput of the GBK-aware search next to std::string_view::find, over a
// 1 MiB text of index-page markup with Chinese titles.
#include "catalogue/markers.h"
#include "text/extract.h"
#include "text/primitives.h"

#include <benchmark/benchmark.h>

#include <string_view>

using namespace brisma;

namespace {

const Text& indexMarkup()
{
    static const Text text = [] {
        // 最新电影 and 高清 make the titles two-byte text.
        const Text title = "\xD7\xEE\xD0\xC2\xB5\xE7\xD3\xB0\xB8\xDF\xC7\xE5";
        Text page;
        for (int i = 0; page.size() < (1u << 20); ++i) {
            page += "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\r\n";
            page += catalogue::markers::addressLeft + "/html/" + std::to_string(i) + ".html" +
                    catalogue::markers::addressRight + "/tu/" + std::to_string(i) +
                    catalogue::markers::titleLeft + title + std::to_string(i) +
                    catalogue::markers::titleRight + "/></a></td>\r\n";
            page += catalogue::markers::dateLeft + "2026-12-11" + catalogue::markers::dateRight +
                    "\r\n";
        }
        page.resize(1u << 20);
        return page;
    }();
    return text;
}

// A needle that occurs nowhere, so every search walks the whole text.
const Text absentNeedle = "<div class=\"pagination\">";

void BM_StringViewFind(benchmark::State& state)
{
    const std::string_view text = indexMarkup();
    for (auto _ : state) {
        benchmark::DoNotOptimize(text.find(absentNeedle));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_FindTextCaseSensitive(benchmark::State& state)
{
    const Text& text = indexMarkup();
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindText(text, absentNeedle, 1, true));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_FindTextIgnoringCase(benchmark::State& state)
{
    const Text& text = indexMarkup();
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindText(text, absentNeedle, 1, false));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// A needle whose first byte is a common letter: ignoring case, the scan
// stops at every 't' and 'T' of the markup to compare.
const Text absentLetterNeedle = "Target=\"_top\"";

void BM_FindTextIgnoringCaseLetterFirst(benchmark::State& state)
{
    const Text& text = indexMarkup();
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindText(text, absentLetterNeedle, 1, false));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_ExtractBetweenAllTitles(benchmark::State& state)
{
    const Text& text = indexMarkup();
    TextArray titles;
    for (auto _ : state) {
        ExtractBetweenAll(text, catalogue::markers::titleLeft, catalogue::markers::titleRight,
                          titles);
        benchmark::DoNotOptimize(titles.data());
    }
    state.counters["titles"] = static_cast<double>(titles.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

} // namespace

BENCHMARK(BM_StringViewFind);
BENCHMARK(BM_FindTextCaseSensitive);
BENCHMARK(BM_FindTextIgnoringCase);
BENCHMARK(BM_FindTextIgnoringCaseLetterFirst);
BENCHMARK(BM_ExtractBetweenAllTitles);

BENCHMARK_MAIN();
