// What one typed character costs the program at memo sizes from 1 KiB to
// 64 MiB: the adapter's cache patch, the whole history step and the undo of
// one character. The in-memory component's own editing (a plain string and
// line table, far slower than the real one) is left out of every timing.
#include "editor/edit_history.h"
#include "editor/text_adapter.h"
#include "platform/text_compare.h"
#include "platform/utf_convert.h"
#include "support/fake_editor_model.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <map>
#include <memory>

namespace quillpane {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kKiB = 1024;

double Seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

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

const std::string& Memo(std::size_t kibibytes) {
    static std::map<std::size_t, std::string> memos;
    auto it = memos.find(kibibytes);
    if (it == memos.end()) it = memos.emplace(kibibytes, MakeMemo(kibibytes * kKiB)).first;
    return it->second;
}

// The component, with the time its own replacements take apart from the
// program's handlers of their notifications.
class TimedEditor : public testing::FakeEditorModel {
public:
    using FakeEditorModel::FakeEditorModel;
    void ReplaceRange(std::size_t start, std::size_t end, std::string_view bytes) override {
        const Clock::time_point begin = Clock::now();
        const double handlersBefore = handlerSeconds;
        FakeEditorModel::ReplaceRange(start, end, bytes);
        componentSeconds += Seconds(Clock::now() - begin) - (handlerSeconds - handlersBefore);
    }
    double componentSeconds = 0;
    double handlerSeconds = 0;
};

// The editor, adapter and history after the memo was loaded, with the caret
// in the middle of the text where one character was typed already (the first
// edit after loading is timed on its own). While wired, every change goes to
// the history as the panel passes it on.
struct Session {
    explicit Session(std::size_t kibibytes, bool typeFirst = true) : editor(Memo(kibibytes)) {
        editor.SetListener([this](const TextModification& change) {
            if (!wired) return;
            const Clock::time_point begin = Clock::now();
            OnComponentModified(Context(), change);
            OnDocumentChanged(Context());
            editor.handlerSeconds += Seconds(Clock::now() - begin);
        });
        ResetHistory(Context());
        const std::size_t middle = editor.PositionFromLine(editor.LineCount() / 2);
        editor.SetSelection(middle, middle);
        if (typeFirst) TypeOne();
    }
    EditContext Context() { return {history, adapter, editor}; }
    void TypeOne() {
        const bool wasWired = wired;
        wired = true;
        CaptureBeforeUserEdit(Context());
        editor.TypeText("a");
        wired = wasWired;
    }

    TimedEditor editor;
    TextAdapter adapter;
    EditHistory history;
    bool wired = false;
};

void Finish(benchmark::State& state) {
    state.counters["KiB"] = static_cast<double>(state.range(0));
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
    Finish(state);
}

// The adapter's caches patched for one typed character.
void BM_KeystrokeCachePatch(benchmark::State& state) {
    Session session(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const std::size_t caret = session.editor.GetSelection().caret;
        const TextModification change = session.editor.Insert(caret, "a");
        const Clock::time_point begin = Clock::now();
        OnTextModified(session.adapter, session.editor, change);
        state.SetIterationTime(Seconds(Clock::now() - begin));
        session.editor.SetSelection(caret + 1, caret + 1);
    }
    Finish(state);
}

// One typed character, everything the history does for it: the capture
// before the key, the notification (cache patch and marks) and the step.
double TimedHistoryStep(Session& session) {
    EditContext context = session.Context();
    const Clock::time_point begin = Clock::now();
    CaptureBeforeUserEdit(context);
    const Clock::time_point beforeInsert = Clock::now();
    const std::size_t caret = session.editor.GetSelection().caret;
    const TextModification change = session.editor.Insert(caret, "a");
    const Clock::time_point afterInsert = Clock::now();
    OnComponentModified(context, change);
    OnDocumentChanged(context);
    const double seconds = Seconds(beforeInsert - begin) + Seconds(Clock::now() - afterInsert);
    session.editor.SetSelection(caret + 1, caret + 1);
    return seconds;
}

void BM_KeystrokeHistoryStep(benchmark::State& state) {
    Session session(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) state.SetIterationTime(TimedHistoryStep(session));
    Finish(state);
}

// The first character typed after the memo was loaded, and after the whole
// text was read (as the idle-time readers do): the caches' gaps move to the
// caret once.
void BM_FirstKeystrokeAfterLoad(benchmark::State& state) {
    for (auto _ : state) {
        Session session(static_cast<std::size_t>(state.range(0)), false);
        state.SetIterationTime(TimedHistoryStep(session));
    }
    Finish(state);
}

void BM_KeystrokeAfterWholeText(benchmark::State& state) {
    Session session(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadText(session.adapter, session.editor).size());
        state.SetIterationTime(TimedHistoryStep(session));
    }
    Finish(state);
}

