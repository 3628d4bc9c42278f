// The memo's state machine: dirty tracking, autosave, outside changes, and
// the save lock after a failed load.
#include "storage/memo_state.h"

#include <algorithm>
#include <cstring>

#include "platform/utf_convert.h"
#include "storage/note_codec.h"

#include <utility>

namespace quillpane {

namespace {

std::uint64_t Load64(const char* at) {
    std::uint64_t word = 0;
    std::memcpy(&word, at, sizeof(word));
    return word;
}

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;

std::uint64_t Mix(std::uint64_t lane, std::uint64_t word) {
    lane ^= word * kPrime2;
    lane = (lane << 31) | (lane >> 33);
    return lane * kPrime1;
}

// Four independent lanes over 8-byte words, then a full avalanche: fast
// enough to hash a large memo as it loads, and a chance difference goes
// unnoticed with a probability of about 2^-64.
std::uint64_t BlockHash(std::string_view block) {
    std::uint64_t lanes[4] = {kPrime1 ^ block.size(), kPrime2, kPrime1 + kPrime2, ~kPrime1};
    std::size_t at = 0;
    for (; at + 32 <= block.size(); at += 32) {
        for (std::size_t lane = 0; lane < 4; ++lane) lanes[lane] = Mix(lanes[lane], Load64(block.data() + at + lane * 8));
    }
    for (; at + 8 <= block.size(); at += 8) lanes[0] = Mix(lanes[0], Load64(block.data() + at));
    std::uint64_t tail = 0;
    for (std::size_t i = 0; at + i < block.size(); ++i) {
        tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(block[at + i])) << (8 * i);
    }
    lanes[1] = Mix(lanes[1], tail);
    std::uint64_t hash = lanes[0] ^ Mix(lanes[1], lanes[2]) ^ Mix(lanes[3], lanes[0]);
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDull;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53ull;
    return hash ^ (hash >> 33);
}

std::vector<std::uint64_t> BlockHashes(std::string_view bytes) {
    std::vector<std::uint64_t> hashes;
    hashes.reserve(bytes.size() / SavedText::kBlockBytes + 1);
    for (std::size_t at = 0; at < bytes.size(); at += SavedText::kBlockBytes) {
        hashes.push_back(BlockHash(bytes.substr(at, SavedText::kBlockBytes)));
    }
    return hashes;
}

}  // namespace

SavedText& SavedText::operator=(std::u16string_view text) {
    AssignUtf8(Utf16ToUtf8(text), text.size());
    return *this;
}

void SavedText::AssignUtf8(std::string_view bytes, std::size_t units) {
    blocks_ = BlockHashes(bytes);
    bytes_ = bytes.size();
    units_ = units;
}

bool SavedText::SameBytesAt(std::size_t startByte, std::string_view bytes) const {
    if (startByte % kBlockBytes != 0 || startByte + bytes.size() > bytes_) return false;
    if ((startByte + bytes.size()) % kBlockBytes != 0 && startByte + bytes.size() != bytes_) return false;
    for (std::size_t at = 0; at < bytes.size(); at += kBlockBytes) {
        if (BlockHash(bytes.substr(at, kBlockBytes)) != blocks_[(startByte + at) / kBlockBytes]) return false;
    }
    return true;
}

bool operator==(const SavedText& saved, std::u16string_view text) {
    if (saved.units_ != text.size()) return false;
    const std::string bytes = Utf16ToUtf8(text);
    return bytes.size() == saved.bytes_ && saved.SameBytesAt(0, bytes);
}

SaveTimerAction OnEditorChanged(MemoState& state, std::u16string_view editorText) {
    // An edit undone back to the saved text is clean again and cancels the
    // pending save.
    state.memoDirty = !(state.lastSavedText == editorText);
    return state.memoDirty ? SaveTimerAction::Arm : SaveTimerAction::Kill;
}

SaveTimerAction OnEditorEdited(MemoState& state, std::size_t at, long long delta,
                               const std::function<EditorBytes(std::size_t, std::size_t, std::size_t)>& readBytes) {
    ChangedSpan& span = state.changed;
    const std::size_t removed = delta < 0 ? static_cast<std::size_t>(-delta) : 0;
    const std::size_t inserted = delta > 0 ? static_cast<std::size_t>(delta) : 0;
    if (!span.any) {
        span = {true, at, at + inserted, span.length};
    } else {
        span.start = std::min(span.start, at);
        span.end = std::max(span.end, at + removed) + inserted - removed;
    }
    span.length = span.length + inserted - removed;
    const std::size_t savedLength = state.lastSavedText.size();
    if (span.length != savedLength) {
        state.memoDirty = true;
    } else {
        // Outside the span both texts are the same; with equal byte lengths
        // the blocks around the span decide.
        const std::size_t end = std::min(span.end, savedLength);
        const EditorBytes now = readBytes(std::min(span.start, end), end, SavedText::kBlockBytes);
        state.memoDirty = now.totalBytes != state.lastSavedText.ByteSize() ||
                          !state.lastSavedText.SameBytesAt(now.startByte, now.bytes);
        // Back to the saved text: nothing differs any more.
        if (!state.memoDirty) span = {false, 0, 0, span.length};
    }
    return state.memoDirty ? SaveTimerAction::Arm : SaveTimerAction::Kill;
}

