// File services the portable code needs; Win32 and POSIX implementations.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane::platform {

// Separator used when the program joins path parts. Portable code accepts
// both '\\' and '/' when it splits paths.
#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

// folder and name with one separator between them.
[[nodiscard]] inline std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path.push_back(kPathSeparator);
    path += name;
    return path;
}

enum class ReadStatus {
    Ok,
    NotFound,    // the file does not exist
    OpenFailed,  // exists (or may) but could not be opened: sharing, access
    TooLarge,    // larger than the caller's limit
    ReadFailed,  // size query, read or short read failed
};

struct ReadResult {
    ReadStatus status = ReadStatus::ReadFailed;
    std::string bytes;
    // Of the opened file, taken before reading: a write that lands during or
    // after the read still differs from it. 0 when unknown.
    std::uint64_t lastWriteTime = 0;
};

enum class ReadSharing {
    ReadWrite,  // others may go on writing while the file is read
    ReadOnly,   // a file someone is still writing fails to open (OpenFailed)
};

// Opens with the given sharing, checks the size against maxBytes, reads the
// whole file in one call. An empty file reads as Ok with no bytes.
[[nodiscard]] ReadResult ReadWholeFile(std::u16string_view path, std::uint64_t maxBytes,
                                       ReadSharing sharing = ReadSharing::ReadWrite);

// Writes path + ".tmp" (no sharing, truncating), optionally flushes it to
// disk, then replaces path with it. On any failure the temporary file is
// removed and the old file stays as it was. writeTime, when given, receives
// the new file's last write time as stamped through the program's own handle,
// so a later outside write is never taken for the program's.
[[nodiscard]] bool WriteFileAtomic(std::u16string_view path, std::string_view bytes, bool flush,
                                   std::uint64_t* writeTime = nullptr);

// Creates a file that must not exist yet and writes bytes, optionally
// flushed to disk; a failed write removes the file again.
[[nodiscard]] bool CreateNewFile(std::u16string_view path, std::string_view bytes, bool flush = false);

// Creates or truncates a file (no sharing) and writes bytes in one call;
// true only when every byte was written.
[[nodiscard]] bool WriteWholeFile(std::u16string_view path, std::string_view bytes);

// Both copies are flushed to disk before they report success; a failed copy
// leaves no partial file behind.
[[nodiscard]] bool CopyFileReplacing(std::u16string_view from, std::u16string_view to);
// Fails when `to` exists.
[[nodiscard]] bool CopyFileNew(std::u16string_view from, std::u16string_view to);
// Clears the read-only attribute (a copy keeps its source's).
bool MakeWritable(std::u16string_view path);
// The path with every link and junction resolved; empty when it cannot be
// opened.
[[nodiscard]] std::optional<std::u16string> FinalPathOf(std::u16string_view path);
bool DeleteFileAt(std::u16string_view path);
// Renames a file; fails when `to` exists.
[[nodiscard]] bool RenameFile(std::u16string_view from, std::u16string_view to);

// One directory level; errors (already exists) are the caller's to ignore.
bool CreateDirectoryAt(std::u16string_view path);

struct FileAttributes {
    bool isDirectory = false;
    std::uint64_t size = 0;
    std::uint64_t lastWriteTime = 0;  // 100 ns units; only compared for change
};

// Empty when the path does not exist or cannot be queried.
[[nodiscard]] std::optional<FileAttributes> GetAttributes(std::u16string_view path);

struct DirectoryEntry {
    std::u16string name;
    bool isDirectory = false;
    std::uint64_t size = 0;
    std::uint64_t lastWriteTime = 0;  // in the units and epoch of FileTimeNow
};

// Entries of a folder (not "." or ".."); empty when it cannot be listed.
[[nodiscard]] std::vector<DirectoryEntry> ListDirectory(std::u16string_view folder);
// The same, telling a folder that cannot be listed from an empty one.
[[nodiscard]] std::optional<std::vector<DirectoryEntry>> TryListDirectory(std::u16string_view folder);

struct LocalTime {
    int year = 0;
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
    int dayOfWeek = 0;  // 0 Sunday
};

[[nodiscard]] LocalTime LocalTimeNow();
// A UTC time, and a time in the units of FileTimeNow, in the current time zone; empty when the
// time cannot be converted.
[[nodiscard]] std::optional<LocalTime> LocalTimeOfUtc(const LocalTime& utc);
[[nodiscard]] std::optional<LocalTime> LocalTimeOfFileTime(std::uint64_t fileTime);
// The current time in the units and epoch of FileAttributes::lastWriteTime.
[[nodiscard]] std::uint64_t FileTimeNow();

// The process's ANSI code page (1252 on the POSIX build, which stands in for
// a Western European Windows).
[[nodiscard]] unsigned AnsiCodePage();

// Bytes in the ANSI code page to UTF-16; never fails (unmapped bytes become
// the code page's default mapping or U+FFFD).
[[nodiscard]] std::u16string AnsiToUtf16(std::string_view bytes);

}  // namespace quillpane::platform