// Undo of one typed character.
void BM_UndoOneCharacter(benchmark::State& state) {
    Session session(static_cast<std::size_t>(state.range(0)));
    session.wired = true;
    for (auto _ : state) {
        CaptureBeforeUserEdit(session.Context());
        session.editor.TypeText("a");
        const double componentBefore = session.editor.componentSeconds;
        const Clock::time_point begin = Clock::now();
        benchmark::DoNotOptimize(Undo(session.Context()));
        state.SetIterationTime(Seconds(Clock::now() - begin) -
                               (session.editor.componentSeconds - componentBefore));
    }
    Finish(state);
}

// The whole text asked for after a change in the middle, as the idle-time
// readers (search, sections, save) do.
void BM_WholeTextAfterKeystroke(benchmark::State& state) {
    Session session(static_cast<std::size_t>(state.range(0)));
    session.wired = true;
    for (auto _ : state) {
        CaptureBeforeUserEdit(session.Context());
        session.editor.TypeText("a");
        const Clock::time_point begin = Clock::now();
        benchmark::DoNotOptimize(ReadText(session.adapter, session.editor).size());
        state.SetIterationTime(Seconds(Clock::now() - begin));
    }
    Finish(state);
}

// The dirty check when the length did not change (a character replaced):
// as the panel's check does it (std::u16string_view), and at memory speed.
void BM_CompareSameLength(benchmark::State& state) {
    const std::u16string saved = Utf8ToUtf16Lenient(Memo(static_cast<std::size_t>(state.range(0))));
    std::u16string current = saved;
    current[current.size() * 3 / 4] = u'#';
    for (auto _ : state) benchmark::DoNotOptimize(std::u16string_view(current) != saved);
    Finish(state);
}

void BM_SameTextSameLength(benchmark::State& state) {
    const std::u16string saved = Utf8ToUtf16Lenient(Memo(static_cast<std::size_t>(state.range(0))));
    std::u16string current = saved;
    current[current.size() * 3 / 4] = u'#';
    for (auto _ : state) benchmark::DoNotOptimize(SameText(current, saved));
    Finish(state);
}

// Sizes in KiB: 1 KiB, 1 MiB, 10 MiB, 64 MiB.
#define QP_SIZES Arg(1)->Arg(1024)->Arg(10 * 1024)->Arg(64 * 1024)
#define QP_PER_KEY QP_SIZES->UseManualTime()->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_PlainCopy)->QP_SIZES->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeCachePatch)->QP_PER_KEY->Iterations(60);
BENCHMARK(BM_KeystrokeHistoryStep)->QP_PER_KEY->Iterations(60);
BENCHMARK(BM_FirstKeystrokeAfterLoad)->QP_PER_KEY->Iterations(5);
BENCHMARK(BM_KeystrokeAfterWholeText)->QP_PER_KEY->Iterations(20);
BENCHMARK(BM_UndoOneCharacter)->QP_PER_KEY->Iterations(30);
BENCHMARK(BM_WholeTextAfterKeystroke)->QP_PER_KEY->Iterations(20);
BENCHMARK(BM_CompareSameLength)->QP_SIZES->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SameTextSameLength)->QP_SIZES->Unit(benchmark::kMillisecond);
#undef QP_PER_KEY
#undef QP_SIZES

}  // namespace
}  // namespace quillpane
