// Section list, fold keys and memo moves on a 10 MiB memo of 10,000 memos, against plain passes over its text.
#include "platform/utf_convert.h"
#include "search/search_engine.h"
#include "sections/heading_sidebar.h"
#include "sections/memo_fold.h"
#include "sections/memo_reorder.h"
#include "sections/section_list.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace quillpane {
namespace {

constexpr int kMemoCount = 10000;
constexpr std::size_t kMemoFileBytes = 10u << 20;

// 10,000 memos of mixed ASCII and Japanese lines, each opened by a marker
// line, filling 10 MiB as UTF-8 (the size of the memo file).
std::u16string MakeMemoText(bool headings) {
    const std::u16string bodies[] = {
        u"- buy milk, eggs, bread and coffee for the week",
        u"\u4F1A\u8B70\u306E\u30E1\u30E2\uFF1A\u6765\u9031\u307E\u3067\u306B\u8CC7\u6599\u3092\u4F5C\u6210\u3059"
        u"\u308B\u3053\u3068\u3002",
        u"",
        u"TODO: Quillpane \u306E\u30C6\u30B9\u30C8\u3092\u66F8\u304F (see #42)",
        u"  indented detail line with a few more words in it",
    };
    const std::size_t memoBytes = kMemoFileBytes / kMemoCount;
    std::u16string text;
    text.reserve(kMemoFileBytes);
    std::size_t totalBytes = 0;
    for (int memo = 0; memo < kMemoCount; ++memo) {
        std::u16string block = headings ? u"## Memo " : std::u16string(30, u'-') + u"\r\n";
        if (headings) block += AsciiToUtf16(std::to_string(memo)) + u"\r\n";
        block += u"2026-08-21 14:30\r\n";
        if (!headings) block += u"Meeting notes " + AsciiToUtf16(std::to_string(memo)) + u"\r\n";
        const std::size_t target = memo + 1 == kMemoCount ? kMemoFileBytes - totalBytes : memoBytes;
        std::size_t bytes = Utf16ToUtf8(block).size();
        for (std::size_t i = static_cast<std::size_t>(memo);; ++i) {
            const std::u16string line = bodies[i % std::size(bodies)] + u"\r\n";
            const std::size_t lineBytes = Utf16ToUtf8(line).size();
            if (bytes + lineBytes > target) break;
            block += line;
            bytes += lineBytes;
        }
        totalBytes += bytes;
        text += block;
    }
    return text;
}

const std::u16string& MemoText(bool headings) {
    static const std::u16string dividers = MakeMemoText(false);
    static const std::u16string headingText = MakeMemoText(true);
    return headings ? headingText : dividers;
}

MarkerSettings Settings(bool headings) {
    MarkerSettings settings;
    if (headings) settings.role = SectionMarkerRole::Heading;
    return settings;
}

void Finish(benchmark::State& state, std::size_t units) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * units * sizeof(char16_t)));
}

// The floor: count the line feeds, a loop the compiler vectorises.
void BM_PlainPassCountLineFeeds(benchmark::State& state) {
    const std::u16string& text = MemoText(false);
    for (auto _ : state) {
        std::size_t count = 0;
        for (const char16_t c : text) count += c == u'\n';
        benchmark::DoNotOptimize(count);
    }
    Finish(state, text.size());
}
BENCHMARK(BM_PlainPassCountLineFeeds)->Unit(benchmark::kMillisecond);

// The same text split into lines the way the section scan splits it.
void BM_PlainPassSplitLines(benchmark::State& state) {
    const std::u16string& text = MemoText(false);
    for (auto _ : state) {
        std::size_t lines = 0;
        for (std::size_t pos = 0; pos < text.size(); ++lines) pos = LineAt(text, pos).end;
        benchmark::DoNotOptimize(lines);
    }
    Finish(state, text.size());
}
BENCHMARK(BM_PlainPassSplitLines)->Unit(benchmark::kMillisecond);

// The floor of the fold keys: one FNV-1a pass over every code unit.
void BM_HashWholeText(benchmark::State& state) {
    const std::u16string& text = MemoText(false);
    for (auto _ : state) benchmark::DoNotOptimize(Fnv1aHashUtf16(text));
    Finish(state, text.size());
}
BENCHMARK(BM_HashWholeText)->Unit(benchmark::kMillisecond);

void BM_BuildSections(benchmark::State& state) {
    const bool headings = state.range(0) != 0;
    const std::u16string& text = MemoText(headings);
    for (auto _ : state) {
        const SectionScan scan = BuildSections(text, Settings(headings), text.size() / 2);
        if (scan.entries.size() != kMemoCount) state.SkipWithError("wrong entry count");
        benchmark::DoNotOptimize(scan.current);
        state.counters["lines"] = scan.lineCount;
    }
    state.counters["units"] = static_cast<double>(text.size());
    state.counters["utf8"] = static_cast<double>(Utf16ToUtf8(text).size());
    Finish(state, text.size());
}
BENCHMARK(BM_BuildSections)->Arg(0)->Arg(1)->ArgName("heading")->Unit(benchmark::kMillisecond);

// Fold blocks, keys and display texts for a scan already made.
void BM_FoldKeys(benchmark::State& state) {
    const bool headings = state.range(0) != 0;
    const std::u16string& text = MemoText(headings);
    const SectionScan scan = BuildSections(text, Settings(headings), 0);
    for (auto _ : state) {
        const std::optional<std::vector<FoldItem>> items = BuildFoldItems(text, scan);
        if (!items || items->size() != kMemoCount) state.SkipWithError("no fold items");
        benchmark::DoNotOptimize(items->data());
    }
    Finish(state, text.size());
}
BENCHMARK(BM_FoldKeys)->Arg(0)->Arg(1)->ArgName("heading")->Unit(benchmark::kMillisecond);

