// One pass of the program's inbox merge over a OneDrive-like folder, so the
// phone page test can check that what the page uploads lands in the memo.
// Usage: qp_merge_inbox <onedrive-folder> <memo-file> <journal-file>
#include "phone/phone_bridge.h"
#include "phone/phone_files.h"
#include "platform/file_system.h"
#include "platform/utf_convert.h"
#include "storage/note_codec.h"
#include "storage/note_file.h"

#include <cstdio>
#include <string>

namespace {

std::u16string Wide(const char* text) {
    return quillpane::Utf8ToUtf16Lenient(text);
}

// The marker the program would use: section.json's separator when the
// export holds one, the fallback otherwise.
std::u16string MarkerFrom(const quillpane::PhonePaths& paths) {
    const auto read = quillpane::platform::ReadWholeFile(quillpane::platform::JoinPath(paths.notes, u"section.json"), 65536);
    if (read.status != quillpane::platform::ReadStatus::Ok) return std::u16string(quillpane::kFallbackMergeMarker);
    const std::string& json = read.bytes;
    const std::string key = "\"separator\":\"";
    const std::size_t at = json.find(key);
    if (at == std::string::npos) return std::u16string(quillpane::kFallbackMergeMarker);
    const std::size_t end = json.find('"', at + key.size());
    const std::string value = json.substr(at + key.size(), end - at - key.size());
    // Escaped separators are not worth a JSON parser here.
    if (value.empty() || value.find('\\') != std::string::npos) {
        return std::u16string(quillpane::kFallbackMergeMarker);
    }
    return quillpane::Utf8ToUtf16Lenient(value);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <onedrive-folder> <memo-file> <journal-file>\n", argv[0]);
        return 2;
    }
    const quillpane::PhonePaths paths = quillpane::PhonePathsUnder(Wide(argv[1]));
    const std::u16string memoPath = Wide(argv[2]);
    const std::u16string journalPath = Wide(argv[3]);

    const auto read = quillpane::platform::ReadWholeFile(memoPath, quillpane::kMaxNoteBytes);
    if (read.status != quillpane::platform::ReadStatus::Ok) {
        std::fprintf(stderr, "cannot read the memo file %s\n", argv[2]);
        return 1;
    }
    std::u16string memo = quillpane::DecodeNoteText(read.bytes);

    quillpane::MemoAccess access;
    access.holds = [&](std::u16string_view block) { return memo.find(block) != std::u16string::npos; };
    access.append = [&](std::u16string_view blocks) {
        std::u16string next = quillpane::AppendMergedText(memo, blocks);
        if (!quillpane::WriteNoteFile(memoPath, next)) return false;
        memo = std::move(next);
        return true;
    };

    const quillpane::MergeOutcome outcome =
        quillpane::MergeInbox(paths, journalPath, MarkerFrom(paths), access, 3, [] {});
    if (outcome == quillpane::MergeOutcome::MemoNotWritten) {
        std::fprintf(stderr, "the memo file was not written\n");
        return 1;
    }
    std::printf("%s\n", outcome == quillpane::MergeOutcome::Merged ? "merged" : "nothing merged");
    return 0;
}
