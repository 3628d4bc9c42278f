// Time-stamped copies of the memo file after saves, with an interval and a
// generation limit.
#include "storage/backup.h"

#include "settings/paths.h"

#include <algorithm>
#include <array>

namespace quillpane {
namespace {

constexpr std::size_t kStampLength = 14;  // YYYYMMDDhhmmss
constexpr std::uint64_t kTicksPerMinute = 600'000'000;

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (month == 2 && IsLeapYear(year)) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

void AppendDigits(std::u16string& text, unsigned value, int width) {
    std::array<char16_t, 10> digits {};
    int count = 0;
    do {
        digits[static_cast<std::size_t>(count++)] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = count; i < width; ++i) text.push_back(u'0');
    while (count > 0) text.push_back(digits[static_cast<std::size_t>(--count)]);
}

int ParseDigits(std::u16string_view digits) {
    int value = 0;
    for (const char16_t c : digits) value = value * 10 + (c - u'0');
    return value;
}

// The local time a backup name carries after the stem; empty when the name is
// too short or the time stamp is not a valid date.
std::optional<std::uint64_t> StampTimeOf(std::u16string_view name, std::size_t stemLength) {
    if (name.size() < stemLength + kStampLength) return std::nullopt;
    const std::u16string_view stamp = name.substr(stemLength, kStampLength);
    if (!std::all_of(stamp.begin(), stamp.end(), IsDigit)) return std::nullopt;
    platform::LocalTime time;
    time.year = ParseDigits(stamp.substr(0, 4));
    time.month = ParseDigits(stamp.substr(4, 2));
    time.day = ParseDigits(stamp.substr(6, 2));
    time.hour = ParseDigits(stamp.substr(8, 2));
    time.minute = ParseDigits(stamp.substr(10, 2));
    time.second = ParseDigits(stamp.substr(12, 2));
    return LocalTimeToFileTime(time);
}

bool IsBackupName(std::u16string_view name, std::u16string_view stem, std::u16string_view extension) {
    if (name.size() != stem.size() + kStampLength + extension.size()) return false;
    if (name.substr(0, stem.size()) != stem || name.substr(stem.size() + kStampLength) != extension) return false;
    const std::u16string_view stamp = name.substr(stem.size(), kStampLength);
    return std::all_of(stamp.begin(), stamp.end(), IsDigit);
}

// Copies cut off by a crash leave their temporary files behind.
void RemoveStaleCopies(std::u16string_view folder, std::u16string_view stem, std::u16string_view extension) {
    constexpr std::u16string_view kTemp = u".tmp";
    for (const platform::DirectoryEntry& entry : platform::ListDirectory(folder)) {
        const std::u16string_view name = entry.name;
        if (entry.isDirectory || !name.ends_with(kTemp)) continue;
        if (IsBackupName(name.substr(0, name.size() - kTemp.size()), stem, extension)) {
            (void)platform::DeleteFileAt(platform::JoinPath(folder, name));
        }
    }
}

struct MemoName {
    std::u16string_view stem;
    std::u16string_view extension;
};

std::optional<MemoName> MemoNameOf(std::u16string_view memoPath) {
    const std::u16string_view fileName = memoPath.substr(FileNameStart(memoPath));
    const std::size_t dot = fileName.rfind(u'.');
    MemoName name {fileName.substr(0, dot),
                   dot == std::u16string_view::npos ? std::u16string_view() : fileName.substr(dot)};
    if (name.stem.empty()) return std::nullopt;
    return name;
}

// The copy just made counts as the newest even when the clock was set back
// onto an existing name, so pruning never removes it first.
void PruneGenerations(std::vector<std::u16string>& backups, const std::u16string& newest, int maxGenerations) {
    std::erase(backups, newest);
    backups.push_back(newest);
    const std::size_t keep = static_cast<std::size_t>(std::max(1, maxGenerations));
    const std::size_t excess = backups.size() > keep ? backups.size() - keep : 0;
    for (std::size_t i = 0; i < excess; ++i) (void)platform::DeleteFileAt(backups[i]);
}

}  // namespace

std::optional<std::uint64_t> LocalTimeToFileTime(const platform::LocalTime& time) {
    if (time.year < 1601 || time.year > 30827 || time.month < 1 || time.month > 12 || time.day < 1 ||
        time.day > DaysInMonth(time.year, time.month) || time.hour < 0 || time.hour > 23 || time.minute < 0 ||
        time.minute > 59 || time.second < 0 || time.second > 59 || time.milliseconds < 0 ||
        time.milliseconds > 999) {
        return std::nullopt;
    }
    constexpr std::array<int, 12> kDaysBefore = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    // 1601 starts a 400-year cycle, so the leap days before a year are plain
    // quotients of the years elapsed.
    const std::uint64_t years = static_cast<std::uint64_t>(time.year - 1601);
    std::uint64_t days = years * 365 + years / 4 - years / 100 + years / 400;
    days += static_cast<std::uint64_t>(kDaysBefore[static_cast<std::size_t>(time.month - 1)]);
    if (time.month > 2 && IsLeapYear(time.year)) ++days;
    days += static_cast<std::uint64_t>(time.day - 1);
    const std::uint64_t seconds = days * 86'400 + static_cast<std::uint64_t>(time.hour) * 3'600 +
                                  static_cast<std::uint64_t>(time.minute) * 60 +
                                  static_cast<std::uint64_t>(time.second);
    return (seconds * 1'000 + static_cast<std::uint64_t>(time.milliseconds)) * 10'000;
}

std::u16string BackupFileName(std::u16string_view stem, std::u16string_view extension,
                              const platform::LocalTime& time) {
    std::u16string name(stem);
    AppendDigits(name, static_cast<unsigned>(time.year), 4);
    AppendDigits(name, static_cast<unsigned>(time.month), 2);
    AppendDigits(name, static_cast<unsigned>(time.day), 2);
    AppendDigits(name, static_cast<unsigned>(time.hour), 2);
    AppendDigits(name, static_cast<unsigned>(time.minute), 2);
    AppendDigits(name, static_cast<unsigned>(time.second), 2);
    name += extension;
    return name;
}

std::vector<std::u16string> ListBackups(std::u16string_view folder, std::u16string_view stem,
                                        std::u16string_view extension) {
    std::vector<std::u16string> backups;
    for (const platform::DirectoryEntry& entry : platform::ListDirectory(folder)) {
        if (!entry.isDirectory && IsBackupName(entry.name, stem, extension)) backups.push_back(platform::JoinPath(folder, entry.name));
    }
    // Same stem and extension: ordinal order of the names is time order.
    std::sort(backups.begin(), backups.end());
    return backups;
}

void BackupAfterSave(const BackupSettings& settings, std::u16string_view memoPath,
                     std::u16string_view backupFolder, const platform::LocalTime& now, BackupRecord& record) {
    if (!settings.enabled || memoPath.empty()) return;
    const std::optional<MemoName> name = MemoNameOf(memoPath);
    if (!name) return;
    const std::u16string_view stem = name->stem;
    const std::u16string_view extension = name->extension;
    const std::optional<std::uint64_t> nowTime = LocalTimeToFileTime(now);
    if (!nowTime) return;

    // A clock set back before the reference time never blocks a backup.
    const auto tooSoon = [&](std::uint64_t reference) {
        return settings.intervalMinutes > 0 && reference < *nowTime &&
               (*nowTime - reference) / kTicksPerMinute < static_cast<std::uint64_t>(settings.intervalMinutes);
    };

    const bool recordApplies = record.lastBackupTime != 0 && record.lastBackupPath == memoPath;
    if (recordApplies && tooSoon(record.lastBackupTime)) return;

    CreatePathFolders(backupFolder);
    std::vector<std::u16string> backups = ListBackups(backupFolder, stem, extension);
    RemoveStaleCopies(backupFolder, stem, extension);

    // First backup of this run: the newest file on disk is the reference.
    if (!recordApplies && !backups.empty() && settings.intervalMinutes > 0) {
        const std::u16string_view newest = backups.back();
        const std::optional<std::uint64_t> stampTime = StampTimeOf(newest.substr(FileNameStart(newest)), stem.size());
        if (stampTime && *stampTime != 0) {
            record.lastBackupPath.assign(memoPath);
            record.lastBackupTime = *stampTime;
            if (tooSoon(*stampTime)) return;
        }
    }

    const std::u16string target = platform::JoinPath(backupFolder, BackupFileName(stem, extension, now));
    // Two backups within the same second: the later one replaces the earlier,
    // unless the earlier one holds a version kept before this save.
    if (target == record.keptPath) return;
    // Through a flushed temporary file: a crash or power cut never leaves a
    // partial copy under a backup's name.
    const platform::ReadResult memo = platform::ReadWholeFile(memoPath, UINT64_MAX);
    if (memo.status != platform::ReadStatus::Ok || !platform::WriteFileAtomic(target, memo.bytes, true)) return;
    PruneGenerations(backups, target, settings.maxGenerations);
    record.lastBackupPath.assign(memoPath);
    record.lastBackupTime = *nowTime;
}

bool KeepInBackup(const BackupSettings& settings, std::u16string_view memoPath, std::u16string_view backupFolder,
                  const platform::LocalTime& now, BackupRecord& record) {
    const std::optional<MemoName> name = MemoNameOf(memoPath);
    const std::optional<std::uint64_t> nowTime = LocalTimeToFileTime(now);
    if (!name || !nowTime) return false;
    CreatePathFolders(backupFolder);
    std::vector<std::u16string> backups = ListBackups(backupFolder, name->stem, name->extension);
    const std::u16string target = platform::JoinPath(backupFolder, BackupFileName(name->stem, name->extension, now));
    // A name taken this second is not replaced: the save waits for the next.
    if (!platform::CopyFileNew(memoPath, target)) return false;
    PruneGenerations(backups, target, settings.maxGenerations);
    record.lastBackupPath.assign(memoPath);
    record.lastBackupTime = *nowTime;
    record.keptPath = target;
    return true;
}

std::u16string WriteUnsavedCopy(std::u16string_view memoPath, std::u16string_view backupFolder,
                                const platform::LocalTime& now, std::string_view bytes) {
    const std::optional<MemoName> name = MemoNameOf(memoPath);
    if (!name) return {};
    CreatePathFolders(backupFolder);
    const std::u16string stamped = BackupFileName(std::u16string(name->stem) + u"-unsaved-", u"", now);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::u16string fileName = stamped;
        if (attempt > 0) {
            fileName.push_back(u'-');
            AppendDigits(fileName, attempt, 1);
        }
        fileName += name->extension;
        std::u16string target = platform::JoinPath(backupFolder, fileName);
        if (platform::CreateNewFile(target, bytes, true)) return target;
        // Only a name that is taken is worth another try.
        if (!platform::GetAttributes(target)) return {};
    }
    return {};
}

std::u16string BackupFolderOf(std::u16string_view programFolder) {
    std::u16string folder(programFolder);
    folder += u"Backup";
    folder.push_back(platform::kPathSeparator);
    return folder;
}

}  // namespace quillpane