// What one fold recompute or sidebar refresh costs in text logic.
void BM_BuildSectionsAndFoldKeys(benchmark::State& state) {
    const std::u16string& text = MemoText(false);
    for (auto _ : state) {
        SectionScan scan = BuildSections(text, Settings(false), 0);
        const std::optional<std::vector<FoldItem>> items = BuildFoldItems(text, scan);
        FillFoldStates(scan.entries, items, {});
        benchmark::DoNotOptimize(scan.entries.data());
    }
    Finish(state, text.size());
}
BENCHMARK(BM_BuildSectionsAndFoldKeys)->Unit(benchmark::kMillisecond);

// The sidebar's rebuild after an edit (memo folding on): its rows with fold
// states and the comparison with the rows shown. Measured against
// BM_BuildSections alone.
void BM_SidebarRebuild(benchmark::State& state) {
    const std::u16string& text = MemoText(false);
    const auto contracted = [](int line) { return line % 7 == 0; };
    SectionList shown = BuildSidebarEntries(text, Settings(false), 0, true, contracted).entries;
    for (auto _ : state) {
        SidebarEntries built = BuildSidebarEntries(text, Settings(false), text.size() / 2, true, contracted);
        const SidebarUpdate update = PlanSidebarUpdate(shown, built.entries, built.caretEntry, -1);
        if (update.refill || built.entries.size() != kMemoCount) state.SkipWithError("rows changed");
        shown = std::move(built.entries);
        benchmark::DoNotOptimize(update.select);
    }
    Finish(state, text.size());
}
BENCHMARK(BM_SidebarRebuild)->Unit(benchmark::kMillisecond);

// The yardstick for the search: memchr over the text's bytes for a byte it
// does not hold.
void BM_MemchrPass(benchmark::State& state) {
    const std::u16string& text = MemoText(false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::memchr(text.data(), 0x7F, text.size() * sizeof(char16_t)));
    }
    Finish(state, text.size());
}
BENCHMARK(BM_MemchrPass)->Unit(benchmark::kMillisecond);

// Highlight-all and the per-memo counts for one refresh: every match of a
// term (capped at 5000) and its memo. "eggs and" is rare but starts with a
// letter on every line; "zebra" is absent; "milk" passes the cap.
void BM_HighlightAndCountPerMemo(benchmark::State& state) {
    const std::u16string& text = MemoText(false);
    const std::u16string terms[] = {u"Eggs And", u"zebra", u"milk"};
    const std::u16string& term = terms[state.range(0)];
    std::vector<std::size_t> starts;
    for (const SectionEntry& entry : BuildSections(text, Settings(false), 0).entries) starts.push_back(entry.startIndex);
    for (auto _ : state) {
        const std::vector<std::size_t> matches = FindAllMatches(text, term);
        const std::vector<unsigned> counts = CountPerRange(matches, starts);
        benchmark::DoNotOptimize(counts.data());
        state.counters["matches"] = static_cast<double>(matches.size());
    }
    Finish(state, text.size());
}
BENCHMARK(BM_HighlightAndCountPerMemo)->DenseRange(0, 2)->ArgName("term")->Unit(benchmark::kMillisecond);

// Fold levels held in memory, so only the plan itself is measured.
class LevelsOnlyView : public FoldView {
public:
    explicit LevelsOnlyView(std::vector<int> lineLevels) : levels(std::move(lineLevels)) {}
    int LineCount() const override { return static_cast<int>(levels.size()); }
    int FoldLevel(int line) const override { return levels[static_cast<std::size_t>(line)]; }
    bool IsLineVisible(int) const override { return true; }
    bool IsExpanded(int) const override { return true; }
    int LastChild(int line) const override { return line; }
    int FoldParent(int) const override { return -1; }
    int NextContracted(int) const override { return -1; }
    std::vector<int> levels;
};

// A recompute after an edit: the levels are already in place.
void BM_RecomputeFoldsSteady(benchmark::State& state) {
    const std::u16string& text = MemoText(false);
    const SectionScan scan = BuildSections(text, Settings(false), 0);
    const LevelsOnlyView view(FoldLevelsFor(BuildFoldItems(text, scan), scan.lineCount));
    MemoFoldState foldState;
    foldState.appliedSignature = FoldSignature(Settings(false));
    const FoldDocument document {text, Settings(false), true, false, 0};
    for (auto _ : state) {
        const FoldPlan plan = RecomputeFolds(foldState, document, view, {});
        if (!plan.ops.empty()) state.SkipWithError("levels were not steady");
        benchmark::DoNotOptimize(plan.ops.data());
    }
    Finish(state, text.size());
}
BENCHMARK(BM_RecomputeFoldsSteady)->Unit(benchmark::kMillisecond);

// The last memo dragged to the top: every block changes place.
void BM_MoveMemoLastToFirst(benchmark::State& state) {
    const std::u16string& text = MemoText(false);
    const SectionScan scan = BuildSections(text, Settings(false), 0);
    const std::size_t start = scan.entries.back().startIndex;
    for (auto _ : state) {
        const MemoMove move = MoveMemo(text, Settings(false), kMemoCount - 1, 0, kMemoCount, start);
        if (move.result != 0) state.SkipWithError("move refused");
        benchmark::DoNotOptimize(move.newText.data());
    }
    Finish(state, text.size());
}
BENCHMARK(BM_MoveMemoLastToFirst)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillpane
