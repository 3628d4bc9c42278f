// What one typed character costs in large memos: the adapter's cache update,
// the comparison with the saved text and the history step, against a plain
// copy of the memo's bytes.
#include "editor/edit_history.h"
#include "editor/text_adapter.h"
#include "platform/utf_convert.h"
#include "support/fake_editor_model.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <memory>

namespace quillpane {
namespace {

using testing::FakeEditorModel;

constexpr std::size_t kMiB = 1024 * 1024;

// Mixed ASCII and Japanese lines with CR LF, cut to whole lines.
std::string MakeMemo(std::size_t bytes) {
    const std::string lines[] = {
        "2026-08-21 Meeting notes: budget review, action items for the release",
        Utf16ToUtf8(u"\u4F1A\u8B70\u306E\u30E1\u30E2\uFF1A\u6765\u9031\u307E\u3067\u306B\u8CC7\u6599\u3092"
                    u"\u4F5C\u6210\u3059\u308B\u3053\u3068\u3002"),
        Utf16ToUtf8(u"TODO: Quillpane \u306E\u30C6\u30B9\u30C8\u3092\u66F8\u304F (see #42) \U0001F600"),
        "",
        "- buy milk, eggs, bread",
    };
    std::string memo;
    memo.reserve(bytes);
    for (std::size_t i = 0;; ++i) {
        const std::string& line = lines[i % std::size(lines)];
        if (memo.size() + line.size() + 2 > bytes) break;
        memo += line;
        memo += "\r\n";
    }
    return memo;
}

const std::string& Memo(std::size_t mebibytes) {
    static std::map<std::size_t, std::string> memos;
    auto it = memos.find(mebibytes);
    if (it == memos.end()) it = memos.emplace(mebibytes, MakeMemo(mebibytes * kMiB)).first;
    return it->second;
}

// The editor, adapter and history after the memo was loaded, with the caret
// in the middle of the text.
struct Session {
    explicit Session(std::size_t mebibytes) : editor(Memo(mebibytes)) {
        EditContext context = Context();
        ResetHistory(context);
        lastSavedText = ReadText(adapter, editor);
        const std::size_t middle = editor.PositionFromLine(editor.LineCount() / 2);
        editor.SetSelection(middle, middle);
    }
    EditContext Context() { return {history, adapter, editor}; }

