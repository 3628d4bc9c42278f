// Which windows taking the foreground count as the user moving on, and the
// holds that keep the panel up meanwhile.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillpane {

enum class ProcessKind { Other, InputHost, ShellHost, SiblingTool, Explorer };

// By the file-name part of a process image path, ignoring case; an empty
// name (unknown process) matches nothing.
[[nodiscard]] ProcessKind ClassifyProcess(std::u16string_view imagePath);

struct ForeignWindow {
    ProcessKind process = ProcessKind::Other;
    std::u16string_view className;
    bool noActivate = false;  // WS_EX_NOACTIVATE
    bool toolWindow = false;  // WS_EX_TOOLWINDOW
    bool appWindow = false;   // WS_EX_APPWINDOW
};

// Input hosts, the shell's own surfaces (not folder windows or the desktop)
// and windows that never take activation.
[[nodiscard]] bool IsShellSurface(const ForeignWindow& window);

struct ShareHold {
    bool active = false;
    std::uint64_t until = 0;
    std::uint32_t windowProcess = 0;  // process of the first foreign window seen; 0 = none
};

struct FocusHolds {
    std::uint64_t voiceGraceUntil = 0;
    ShareHold shareHold;
};

// The window losing the panel the foreground went to.
struct FocusTarget {
    bool present = false;
    bool ownProcess = false;
    std::uint32_t processId = 0;
    bool shellSurface = false;
};

// Whether losing the foreground to target must not hide the panel. May end or
// record the share hold.
[[nodiscard]] bool IsHideExempt(FocusHolds& holds, std::uint64_t now, const FocusTarget& target);

// Ends a share hold whose time has passed (on the panel's own activation).
void ExpireShareHold(FocusHolds& holds, std::uint64_t now);

inline constexpr std::uint64_t kVoiceGraceMs = 2500;
inline constexpr std::uint64_t kShareHoldMs = 4000;

}  // namespace quillpane
