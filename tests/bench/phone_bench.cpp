// What the phone export costs after a save when the memo did not change
// since the last export (the usual case: a compare, no write), against the
// floor of encoding the text and reading the file once.
#include "phone/phone_files.h"
#include "platform/file_system.h"
#include "storage/note_codec.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

namespace quillpane {
namespace {

std::u16string Memo(std::size_t units) {
    const std::u16string line = u"2026-08-21 notes \u4F1A\u8B70\u306E\u30E1\u30E2 - buy milk, eggs, bread\r\n";
    std::u16string text;
    text.reserve(units + line.size());
    while (text.size() < units) text += line;
    return text;
}

void BM_PhoneExportUnchanged(benchmark::State& state) {
    const std::u16string text = Memo(static_cast<std::size_t>(state.range(0)));
    testing::TempDir dir;
    const PhonePaths paths = PhonePathsUnder(dir.Path());
    const EditorSettings editor;
    if (!EnsurePhoneFolders(paths) || !ExportNotes(paths, text, editor)) state.SkipWithError("no bridge folder");
    for (auto _ : state) benchmark::DoNotOptimize(ExportNotes(paths, text, editor));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size() * 2));
}

// The floor: the text encoded and the file read, once each.
void BM_PhoneExportFloor(benchmark::State& state) {
    const std::u16string text = Memo(static_cast<std::size_t>(state.range(0)));
    testing::TempDir dir;
    const std::u16string path = dir.File("current.txt");
    if (!platform::WriteWholeFile(path, EncodeNoteBytes(text))) state.SkipWithError("cannot write");
    for (auto _ : state) {
        const std::string bytes = EncodeNoteBytes(text);
        const platform::ReadResult read = platform::ReadWholeFile(path, bytes.size());
        benchmark::DoNotOptimize(read.bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size() * 2));
}

BENCHMARK(BM_PhoneExportUnchanged)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhoneExportFloor)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillpane
