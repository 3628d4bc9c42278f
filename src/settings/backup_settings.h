// The [Backup] settings, shared by the configuration and the backup code.
#pragma once

namespace quillpane {

struct BackupSettings {
    bool enabled = true;
    int intervalMinutes = 10;  // 0..1440; 0: a backup after every save
    int maxGenerations = 30;   // 1..100; 0 or less counts as 1
    bool operator==(const BackupSettings&) const = default;
};

}  // namespace quillpane
