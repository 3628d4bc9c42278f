// What re-marking the links costs after a change, against the floor of
// reading the lines on screen once: a 10 MiB memo of mixed lines, 50 lines
// on screen in its middle, the scan window with its margins above and below.
#include "editor/links.h"
#include "platform/utf_convert.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>

namespace quillpane {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kMemoBytes = 10 * 1024 * 1024;
constexpr std::size_t kLinesOnScreen = 50;

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

// Notes as people keep them: prose in both scripts, addresses, mail, paths
// and the odd custom scheme; CR LF line ends.
std::string MakeMemo() {
    const std::string lines[] = {
        "2026-08-21 Meeting notes: budget review, action items for the release",
        Utf16ToUtf8(u"会議のメモ：来週までに資料を作成すること。"),
        "See https://example.com/docs/setup?lang=ja#install for the steps.",
        Utf16ToUtf8(u"詳しくは https://ja.example.org/wiki/東京_(都市) を参照してください。"),
        "Mail taro.yamada@example.co.jp or hanako+memo@mail.example.com.",
        "Report: \"C:\\Users\\taro\\Documents\\Quarterly Report.xlsx\" (final)",
        Utf16ToUtf8(u"共有フォルダ \\\\fileserver\\share\\projects\\2026\\plan.docx にあります"),
        Utf16ToUtf8(u"TODO: Quillpane のテストを書く (see #42) 😀"),
        "",
        "- buy milk, eggs, bread; call 03-1234-5678 at 10:30",
        "Join zoommtg://zoom.us/join?confno=123456 or (http://intranet.local/wiki/Page_(draft)), ok",
        Utf16ToUtf8(u"ログは D:/logs/app.log です。"),
    };
    std::string memo;
    memo.reserve(kMemoBytes);
    for (std::size_t i = 0;; ++i) {
        const std::string& line = lines[i % std::size(lines)];
        if (memo.size() + line.size() + 2 > kMemoBytes) break;
        memo += line;
        memo += "\r\n";
    }
    return memo;
}

// The memo's bytes for a range of lines.
struct Memo {
    Memo() : text(MakeMemo()) {
        lineStarts.push_back(0);
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') lineStarts.push_back(i + 1);
        }
    }
    [[nodiscard]] std::string_view Lines(std::size_t first, std::size_t count) const {
        const std::size_t begin = lineStarts[first];
        const std::size_t end = first + count < lineStarts.size() ? lineStarts[first + count] : text.size();
        return std::string_view(text).substr(begin, end - begin);
    }
    [[nodiscard]] std::size_t FirstVisibleLine() const { return lineStarts.size() / 2 - kLinesOnScreen / 2; }

    std::string text;
    std::vector<std::size_t> lineStarts;
};

const Memo& TheMemo() {
    static const Memo memo;
    return memo;
}

// The caller's cache in front of the registry: nothing is registered here.
SchemeQuery CachedQuery(std::map<std::u16string, bool>& cache) {
    return [&cache](std::u16string_view scheme) {
        return cache.try_emplace(std::u16string(scheme), false).first->second;
    };
}

std::string_view VisibleLines() { return TheMemo().Lines(TheMemo().FirstVisibleLine(), kLinesOnScreen); }

std::string_view ScanWindow() {
    const std::size_t margin = LinkMarginLines(kLinesOnScreen);
    return TheMemo().Lines(TheMemo().FirstVisibleLine() - margin, kLinesOnScreen + 2 * margin);
}

double TimedBaseline(std::string_view visible) {
    const Clock::time_point begin = Clock::now();
    benchmark::DoNotOptimize(Utf8ToUtf16Lenient(visible).size());
    return Seconds(Clock::now() - begin);
}

double TimedRescan(std::string_view window, const SchemeQuery& query) {
    const Clock::time_point begin = Clock::now();
    benchmark::DoNotOptimize(FindLinks(Utf8ToUtf16Lenient(window), query).size());
    return Seconds(Clock::now() - begin);
}

// The floor: the visible lines read once, UTF-8 to UTF-16.
void BM_LinkBaselineVisibleLines(benchmark::State& state) {
    const std::string_view visible = VisibleLines();
    for (auto _ : state) state.SetIterationTime(TimedBaseline(visible));
    state.counters["lines"] = static_cast<double>(kLinesOnScreen);
}

// The re-marking: the scan window read and scanned. The baseline is timed
// in the same loop so that the ratio compares like with like.
void BM_LinkRescanWindow(benchmark::State& state) {
    std::map<std::u16string, bool> cache;
    const SchemeQuery query = CachedQuery(cache);
    const std::string_view visible = VisibleLines();
    const std::string_view window = ScanWindow();
    double baseline = 0;
    double rescan = 0;
    for (auto _ : state) {
        baseline += TimedBaseline(visible);
        const double seconds = TimedRescan(window, query);
        rescan += seconds;
        state.SetIterationTime(seconds);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["lines"] = static_cast<double>(kLinesOnScreen + 2 * LinkMarginLines(kLinesOnScreen));
    state.counters["links"] = static_cast<double>(FindLinks(Utf8ToUtf16Lenient(window), query).size());
    state.counters["baseline_us"] = baseline / iterations * 1e6;
    state.counters["rescan_us"] = rescan / iterations * 1e6;
    state.counters["ratio"] = rescan / baseline;
}

// The whole memo scanned once, for the throughput of the scan itself.
void BM_LinkFindWholeMemo(benchmark::State& state) {
    std::map<std::u16string, bool> cache;
    const SchemeQuery query = CachedQuery(cache);
    const std::u16string text = Utf8ToUtf16Lenient(TheMemo().text);
    std::size_t links = 0;
    for (auto _ : state) {
        links = FindLinks(text, query).size();
        benchmark::DoNotOptimize(links);
    }
    state.counters["links"] = static_cast<double>(links);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size() * sizeof(char16_t)));
}

// Lines built to make a naive scan quadratic; the time must grow with the
// length, not its square (compare the two sizes).
void BM_LinkFindHostileLine(benchmark::State& state) {
    const auto repeats = static_cast<std::size_t>(state.range(0));
    std::u16string text;
    for (std::size_t i = 0; i < repeats; ++i) text += u"<a:\\))))";
    for (auto _ : state) benchmark::DoNotOptimize(FindLinks(text, {}).size());
    state.SetComplexityN(static_cast<std::int64_t>(text.size()));
}

BENCHMARK(BM_LinkFindHostileLine)->Arg(1 << 12)->Arg(1 << 15)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LinkBaselineVisibleLines)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LinkRescanWindow)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LinkFindWholeMemo)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillpane
