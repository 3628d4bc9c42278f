// One pass of the program's inbox merge over a OneDrive-like folder, so the
// phone page test can check that what the page uploads lands in the memo.
// Usage: qp_merge_inbox <onedrive-folder> <memo-file> <journal-file> <marker>
#include "phone/phone_bridge.h"
#include "phone/phone_files.h"
#include "platform/file_system.h"
#include "platform/utf_convert.h"
#include "storage/note_codec.h"
#include "storage/note_file.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    using namespace quillpane;
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <onedrive-folder> <memo-file> <journal-file> <marker>\n", argv[0]);
        return 2;
    }
    const std::u16string memoPath = Utf8ToUtf16Lenient(argv[2]);
    const auto read = platform::ReadWholeFile(memoPath, kMaxNoteBytes);
    if (read.status != platform::ReadStatus::Ok) {
        std::fprintf(stderr, "cannot read the memo file %s\n", argv[2]);
        return 1;
    }
    std::u16string memo = DecodeNoteText(read.bytes);
    MemoAccess access;
    access.holds = [&](std::u16string_view block) { return memo.find(block) != std::u16string::npos; };
    access.append = [&](std::u16string_view blocks) {
        std::u16string next = AppendMergedText(memo, blocks);
        if (!WriteNoteFile(memoPath, next)) return false;
        memo = std::move(next);
        return true;
    };
    const MergeOutcome outcome = MergeInbox(PhonePathsUnder(Utf8ToUtf16Lenient(argv[1])), Utf8ToUtf16Lenient(argv[3]),
                                            Utf8ToUtf16Lenient(argv[4]), access, 3, [] {});
    if (outcome == MergeOutcome::MemoNotWritten) {
        std::fprintf(stderr, "the memo file was not written\n");
        return 1;
    }
    std::printf("%s\n", outcome == MergeOutcome::Merged ? "merged" : "nothing merged");
    return 0;
}
