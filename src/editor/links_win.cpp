#include "editor/links_win.h"

#include "editor/links.h"
#include "editor/shell_open_win.h"
#include "editor/text_adapter_win.h"
#include "platform/wide_win.h"

#include <algorithm>

namespace quillpane {
namespace {

constexpr int kLinkIndicator = 2;
// A stretch longer than this (a long line without breaks) is cut around the
// lines on screen.
constexpr Scintilla::Position kMaxScanBytes = 256 * 1024;

struct Stretch {
    Scintilla::Position start = 0;
    Scintilla::Position end = 0;
};

bool DetectsLinks(const EditorWindow& ed) {
    return ServesText(ed) && SettingsOf(ed).detectLinks;
}

// The lines on screen and a margin above and below, in bytes.
Stretch ScanStretch(EditorWindow& ed) {
    Scintilla::ScintillaCall& sci = ed.sci;
    const Scintilla::Line lineCount = std::max<Scintilla::Line>(1, sci.LineCount());
    const Scintilla::Line rows = std::max<Scintilla::Line>(1, sci.LinesOnScreen());
    const Scintilla::Line firstDisplay = sci.FirstVisibleLine();
    const Scintilla::Line first = sci.DocLineFromVisible(firstDisplay);
    const Scintilla::Line last = sci.DocLineFromVisible(firstDisplay + rows);
    const auto margin = static_cast<Scintilla::Line>(LinkMarginLines(static_cast<std::size_t>(rows)));
    Stretch stretch {sci.PositionFromLine(std::max<Scintilla::Line>(0, first - margin)),
                     sci.LineEndPosition(std::min(lineCount - 1, last + margin))};
    if (stretch.end - stretch.start > kMaxScanBytes) {
        RECT client {};
        ::GetClientRect(ed.hwnd, &client);
        const Scintilla::Position top = sci.PositionFromPoint(0, 0);
        const Scintilla::Position bottom = sci.PositionFromPoint(client.right, client.bottom);
        const Scintilla::Position half = kMaxScanBytes / 2;
        if (top - half > stretch.start) stretch.start = sci.PositionBefore(top - half + 1);
        if (bottom + half < stretch.end) stretch.end = sci.PositionBefore(bottom + half + 1);
    }
    return stretch;
}

bool MarksCover(const EditorWindow& ed, const Stretch& stretch) {
    const LinkMarks& marks = ed.links;
    return marks.valid && marks.changeCounter == ed.text.adapter.changeCounter && marks.start <= stretch.start &&
           stretch.end <= marks.end;
}

// HKEY_CLASSES_ROOT shows the user's own class key in place of the
// machine's; Wine does not merge them, so the user's is asked first here.
bool HasUrlProtocol(HKEY root, const std::u16string& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(root, WidePtr(key), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return false;
    const LSTATUS status = ::RegQueryValueExW(handle, L"URL Protocol", nullptr, nullptr, nullptr, nullptr);
    ::RegCloseKey(handle);
    return status == ERROR_SUCCESS || status == ERROR_MORE_DATA;
}

bool UserClassExists(const std::u16string& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, WidePtr(key), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return false;
    ::RegCloseKey(handle);
    return true;
}

bool SchemeRegistered(LinkMarks& marks, std::u16string_view scheme) {
    if (const auto found = marks.schemes.find(scheme); found != marks.schemes.end()) return found->second;
    const std::u16string name(scheme);
    const std::u16string userKey = u"Software\\Classes\\" + name;
    const bool registered = UserClassExists(userKey) ? HasUrlProtocol(HKEY_CURRENT_USER, userKey)
                                                     : HasUrlProtocol(HKEY_CLASSES_ROOT, name);
    marks.schemes.emplace(name, registered);
    return registered;
}

void ClearAllMarks(EditorWindow& ed) {
    ed.sci.SetIndicatorCurrent(kLinkIndicator);
    ed.sci.IndicatorClearRange(0, ed.sci.Length());
}

// Marks current for the lines on screen; rescans when they are not.
void EnsureMarks(EditorWindow& ed) {
    if (!DetectsLinks(ed)) return;
    if (!MarksCover(ed, ScanStretch(ed))) RescanLinks(ed);
}

std::u16string LinkText(EditorWindow& ed, LinkSpan link) {
    TextAdapter& adapter = ed.text.adapter;
    const std::size_t start = ToIndex(adapter, ed.text.model, static_cast<std::size_t>(link.start));
    const std::size_t end = ToIndex(adapter, ed.text.model, static_cast<std::size_t>(link.end));
    return ReadTextRange(adapter, ed.text.model, start, end);
}

}  // namespace

void ScheduleLinkScan(EditorWindow& ed) {
    if (!DetectsLinks(ed) || ed.links.scanPending) return;
    if (MarksCover(ed, ScanStretch(ed))) return;
    if (::SetTimer(ed.hwnd, kLinkTimerId, kLinkScanDelayMs, nullptr) != 0) ed.links.scanPending = true;
}

void RescanLinks(EditorWindow& ed) {
    LinkMarks& marks = ed.links;
    if (marks.scanPending && ed.hwnd != nullptr) ::KillTimer(ed.hwnd, kLinkTimerId);
    marks.scanPending = false;
    if (!ServesText(ed)) return;
    // Clearing costs the marks there are, which are those of one stretch.
    ClearAllMarks(ed);
    marks.valid = false;
    if (!SettingsOf(ed).detectLinks) return;
    const Stretch stretch = ScanStretch(ed);
    TextAdapter& adapter = ed.text.adapter;
    const ScintillaModel& model = ed.text.model;
    const std::size_t first = ToIndex(adapter, model, static_cast<std::size_t>(stretch.start));
    const std::size_t last = ToIndex(adapter, model, static_cast<std::size_t>(stretch.end));
    const std::u16string text = ReadTextRange(adapter, model, first, last);
    const SchemeQuery query = [&marks](std::u16string_view scheme) { return SchemeRegistered(marks, scheme); };
    for (const TextRange& link : FindLinks(text, query)) {
        const std::size_t start = ToBytePosition(adapter, model, first + link.start);
        const std::size_t end = ToBytePosition(adapter, model, first + link.end);
        if (end > start) ed.sci.IndicatorFillRange(static_cast<Scintilla::Position>(start),
                                                   static_cast<Scintilla::Position>(end - start));
    }
    marks.valid = true;
    marks.changeCounter = adapter.changeCounter;
    marks.start = stretch.start;
    marks.end = stretch.end;
}

void ForgetLinkMarks(EditorWindow& ed) {
    ed.links.valid = false;
    if (ed.hwnd == nullptr) return;
    if (ServesText(ed) && !SettingsOf(ed).detectLinks) {
        ClearAllMarks(ed);
        return;
    }
    ScheduleLinkScan(ed);
}

std::optional<LinkSpan> LinkAt(EditorWindow& ed, Scintilla::Position position) {
    if (!DetectsLinks(ed) || position < 0) return std::nullopt;
    EnsureMarks(ed);
    if (ed.sci.IndicatorValueAt(kLinkIndicator, position) == 0) return std::nullopt;
    const LinkSpan link {ed.sci.IndicatorStart(kLinkIndicator, position), ed.sci.IndicatorEnd(kLinkIndicator, position)};
    if (link.end <= link.start) return std::nullopt;
    return link;
}

std::optional<LinkSpan> LinkAtPoint(EditorWindow& ed, POINT client) {
    if (!DetectsLinks(ed)) return std::nullopt;
    return LinkAt(ed, ed.sci.CharPositionFromPointClose(client.x, client.y));
}

bool MarkedLinkAtPoint(EditorWindow& ed, POINT client) {
    if (!DetectsLinks(ed) || !ed.links.valid) return false;
    const Scintilla::Position position = ed.sci.CharPositionFromPointClose(client.x, client.y);
    return position >= 0 && ed.sci.IndicatorValueAt(kLinkIndicator, position) != 0;
}

void OpenLink(EditorWindow& ed, LinkSpan link) {
    const std::u16string text = LinkText(ed, link);
    const std::u16string target = LinkTarget(text);
    if (target.empty()) return;
    // A path (a file: address too) goes through the path rules: a program
    // named in the memo is shown in its folder, never started.
    if (const std::optional<std::u16string> path = LocalPathOfLinkText(text)) {
        OpenPathSafely(ed.hwnd, *path);
        return;
    }
    (void)ShellOpen(ed.hwnd, target, true);
}

std::optional<std::u16string> LocalPathOfLink(EditorWindow& ed, std::optional<POINT> screen) {
    if (!DetectsLinks(ed)) return std::nullopt;
    std::optional<LinkSpan> link;
    if (screen) {
        POINT client = *screen;
        ::ScreenToClient(ed.hwnd, &client);
        link = LinkAtPoint(ed, client);
    } else {
        link = LinkAt(ed, ed.sci.CurrentPos());
    }
    if (!link) return std::nullopt;
    return LocalPathOfLinkText(LinkText(ed, *link));
}

}  // namespace quillpane
