// Win32 file services.
#include "platform/file_system.h"
#include "platform/handles_win.h"
#include "platform/wide_win.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace quillpane::platform {
namespace {

std::wstring Wide(std::u16string_view path) {
    return ToWide(path);
}

// WriteFile takes a DWORD count; the memo is bounded well below 4 GiB, but
// larger buffers are written in pieces rather than truncated.
bool WriteAll(HANDLE file, std::string_view bytes) {
    std::size_t done = 0;
    do {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 0x40000000u));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written != chunk) return false;
        done += chunk;
    } while (done < bytes.size());
    return true;
}

// A reader, indexer or virus scanner holding the target for a moment makes
// the replace fail; such holds clear within milliseconds.
bool ReplaceWithRetry(const std::wstring& from, const std::wstring& to) {
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        const DWORD error = ::GetLastError();
        const bool transient =
            error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
        if (!transient || attempt == 4) return false;
        ::Sleep(15);
    }
}

std::uint64_t TicksOf(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

ReadResult ReadWholeFile(std::u16string_view path, std::uint64_t maxBytes, ReadSharing sharing) {
    ReadResult result;
    const DWORD share = sharing == ReadSharing::ReadWrite ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
    UniqueHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        result.status = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? ReadStatus::NotFound
                                                                                        : ReadStatus::OpenFailed;
        return result;
    }
    LARGE_INTEGER size {};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) {
        result.status = ReadStatus::ReadFailed;
        return result;
    }
    if (FILETIME written {}; ::GetFileTime(file.Get(), nullptr, nullptr, &written)) result.lastWriteTime = TicksOf(written);
    if (static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    if (size.QuadPart > 0xFFFFFFFFLL) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    const auto length = static_cast<DWORD>(size.QuadPart);
    result.bytes.resize(length);
    if (length > 0) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), result.bytes.data(), length, &read, nullptr) || read != length) {
            result.bytes.clear();
            result.status = ReadStatus::ReadFailed;
            return result;
        }
    }
    result.status = ReadStatus::Ok;
    return result;
}