void ResetChangedSpan(MemoState& state) {
    state.changed = {false, 0, 0, state.lastSavedText.size()};
}

bool ShouldReloadOnWatchTick(const MemoState& state, const std::optional<platform::FileAttributes>& current) {
    if (!current || current->isDirectory) return false;
    if (state.loadRetry) return true;
    // Unsaved edits win over an outside change: the next save keeps the
    // outside version in the backups and then replaces it.
    return current->lastWriteTime != state.memoWriteTime && !state.memoDirty;
}

LoadOutcome LoadNoteInto(MemoState& state, NoteReadResult read, bool textInOutcome) {
    LoadOutcome outcome;
    const bool wasRetrying = state.loadRetry;
    state.memoWriteTime = read.writeTime;
    state.memoDirty = false;
    if (read.status != NoteReadStatus::Ok) {
        outcome.failure = read.status == NoteReadStatus::TooLarge ? LoadFailure::TooLarge : LoadFailure::Unreadable;
        // A file held by another program is tried again; one over the limit
        // stays over it until it changes.
        state.loadRetry = outcome.failure == LoadFailure::Unreadable;
        outcome.repeatedFailure = state.saveDisabled && wasRetrying && state.loadRetry;
        state.saveDisabled = true;
        return outcome;
    }
    outcome.saveReenabled = state.saveDisabled;
    state.saveDisabled = false;
    state.loadRetry = false;
    state.keepDiskVersion = read.foreignBytes;
    std::size_t units = read.units;
    if (read.utf8.empty()) {
        read.utf8 = Utf16ToUtf8(read.text);
        units = read.text.size();
    }
    state.lastSavedText.AssignUtf8(read.utf8, units);
    ResetChangedSpan(state);
    if (textInOutcome) outcome.text = read.text.empty() ? Utf8ToUtf16Lenient(read.utf8) : std::move(read.text);
    outcome.utf8 = std::move(read.utf8);
    return outcome;
}

bool DiskVersionNeedsKeeping(const MemoState& state, const std::optional<platform::FileAttributes>& current) {
    if (state.saveDisabled) return false;
    // Unknown attributes: only what is already known to need keeping.
    if (!current) return state.keepDiskVersion;
    return !current->isDirectory && (state.keepDiskVersion || current->lastWriteTime != state.memoWriteTime);
}

SaveResult SaveNoteText(MemoState& state, std::u16string_view editorText) {
    if (state.saveDisabled) {
        state.memoDirty = false;
        return SaveResult::Disabled;
    }
    // The time comes from the program's own handle: an outside write landing
    // just after the rename is never taken for this save.
    std::uint64_t writeTime = 0;
    const std::string bytes = EncodeNoteBytes(editorText);
    if (!platform::WriteFileAtomic(state.memoPath, bytes, true, &writeTime)) return SaveResult::Failed;
    // Encoded once: the saved text is the file's bytes after the three-byte mark.
    state.lastSavedText.AssignUtf8(std::string_view(bytes).substr(3), editorText.size());
    ResetChangedSpan(state);
    state.memoDirty = false;
    state.keepDiskVersion = false;
    state.memoWriteTime = writeTime;
    return SaveResult::Saved;
}

SaveResult SaveMemo(MemoState& state, std::u16string_view editorText, const BackupSettings& backup,
                    std::u16string_view backupFolder, const platform::LocalTime& now, BackupRecord& record) {
    const auto onDisk = platform::GetAttributes(state.memoPath);
    if (DiskVersionNeedsKeeping(state, onDisk)) {
        if (KeepInBackup(backup, state.memoPath, backupFolder, now, record)) {
            // Kept once: a retry after a failed write must not fill the
            // generations with copies of the same version.
            state.keepDiskVersion = false;
            if (onDisk) state.memoWriteTime = onDisk->lastWriteTime;
        } else if (platform::ReadWholeFile(state.memoPath, 0).status != platform::ReadStatus::NotFound) {
            return SaveResult::Failed;  // a memo deleted meanwhile leaves nothing to keep
        }
    }
    const SaveResult result = SaveNoteText(state, editorText);
    if (result == SaveResult::Saved) BackupAfterSave(backup, state.memoPath, backupFolder, now, record);
    return result;
}

}  // namespace quillpane
