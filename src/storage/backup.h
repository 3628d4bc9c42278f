// Time-stamped copies of the memo file after saves, with an interval and a
// generation limit.
#pragma once

#include "platform/file_system.h"
#include "settings/backup_settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

// The last backup of this run; lives only in memory.
struct BackupRecord {
    std::u16string lastBackupPath;    // the memo path the backup was made for
    std::uint64_t lastBackupTime = 0; // local time as a file time; 0 = none
    std::u16string keptPath;          // the last copy KeepInBackup made
};

// Local time as 100 ns units since 1601-01-01, or empty when a field is out
// of range (the checks of SystemTimeToFileTime; the day of the week is
// ignored).
[[nodiscard]] std::optional<std::uint64_t> LocalTimeToFileTime(const platform::LocalTime& time);

// stem + "YYYYMMDDhhmmss" + extension.
[[nodiscard]] std::u16string BackupFileName(std::u16string_view stem, std::u16string_view extension,
                                            const platform::LocalTime& time);

// Full paths of the backups of one memo file in folder, oldest first. Stem
// and extension must match exactly (case-sensitive), so a backup is only
// ever recognised, and pruned, under the very name the program gives it.
[[nodiscard]] std::vector<std::u16string> ListBackups(std::u16string_view folder, std::u16string_view stem,
                                                      std::u16string_view extension);

// After a successful write of memoPath: copies it into backupFolder when the
// interval has passed and deletes the oldest copies beyond the generation
// limit. now is the current local time. Every failure is silent; record is
// updated only when a copy was made (or from the newest file on disk).
void BackupAfterSave(const BackupSettings& settings, std::u16string_view memoPath,
                     std::u16string_view backupFolder, const platform::LocalTime& now, BackupRecord& record);

// Before a save replaces a file the program did not write, or wrote in
// another encoding: copies it into backupFolder whatever the interval and
// the enabled setting, as one generation. Never replaces an existing file;
// false when no copy was made (the save must then wait).
[[nodiscard]] bool KeepInBackup(const BackupSettings& settings, std::u16string_view memoPath,
                                std::u16string_view backupFolder, const platform::LocalTime& now,
                                BackupRecord& record);

// The memo text that could not be saved, written into backupFolder under a
// name no file has yet ("<stem>-unsaved-<stamp>[-n]<extension>"). Returns
// the path written, empty when nothing could be written.
[[nodiscard]] std::u16string WriteUnsavedCopy(std::u16string_view memoPath, std::u16string_view backupFolder,
                                              const platform::LocalTime& now, std::string_view bytes);

// programFolder + "Backup" + separator.
[[nodiscard]] std::u16string BackupFolderOf(std::u16string_view programFolder);

}  // namespace quillpane
