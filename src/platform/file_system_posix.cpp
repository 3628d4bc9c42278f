// POSIX file services, used by the native build and its tests.
#include "platform/file_system.h"
#include "platform/utf_convert.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>


namespace quillpane::platform {
namespace {

std::string NativePath(std::u16string_view path) {
    return Utf16ToUtf8(path);
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { Close(); }
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    bool Close() {
        if (fd_ < 0) return true;
        const bool ok = ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::uint64_t TicksOf(const timespec& time) {
    return static_cast<std::uint64_t>(time.tv_sec) * 10'000'000u + static_cast<std::uint64_t>(time.tv_nsec) / 100u;
}

bool WriteAndClose(Fd& fd, std::string_view bytes, bool flush, std::uint64_t* writeTime = nullptr) {
    bool ok = WriteAll(fd.Get(), bytes);
    if (ok && flush) ok = ::fsync(fd.Get()) == 0;
    if (ok && writeTime != nullptr) {
        struct stat info {};
        ok = ::fstat(fd.Get(), &info) == 0;
        *writeTime = TicksOf(info.st_mtim);
    }
    return fd.Close() && ok;
}


}  // namespace

// POSIX has no share modes: a file being written reads as it is now.
ReadResult ReadWholeFile(std::u16string_view path, std::uint64_t maxBytes, ReadSharing) {
    ReadResult result;
    Fd fd(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) {
        result.status = (errno == ENOENT) ? ReadStatus::NotFound : ReadStatus::OpenFailed;
        return result;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        result.status = ReadStatus::ReadFailed;
        return result;
    }
    result.lastWriteTime = TicksOf(info.st_mtim);
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > maxBytes) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    result.bytes.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd.Get(), result.bytes.data() + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (done != size) {
        result.bytes.clear();
        result.status = ReadStatus::ReadFailed;
        return result;
    }
    result.status = ReadStatus::Ok;
    return result;
}

bool WriteFileAtomic(std::u16string_view path, std::string_view bytes, bool flush, std::uint64_t* writeTime) {
    const std::string target = NativePath(path);
    const std::string temp = target + ".tmp";
    Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd.Valid()) return false;
    if (!WriteAndClose(fd, bytes, flush, writeTime) || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool CreateNewFile(std::u16string_view path, std::string_view bytes, bool flush) {
    const std::string target = NativePath(path);
    Fd fd(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!fd.Valid()) return false;
    if (!WriteAndClose(fd, bytes, flush)) {
        ::unlink(target.c_str());
        return false;
    }
    return true;
}

bool WriteWholeFile(std::u16string_view path, std::string_view bytes) {
    Fd fd(::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd.Valid()) return false;
    return WriteAndClose(fd, bytes, false);
}

bool CopyFileReplacing(std::u16string_view from, std::u16string_view to) {
    const ReadResult source = ReadWholeFile(from, UINT64_MAX);
    if (source.status != ReadStatus::Ok) return false;
    Fd fd(::open(NativePath(to).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd.Valid()) return false;
    if (!WriteAndClose(fd, source.bytes, true)) {
        ::unlink(NativePath(to).c_str());
        return false;
    }
    return true;
}

bool CopyFileNew(std::u16string_view from, std::u16string_view to) {
    const ReadResult source = ReadWholeFile(from, UINT64_MAX);
    if (source.status != ReadStatus::Ok) return false;
    return CreateNewFile(to, source.bytes, true);
}

bool MakeWritable(std::u16string_view path) {
    struct stat info {};
    const std::string native = NativePath(path);
    if (::stat(native.c_str(), &info) != 0) return false;
    return ::chmod(native.c_str(), info.st_mode | S_IWUSR) == 0;
}

std::optional<std::u16string> FinalPathOf(std::u16string_view path) {
    char* resolved = ::realpath(NativePath(path).c_str(), nullptr);
    if (resolved == nullptr) return std::nullopt;
    std::u16string result = Utf8ToUtf16Lenient(resolved);
    ::free(resolved);
    return result;
}

bool RenameFile(std::u16string_view from, std::u16string_view to) {
    // link + unlink: unlike rename, never replaces an existing target.
    const std::string source = NativePath(from);
    const std::string target = NativePath(to);
    if (::link(source.c_str(), target.c_str()) != 0) return false;
    ::unlink(source.c_str());
    return true;
}

bool DeleteFileAt(std::u16string_view path) {
    return ::unlink(NativePath(path).c_str()) == 0;
}

bool CreateDirectoryAt(std::u16string_view path) {
    std::string native = NativePath(path);
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    return ::mkdir(native.c_str(), 0755) == 0;
}

std::optional<FileAttributes> GetAttributes(std::u16string_view path) {
    std::string native = NativePath(path);
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    struct stat info {};
    if (::stat(native.c_str(), &info) != 0) return std::nullopt;
    FileAttributes attributes;
    attributes.isDirectory = S_ISDIR(info.st_mode);
    attributes.size = static_cast<std::uint64_t>(info.st_size);
    attributes.lastWriteTime = TicksOf(info.st_mtim);
    return attributes;
}

std::optional<std::vector<DirectoryEntry>> TryListDirectory(std::u16string_view folder) {
    std::vector<DirectoryEntry> entries;
    const std::string native = NativePath(folder);
    DIR* dir = ::opendir(native.empty() ? "." : native.c_str());
    if (dir == nullptr) {
        if (errno == ENOENT) return entries;
        return std::nullopt;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        std::string full = native;
        if (!full.empty() && full.back() != '/') full.push_back('/');
        full.append(name);
        struct stat info {};
        const bool known = ::stat(full.c_str(), &info) == 0;
        entries.push_back({Utf8ToUtf16Lenient(name), known && S_ISDIR(info.st_mode),
                           known ? static_cast<std::uint64_t>(info.st_size) : 0, known ? TicksOf(info.st_mtim) : 0});
    }
    ::closedir(dir);
    return entries;
}

std::vector<DirectoryEntry> ListDirectory(std::u16string_view folder) {
    return TryListDirectory(folder).value_or(std::vector<DirectoryEntry> {});
}

std::uint64_t FileTimeNow() {
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return TicksOf(now);
}

namespace {

LocalTime FromParts(const std::tm& parts) {
    LocalTime time;
    time.year = parts.tm_year + 1900;
    time.month = parts.tm_mon + 1;
    time.day = parts.tm_mday;
    time.hour = parts.tm_hour;
    time.minute = parts.tm_min;
    time.second = parts.tm_sec;
    time.dayOfWeek = parts.tm_wday;
    return time;
}

std::optional<LocalTime> LocalOfSeconds(std::time_t seconds) {
    std::tm parts {};
    if (::localtime_r(&seconds, &parts) == nullptr) return std::nullopt;
    return FromParts(parts);
}

}  // namespace

LocalTime LocalTimeNow() {
    timeval now {};
    ::gettimeofday(&now, nullptr);
    LocalTime time = LocalOfSeconds(now.tv_sec).value_or(LocalTime {});
    time.milliseconds = static_cast<int>(now.tv_usec / 1000);
    return time;
}

std::optional<LocalTime> LocalTimeOfUtc(const LocalTime& utc) {
    std::tm parts {};
    parts.tm_year = utc.year - 1900;
    parts.tm_mon = utc.month - 1;
    parts.tm_mday = utc.day;
    parts.tm_hour = utc.hour;
    parts.tm_min = utc.minute;
    parts.tm_sec = std::min(utc.second, 59);
    const std::time_t seconds = ::timegm(&parts);
    // timegm normalises the 31st of April into May: such a day does not exist.
    if (parts.tm_mday != utc.day || parts.tm_mon != utc.month - 1) return std::nullopt;
    return LocalOfSeconds(seconds);
}

std::optional<LocalTime> LocalTimeOfFileTime(std::uint64_t fileTime) {
    // The ticks of TicksOf: 100 ns units since 1970 here.
    return LocalOfSeconds(static_cast<std::time_t>(fileTime / 10'000'000u));
}

}  // namespace quillpane::platform
