// Load and save speed of a 64 MiB memo against plain copies of its bytes.
#include "platform/file_system.h"
#include "platform/utf_convert.h"
#include "storage/note_codec.h"
#include "storage/note_file.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace quillpane {
namespace {

// A memo of mixed ASCII and Japanese lines in UTF-8 with a byte-order mark,
// cut to whole lines just under the load limit.
std::string MakeMemoBytes(std::string_view lineEnd) {
    const std::string lines[] = {
        "2026-08-21 Meeting notes: budget review, action items for the release",
        Utf16ToUtf8(u"\u4F1A\u8B70\u306E\u30E1\u30E2\uFF1A\u6765\u9031\u307E\u3067\u306B\u8CC7\u6599\u3092"
                    u"\u4F5C\u6210\u3059\u308B\u3053\u3068\u3002"),
        Utf16ToUtf8(u"TODO: Quillpane \u306E\u30C6\u30B9\u30C8\u3092\u66F8\u304F (see #42)"),
        "",
        "- buy milk, eggs, bread",
    };
    std::string bytes = "\xEF\xBB\xBF";
    bytes.reserve(kMaxNoteBytes);
    for (std::size_t i = 0;; ++i) {
        const std::string& line = lines[i % std::size(lines)];
        if (bytes.size() + line.size() + lineEnd.size() > kMaxNoteBytes) break;
        bytes += line;
        bytes += lineEnd;
    }
    return bytes;
}

const std::string& MemoBytes(bool crLf) {
    static const std::string withCrLf = MakeMemoBytes("\r\n");
    static const std::string withLf = MakeMemoBytes("\n");
    return crLf ? withCrLf : withLf;
}

const std::u16string& MemoText() {
    static const std::u16string text = NormalizeLineEnds(DecodeNoteBytes(MemoBytes(true)));
    return text;
}

void Finish(benchmark::State& state, std::size_t bytesPerOp) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytesPerOp));
}

// The floor: the same bytes copied into a buffer that is reused ...
void BM_LoadMemcpy(benchmark::State& state) {
    const std::string& bytes = MemoBytes(true);
    std::string copy(bytes.size(), '\0');
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    Finish(state, bytes.size());
}

// ... and into a fresh allocation each time, as any load result is.
void BM_LoadMemcpyFresh(benchmark::State& state) {
    const std::string& bytes = MemoBytes(true);
    for (auto _ : state) {
        std::string copy(bytes);
        benchmark::DoNotOptimize(copy.data());
    }
    Finish(state, bytes.size());
}

// What ReadNoteFile does after the read.
void BM_LoadDecodeNoteText(benchmark::State& state) {
    const std::string& bytes = MemoBytes(state.range(0) != 0);
    for (auto _ : state) {
        std::u16string text = DecodeNoteText(bytes);
        benchmark::DoNotOptimize(text.data());
    }
    Finish(state, bytes.size());
}

// The two public steps one after the other.
void BM_LoadDecodeThenNormalize(benchmark::State& state) {
    const std::string& bytes = MemoBytes(state.range(0) != 0);
    for (auto _ : state) {
        std::u16string text = NormalizeLineEnds(DecodeNoteBytes(bytes));
        benchmark::DoNotOptimize(text.data());
    }
    Finish(state, bytes.size());
}

// The general converters of platform/utf_convert.h, for comparison.
void BM_LoadReferenceConverters(benchmark::State& state) {
    const std::string& bytes = MemoBytes(state.range(0) != 0);
    for (auto _ : state) {
        std::u16string text = NormalizeLineEnds(std::u16string_view(Utf8ToUtf16Lenient(bytes.substr(3))));
        benchmark::DoNotOptimize(text.data());
    }
    Finish(state, bytes.size());
}

void BM_LoadFromDisk(benchmark::State& state) {
    testing::TempDir dir;
    const std::u16string path = dir.File("Note.txt");
    if (!platform::WriteWholeFile(path, MemoBytes(true))) state.SkipWithError("cannot write the memo");
    for (auto _ : state) {
        NoteReadResult read = ReadNoteFile(path);
        benchmark::DoNotOptimize(read.text.data());
    }
    Finish(state, MemoBytes(true).size());
}

void BM_SaveEncodeOnly(benchmark::State& state) {
    const std::u16string& text = MemoText();
    for (auto _ : state) {
        std::string bytes = EncodeNoteBytes(text);
        benchmark::DoNotOptimize(bytes.data());
    }
    Finish(state, MemoBytes(true).size());
}

void BM_SaveEncodeReference(benchmark::State& state) {
    const std::u16string& text = MemoText();
    for (auto _ : state) {
        std::string bytes = "\xEF\xBB\xBF" + Utf16ToUtf8(text);
        benchmark::DoNotOptimize(bytes.data());
    }
    Finish(state, MemoBytes(true).size());
}

// The autosave: encode, write the temporary file, flush, rename.
void BM_SaveWriteNoteFile(benchmark::State& state) {
    testing::TempDir dir;
    const std::u16string path = dir.File("Note.txt");
    const std::u16string& text = MemoText();
    for (auto _ : state) {
        if (!WriteNoteFile(path, text)) state.SkipWithError("save failed");
    }
    Finish(state, MemoBytes(true).size());
}

// The same bytes written the same way, without the encoding.
void BM_SaveRawAtomicWrite(benchmark::State& state) {
    testing::TempDir dir;
    const std::u16string path = dir.File("Note.txt");
    const std::string& bytes = MemoBytes(true);
    for (auto _ : state) {
        if (!platform::WriteFileAtomic(path, bytes, state.range(0) != 0)) state.SkipWithError("write failed");
    }
    Finish(state, bytes.size());
}

BENCHMARK(BM_LoadMemcpy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadMemcpyFresh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadDecodeNoteText)->ArgName("crlf")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadDecodeThenNormalize)->ArgName("crlf")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadReferenceConverters)->ArgName("crlf")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadFromDisk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveEncodeOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveEncodeReference)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveWriteNoteFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveRawAtomicWrite)->ArgName("flush")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quillpane
