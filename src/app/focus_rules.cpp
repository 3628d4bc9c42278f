// Which windows taking the foreground count as the user moving on, and the
// holds that keep the panel up meanwhile.
#include "app/focus_rules.h"

#include <array>

namespace quillpane {
namespace {

char16_t FoldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

constexpr std::array<std::u16string_view, 3> kInputHosts = {u"TextInputHost.exe", u"TabTip.exe", u"ctfmon.exe"};
constexpr std::array<std::u16string_view, 5> kShellHosts = {u"ShellExperienceHost.exe", u"StartMenuExperienceHost.exe",
                                                            u"SearchHost.exe", u"SearchApp.exe", u"ShellHost.exe"};
constexpr std::array<std::u16string_view, 4> kExplorerOwnClasses = {u"CabinetWClass", u"ExploreWClass", u"Progman",
                                                                    u"WorkerW"};

template <std::size_t N>
bool InList(std::u16string_view name, const std::array<std::u16string_view, N>& list) {
    for (const std::u16string_view entry : list) {
        if (EqualsNoCase(name, entry)) return true;
    }
    return false;
}

}  // namespace

ProcessKind ClassifyProcess(std::u16string_view imagePath) {
    const std::size_t slash = imagePath.find_last_of(u"\\");
    const std::u16string_view name = slash == std::u16string_view::npos ? imagePath : imagePath.substr(slash + 1);
    if (name.empty()) return ProcessKind::Other;
    if (InList(name, kInputHosts)) return ProcessKind::InputHost;
    if (InList(name, kShellHosts)) return ProcessKind::ShellHost;
    if (EqualsNoCase(name, u"Lullshift.exe")) return ProcessKind::SiblingTool;
    if (EqualsNoCase(name, u"explorer.exe")) return ProcessKind::Explorer;
    return ProcessKind::Other;
}

bool IsShellSurface(const ForeignWindow& window) {
    switch (window.process) {
    case ProcessKind::InputHost:
    case ProcessKind::ShellHost:
    case ProcessKind::SiblingTool:
        return true;
    case ProcessKind::Explorer:
        if (!InList(window.className, kExplorerOwnClasses)) return true;
        break;
    case ProcessKind::Other:
        break;
    }
    return window.noActivate || (window.toolWindow && !window.appWindow);
}

void ExpireShareHold(FocusHolds& holds, std::uint64_t now) {
    if (holds.shareHold.active && now >= holds.shareHold.until) holds.shareHold = {};
}

bool IsHideExempt(FocusHolds& holds, std::uint64_t now, const FocusTarget& target) {
    if (now < holds.voiceGraceUntil) return true;
    ShareHold& hold = holds.shareHold;
    if (!hold.active) {
        if (!target.present) return false;
        if (target.ownProcess) return true;
        return target.shellSurface;
    }
    const bool held = now < hold.until;
    if (!target.present) return held;
    if (target.ownProcess) {
        if (!held) hold = {};
        return true;
    }
    if (hold.windowProcess != 0) {
        if (target.processId == hold.windowProcess || held) return true;
    } else if (held) {
        hold.windowProcess = target.processId;
        return true;
    }
    hold = {};
    return false;
}

}  // namespace quillpane