bool WriteFileAtomic(std::u16string_view path, std::string_view bytes, bool flush, std::uint64_t* writeTime) {
    const std::wstring target = Wide(path);
    const std::wstring temp = target + L".tmp";
    UniqueHandle file(
        ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bool ok = WriteAll(file.Get(), bytes);
    if (ok && writeTime != nullptr) {
        // Stamped explicitly: the file system then leaves the time alone at
        // close, and the rename keeps it.
        FILETIME now {};
        ::GetSystemTimeAsFileTime(&now);
        ok = ::SetFileTime(file.Get(), nullptr, nullptr, &now) != FALSE;
        *writeTime = TicksOf(now);
    }
    if (ok && flush) ok = ::FlushFileBuffers(file.Get()) != FALSE;
    ok = file.Reset() && ok;
    if (ok) ok = ReplaceWithRetry(temp, target);
    if (!ok) ::DeleteFileW(temp.c_str());
    return ok;
}

bool CreateNewFile(std::u16string_view path, std::string_view bytes, bool flush) {
    const std::wstring target = Wide(path);
    UniqueHandle file(
        ::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bool ok = WriteAll(file.Get(), bytes);
    if (ok && flush) ok = ::FlushFileBuffers(file.Get()) != FALSE;
    if (!file.Reset() || !ok) {
        ::DeleteFileW(target.c_str());
        return false;
    }
    return true;
}

bool WriteWholeFile(std::u16string_view path, std::string_view bytes) {
    UniqueHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const bool ok = WriteAll(file.Get(), bytes);
    return file.Reset() && ok;
}

bool CopyFileReplacing(std::u16string_view from, std::u16string_view to) {
    const std::wstring target = Wide(to);
    bool ok = ::CopyFileW(Wide(from).c_str(), target.c_str(), FALSE) != FALSE;
    if (ok) {
        // CopyFileW leaves the data in the cache; a copy that a power cut can
        // empty is no backup.
        UniqueHandle copy(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ok = copy && ::FlushFileBuffers(copy.Get()) != FALSE;
    }
    if (!ok) ::DeleteFileW(target.c_str());
    return ok;
}

bool CopyFileNew(std::u16string_view from, std::u16string_view to) {
    const ReadResult source = ReadWholeFile(from, UINT64_MAX);
    if (source.status != ReadStatus::Ok) return false;
    return CreateNewFile(to, source.bytes, true);
}

bool MakeWritable(std::u16string_view path) {
    const std::wstring native = Wide(path);
    const DWORD attributes = ::GetFileAttributesW(native.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if ((attributes & FILE_ATTRIBUTE_READONLY) == 0) return true;
    return ::SetFileAttributesW(native.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) != FALSE;
}

std::optional<std::u16string> FinalPathOf(std::u16string_view path) {
    UniqueHandle file(::CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return std::nullopt;
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(length + 1);
    }
    // The \\?\ form is only for long paths; the rest of the program and the
    // user read plain drive and UNC paths.
    std::wstring_view result = buffer;
    if (result.starts_with(L"\\\\?\\UNC\\")) return u"\\\\" + FromWide(result.substr(8));
    if (result.starts_with(L"\\\\?\\") && result.size() < MAX_PATH + 4) result.remove_prefix(4);
    return FromWide(result);
}

bool RenameFile(std::u16string_view from, std::u16string_view to) {
    return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), 0) != FALSE;
}

bool DeleteFileAt(std::u16string_view path) {
    return ::DeleteFileW(Wide(path).c_str()) != FALSE;
}

bool CreateDirectoryAt(std::u16string_view path) {
    return ::CreateDirectoryW(Wide(path).c_str(), nullptr) != FALSE;
}

std::optional<FileAttributes> GetAttributes(std::u16string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data {};
    if (!::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    FileAttributes attributes;
    attributes.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    attributes.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    attributes.lastWriteTime = TicksOf(data.ftLastWriteTime);
    return attributes;
}

std::optional<std::vector<DirectoryEntry>> TryListDirectory(std::u16string_view folder) {
    std::vector<DirectoryEntry> entries;
    std::wstring pattern = Wide(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern.push_back(L'\\');
    pattern.push_back(L'*');
    WIN32_FIND_DATAW data {};
    HANDLE find = ::FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        if (::GetLastError() == ERROR_FILE_NOT_FOUND) return entries;
        return std::nullopt;
    }
    do {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        entries.push_back({FromWide(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                           TicksOf(data.ftLastWriteTime)});
    } while (::FindNextFileW(find, &data));
    const bool complete = ::GetLastError() == ERROR_NO_MORE_FILES;
    ::FindClose(find);
    if (!complete) return std::nullopt;
    return entries;
}

std::vector<DirectoryEntry> ListDirectory(std::u16string_view folder) {
    return TryListDirectory(folder).value_or(std::vector<DirectoryEntry> {});
}

std::uint64_t FileTimeNow() {
    FILETIME now {};
    ::GetSystemTimeAsFileTime(&now);
    return TicksOf(now);
}

namespace {

LocalTime FromSystemTime(const SYSTEMTIME& now) {
    LocalTime time;
    time.year = now.wYear;
    time.month = now.wMonth;
    time.day = now.wDay;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    time.milliseconds = now.wMilliseconds;
    time.dayOfWeek = now.wDayOfWeek;
    return time;
}

std::optional<LocalTime> LocalOfSystemTime(const SYSTEMTIME& utc) {
    SYSTEMTIME local {};
    if (!::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return std::nullopt;
    return FromSystemTime(local);
}

}  // namespace

LocalTime LocalTimeNow() {
    SYSTEMTIME now {};
    ::GetLocalTime(&now);
    return FromSystemTime(now);
}

std::optional<LocalTime> LocalTimeOfUtc(const LocalTime& utc) {
    SYSTEMTIME system {};
    system.wYear = static_cast<WORD>(utc.year);
    system.wMonth = static_cast<WORD>(utc.month);
    system.wDay = static_cast<WORD>(utc.day);
    system.wHour = static_cast<WORD>(utc.hour);
    system.wMinute = static_cast<WORD>(utc.minute);
    // A leap second is the next minute's first.
    system.wSecond = static_cast<WORD>(std::min(utc.second, 59));
    // Rejects days a month does not have (the 31st of April).
    FILETIME checked {};
    if (!::SystemTimeToFileTime(&system, &checked)) return std::nullopt;
    return LocalOfSystemTime(system);
}

std::optional<LocalTime> LocalTimeOfFileTime(std::uint64_t fileTime) {
    const FILETIME time {static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    SYSTEMTIME utc {};
    if (!::FileTimeToSystemTime(&time, &utc)) return std::nullopt;
    return LocalOfSystemTime(utc);
}

}  // namespace quillpane::platform
