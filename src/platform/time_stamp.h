// The program's one written form of a local time: "2026-08-21 14:30", no
// seconds and no locale.
#pragma once

#include "platform/file_system.h"

#include <string>

namespace quillpane {

enum class StampKind { DateAndTime, Date, Time };

// "yyyy-mm-dd hh:mm", "yyyy-mm-dd" or "hh:mm".
[[nodiscard]] std::u16string DateTimeStamp(StampKind kind, const platform::LocalTime& time);

}  // namespace quillpane
