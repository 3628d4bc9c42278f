// Which file is the memo, and creating, reading and writing it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillpane {

// Larger memo files are not loaded; a file of exactly this size is.
inline constexpr std::uint64_t kMaxNoteBytes = 67'108'864;

struct ResolvedNote {
    std::u16string path;
    // True only when this call has just created the default memo file with
    // the welcome text (start-up then opens the settings window).
    bool created = false;
};

// Picks the memo file from [Note] File (configuredFile, may be empty), falling
// back to "Note.txt" in the program folder below dataFolder, and creates it
// when missing. The welcome text goes only into the default file. A
// configured folder is never created; the configured value is not changed.
[[nodiscard]] ResolvedNote ResolveNoteFile(std::u16string_view configuredFile, std::u16string_view dataFolder,
                                           std::u16string_view welcomeText);

// Creates a file that must not exist yet with EF BB BF and, when given, the
// welcome text in UTF-8. A failed write leaves no file behind.
[[nodiscard]] bool CreateNoteFile(std::u16string_view path, std::optional<std::u16string_view> welcomeText);

enum class NoteReadStatus {
    Ok,
    TooLarge,    // larger than kMaxNoteBytes
    Unreadable,  // missing, locked, or the read failed
};

struct NoteReadResult {
    NoteReadStatus status = NoteReadStatus::Unreadable;
    std::u16string text;  // decoded, CR LF line ends; empty unless Ok (or not asked for)
    // The file's bytes after the byte-order mark when they are exactly the
    // UTF-8 of the text (the usual case), with the text's length in UTF-16
    // code units; empty otherwise.
    std::string utf8;
    std::size_t units = 0;
    // The file's last write time taken just before reading, 0 when it could
    // not be queried; recorded whether or not the read succeeded.
    std::uint64_t writeTime = 0;
    // The file is not what a save writes (UTF-8 with a byte-order mark and
    // CR LF): its bytes are kept before the first save replaces them.
    bool foreignBytes = false;
};

// Without decode, a file that is the UTF-8 of its text comes back as utf8
// alone: the text is not made.
[[nodiscard]] NoteReadResult ReadNoteFile(std::u16string_view path, bool decode = true);

// Writes EF BB BF + UTF-8 to path + ".tmp", flushes it and moves it over
// path. On failure the old file is untouched and no temporary file remains.
[[nodiscard]] bool WriteNoteFile(std::u16string_view path, std::u16string_view text);

// Case-insensitive comparison of paths: ASCII letters and the letters of
// Latin-1 and Latin Extended-A fold to lower case; nothing else is folded.
[[nodiscard]] bool PathEqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

}  // namespace quillpane