    FakeEditorModel editor;
    TextAdapter adapter;
    EditHistory history;
    std::u16string lastSavedText;
};

void Finish(benchmark::State& state, std::size_t mebibytes) {
    state.counters["MiB"] = static_cast<double>(mebibytes);
}

// The floor: the memo's bytes copied into a reused buffer.
void BM_PlainCopy(benchmark::State& state) {
    const std::string& memo = Memo(static_cast<std::size_t>(state.range(0)));
    std::string copy(memo.size(), '\0');
    for (auto _ : state) {
        std::memcpy(copy.data(), memo.data(), memo.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    Finish(state, static_cast<std::size_t>(state.range(0)));
}

// One typed character, everything the program does for it: the capture
// before the key, the cache patch and marks on SCN_MODIFIED, reading the
// text, the dirty check against the saved text and the history step. The
// component's own insertion is not timed.
void BM_Keystroke(benchmark::State& state) {
    const auto mebibytes = static_cast<std::size_t>(state.range(0));
    auto session = std::make_unique<Session>(mebibytes);
    EditContext context = session->Context();
    for (auto _ : state) {
        CaptureBeforeUserEdit(context);
        state.PauseTiming();
        const std::size_t caret = session->editor.GetSelection().caret;
        const TextModification change = session->editor.Insert(caret, "a");
        state.ResumeTiming();
        OnComponentModified(context, change);
        const std::u16string& text = ReadText(session->adapter, session->editor);
        benchmark::DoNotOptimize(std::u16string_view(text) != session->lastSavedText);
        OnDocumentChanged(context);
        state.PauseTiming();
        session->editor.SetSelection(caret + 1, caret + 1);
        state.ResumeTiming();
    }
    Finish(state, mebibytes);
}

// The same keystroke with the caches dropped on every change and read again
// in full, as a cache keyed only on the text version would do.
void BM_KeystrokeRereadingText(benchmark::State& state) {
    const auto mebibytes = static_cast<std::size_t>(state.range(0));
    auto session = std::make_unique<Session>(mebibytes);
    EditContext context = session->Context();
    for (auto _ : state) {
        CaptureBeforeUserEdit(context);
        state.PauseTiming();
        const std::size_t caret = session->editor.GetSelection().caret;
        (void)session->editor.Insert(caret, "a");
        state.ResumeTiming();
        BumpTextVersion(session->adapter);
        const std::u16string& text = ReadText(session->adapter, session->editor);
        benchmark::DoNotOptimize(std::u16string_view(text) != session->lastSavedText);
        OnDocumentChanged(context);
        state.PauseTiming();
        session->editor.SetSelection(caret + 1, caret + 1);
        state.ResumeTiming();
    }
    Finish(state, mebibytes);
}

// The parts of BM_Keystroke on their own.
void BM_KeystrokeCachePatch(benchmark::State& state) {
    const auto mebibytes = static_cast<std::size_t>(state.range(0));
    auto session = std::make_unique<Session>(mebibytes);
    EditContext context = session->Context();
    for (auto _ : state) {
        state.PauseTiming();
        const std::size_t caret = session->editor.GetSelection().caret;
        const TextModification change = session->editor.Insert(caret, "a");
        session->editor.SetSelection(caret + 1, caret + 1);
        state.ResumeTiming();
        OnComponentModified(context, change);
        benchmark::DoNotOptimize(ReadText(session->adapter, session->editor).size());
    }
    Finish(state, mebibytes);
}

void BM_KeystrokeHistoryStep(benchmark::State& state) {
    const auto mebibytes = static_cast<std::size_t>(state.range(0));
    auto session = std::make_unique<Session>(mebibytes);
    EditContext context = session->Context();
    for (auto _ : state) {
        state.PauseTiming();
        CaptureBeforeUserEdit(context);
        const std::size_t caret = session->editor.GetSelection().caret;
        const TextModification change = session->editor.Insert(caret, "a");
        OnComponentModified(context, change);
        state.ResumeTiming();
        OnDocumentChanged(context);
        state.PauseTiming();
        session->editor.SetSelection(caret + 1, caret + 1);
        state.ResumeTiming();
    }
    Finish(state, mebibytes);
}

// The dirty check when the length did not change (a character replaced):
// the only case that compares the whole text. As the panel's check does it
// (std::u16string_view), and at memory speed.
void BM_CompareSameLength(benchmark::State& state) {
    const auto mebibytes = static_cast<std::size_t>(state.range(0));
    const std::u16string saved = Utf8ToUtf16Lenient(Memo(mebibytes));
    std::u16string current = saved;
    current[current.size() * 3 / 4] = u'#';
    for (auto _ : state) benchmark::DoNotOptimize(std::u16string_view(current) != saved);
    Finish(state, mebibytes);
}

void BM_SameTextSameLength(benchmark::State& state) {
    const auto mebibytes = static_cast<std::size_t>(state.range(0));
    const std::u16string saved = Utf8ToUtf16Lenient(Memo(mebibytes));
    std::u16string current = saved;
    current[current.size() * 3 / 4] = u'#';
    for (auto _ : state) benchmark::DoNotOptimize(SameText(current, saved));
    Finish(state, mebibytes);
}

// Undo of one typed character: the differing middle is found and replaced.
void BM_UndoOneCharacter(benchmark::State& state) {
    const auto mebibytes = static_cast<std::size_t>(state.range(0));
    auto session = std::make_unique<Session>(mebibytes);
    session->editor.SetListener([&](const TextModification& change) {
        OnComponentModified(session->Context(), change);
        OnDocumentChanged(session->Context());
    });
    for (auto _ : state) {
        state.PauseTiming();
        CaptureBeforeUserEdit(session->Context());
        session->editor.TypeText("a");
        state.ResumeTiming();
        benchmark::DoNotOptimize(Undo(session->Context()));
    }
    Finish(state, mebibytes);
}

#define QP_SIZES Arg(1)->Arg(10)->Arg(64)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_PlainCopy)->QP_SIZES;
BENCHMARK(BM_Keystroke)->QP_SIZES->Iterations(60);
BENCHMARK(BM_KeystrokeRereadingText)->QP_SIZES->Iterations(20);
BENCHMARK(BM_KeystrokeCachePatch)->QP_SIZES->Iterations(60);
BENCHMARK(BM_KeystrokeHistoryStep)->QP_SIZES->Iterations(60);
BENCHMARK(BM_CompareSameLength)->QP_SIZES;
BENCHMARK(BM_SameTextSameLength)->QP_SIZES;
BENCHMARK(BM_UndoOneCharacter)->QP_SIZES->Iterations(20);
#undef QP_SIZES

}  // namespace
}  // namespace quillpane
