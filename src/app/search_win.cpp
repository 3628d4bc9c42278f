#include "app/search_win.h"

#include "app/app_win.h"
#include "app/search_dialog_win.h"
#include "app/status_label_win.h"
#include "editor/editor_commands_win.h"
#include "editor/text_adapter_win.h"
#include "i18n/strings.h"
#include "resources/messages.h"
#include "search/search_engine.h"

#include <algorithm>

namespace quillpane {
namespace {

constexpr UINT kSearchRefreshDelayMs = 150;
constexpr UINT kTermRefreshDelayMs = 40;
constexpr int kIndicatorMatch = 0;
constexpr int kIndicatorCurrent = 1;
constexpr int kIndicatorCurrentText = 3;

bool Active(const SearchState& search) {
    return search.highlightOn && !search.term.empty();
}

std::uint64_t TextVersion(const App& app) {
    return app.editor.text.adapter.textVersion;
}

const std::u16string& EditorText(App& app) {
    return ReadText(app.editor.text.adapter, app.editor.text.model);
}

void Beep() {
    ::MessageBeep(MB_ICONEXCLAMATION);
}

// The match list for the current term and text; rebuilt only when either changed.
const std::vector<std::size_t>& Matches(App& app) {
    SearchState& search = app.search;
    const std::uint64_t version = TextVersion(app);
    if (!search.listBuilt || search.listTerm != search.term || search.listVersion != version) {
        search.matches = FindAllMatches(EditorText(app), search.term);
        search.listTerm = search.term;
        search.listVersion = version;
        search.listBuilt = true;
    }
    return search.matches;
}

// The 0-based match the selection covers exactly, if any.
std::optional<std::size_t> SelectedMatch(App& app, const std::vector<std::size_t>& matches) {
    const Selection selection = EditorSelection16(app.editor);
    if (selection.Empty()) return std::nullopt;
    const std::optional<std::size_t> index =
        CurrentMatchIndex(matches, app.search.term.size(), selection.Start(), selection.End());
    if (!index) return std::nullopt;
    return *index - 1;
}

void ClearIndicator(Scintilla::ScintillaCall& sci, int indicator) {
    sci.SetIndicatorCurrent(indicator);
    sci.IndicatorClearRange(0, sci.Length());
}

void FillIndicator(Scintilla::ScintillaCall& sci, int indicator, std::size_t start, std::size_t end) {
    sci.SetIndicatorCurrent(indicator);
    sci.IndicatorFillRange(static_cast<Scintilla::Position>(start), static_cast<Scintilla::Position>(end - start));
}

// Marks every match, and the current one apart; only when something shown changed.
void PaintOverlay(App& app) {
    if (!ServesText(app.editor)) return;
    SearchState& search = app.search;
    const bool on = Active(search);
    const std::vector<std::size_t> none;
    const std::vector<std::size_t>& matches = on ? Matches(app) : none;
    const std::optional<std::size_t> current = on ? SelectedMatch(app, matches) : std::nullopt;
    const std::uint64_t version = TextVersion(app);
    if (search.painted && search.paintedVersion == version && search.paintedTerm == search.term &&
        search.paintedCurrent == current && search.paintedOn == on) {
        return;
    }
    search.painted = true;
    search.paintedVersion = version;
    search.paintedTerm = search.term;
    search.paintedCurrent = current;
    search.paintedOn = on;

    Scintilla::ScintillaCall& sci = app.editor.sci;
    for (const int indicator : {kIndicatorMatch, kIndicatorCurrent, kIndicatorCurrentText}) ClearIndicator(sci, indicator);
    if (!on) return;
    EditorTextState& text = app.editor.text;
    const std::size_t length = search.term.size();
    for (std::size_t i = 0; i < matches.size(); ++i) {
        const std::size_t start = ToBytePosition(text.adapter, text.model, matches[i]);
        const std::size_t end = ToBytePosition(text.adapter, text.model, matches[i] + length);
        const bool isCurrent = current && *current == i;
        FillIndicator(sci, isCurrent ? kIndicatorCurrent : kIndicatorMatch, start, end);
        if (isCurrent && app.theme.isDark) FillIndicator(sci, kIndicatorCurrentText, start, end);
    }
}

// The sidebar's hit counts: each match counts for the last memo starting at or before it.
void CountPerMemo(App& app, SectionList& entries) {
    for (SectionEntry& entry : entries) entry.hitCount = 0;
    if (entries.empty() || !Active(app.search)) return;
    const std::vector<std::size_t>& matches = Matches(app);
    std::vector<std::size_t> starts;
    starts.reserve(entries.size());
    for (const SectionEntry& entry : entries) starts.push_back(entry.startIndex);
    const std::vector<unsigned> counts = CountPerRange(matches, starts);
    for (std::size_t i = 0; i < entries.size(); ++i) entries[i].hitCount = counts[i];
}

// Why a replace cannot run, if it cannot: no term, or a memo that must not change.
std::optional<ReplaceResult> RefusedReplace(App& app, std::u16string_view term) {
    if (term.empty() || !ServesText(app.editor)) return ReplaceResult {ReplaceOutcome::NoTerm, 0};
    if (app.editor.sci.ReadOnly()) {
        Beep();
        return ReplaceResult {ReplaceOutcome::ReadOnly, 0};
    }
    return std::nullopt;
}

}  // namespace

void WireSearch(App& app) {
    App* owner = &app;
    app.sidebar.countHits = [owner](SectionList& entries) { CountPerMemo(*owner, entries); };
}

void RefreshSearch(App& app) {
    ::KillTimer(app.panel, kTimerSearchRefresh);
    app.search.painted = false;  // a refresh always repaints
    PaintOverlay(app);
    HeadingSidebar& sidebar = app.sidebar;
    if (sidebar.window != nullptr && ::IsWindowVisible(sidebar.window) && !sidebar.entries.empty() &&
        !sidebar.pendingRecount) {
        sidebar.pendingRecount = true;
        ::PostMessageW(sidebar.window, PM_SIDEBARRECOUNT, 0, 0);
    }
    UpdateStatusLabel(app);
}

void ScheduleSearchRefresh(App& app) {
    // Nothing to follow while no overlay is shown; a refresh clears a stale one.
    if (Active(app.search) || app.search.paintedOn) {
        ::SetTimer(app.panel, kTimerSearchRefresh, kSearchRefreshDelayMs, nullptr);
    }
}

std::optional<std::u16string> SearchCountPart(App& app) {
    const SearchState& search = app.search;
    if (!Active(search) || !ServesText(app.editor)) return std::u16string();
    // Rebuilding the list here would put a whole-text scan on every keystroke.
    if (!search.listBuilt || search.listTerm != search.term || search.listVersion != TextVersion(app)) {
        return std::nullopt;
    }
    const Selection selection = EditorSelection16(app.editor);
    const std::optional<std::size_t> index =
        CurrentMatchIndex(search.matches, search.term.size(), selection.Start(), selection.End());
    return SearchCountText(Text(TextId::HighlightWord, CurrentLanguage(app.config.ui.language)), index,
                           search.matches.size());
}

void OnSearchSelectionChanged(App& app) {
    // An edit's or a new term's refresh is pending: it repaints everything
    // once typing pauses.
    if (Active(app.search) && app.search.listVersion == TextVersion(app) && app.search.listTerm == app.search.term) {
        PaintOverlay(app);
    }
}

void FindInEditor(App& app, bool forward) {
    SearchState& search = app.search;
    search.lastForward = forward;
    if (!ServesText(app.editor) || search.term.empty()) {
        RefreshSearch(app);
        Beep();
        return;
    }
    const std::u16string& text = EditorText(app);
    const Selection selection = EditorSelection16(app.editor);
    const std::optional<std::size_t> found =
        forward ? FindNext(text, search.term, selection.End()) : FindPrevious(text, search.term, selection.Start());
    search.highlightOn = true;
    if (!found) {
        ShowSearchMessage(app, Text(TextId::NotFound, CurrentLanguage(app.config.ui.language)));
        Beep();
        RefreshSearch(app);
        return;
    }
    const std::size_t start = *found;
    const std::size_t end = start + search.term.size();
    RevealTextIndex(app.editor, app.config.sidebar.folded, start);
    SetSelection16(app.editor, Selection {start, end});
    app.editor.sci.ScrollCaret();
    KeepMatchClearOfDialog(app, start);
    AfterCaretMove(app.editor);
    HideSearchMessage(app);
    RefreshSearch(app);
}

void HighlightSelectionOrWord(App& app) {
    if (!ServesText(app.editor)) return;
    const std::u16string& text = EditorText(app);
    const Selection selection = EditorSelection16(app.editor);
    std::u16string_view selected;
    std::u16string_view word;
    if (!selection.Empty()) {
        selected = std::u16string_view(text).substr(selection.Start(), selection.End() - selection.Start());
    } else if (const std::optional<TextRange> range = WordAtCaret(app.editor)) {
        word = std::u16string_view(text).substr(range->start, range->Length());
    }
    std::u16string term = HighlightTermFrom(selected, word);
    if (term.empty()) {
        Beep();
        return;
    }
    app.search.term = std::move(term);
    app.search.highlightOn = true;
    if (AddToHistory(app.config.search.history, app.search.term)) SaveAppConfig(app);
    ShowTermInSearchBox(app, app.search.term);
    RefreshSearch(app);
    ::UpdateWindow(app.editor.hwnd);
}

void SetTermFromDialog(App& app, std::u16string_view boxText) {
    app.search.term = std::u16string(FirstLineOf(boxText));
    app.search.highlightOn = !app.search.term.empty();
    // Marking every match waits for a pause in typing, off the keystroke.
    ::SetTimer(app.panel, kTimerSearchRefresh, kTermRefreshDelayMs, nullptr);
}

void FindFromDialog(App& app, std::u16string_view boxText, bool forward) {
    app.search.term = std::u16string(FirstLineOf(boxText));
    if (AddToHistory(app.config.search.history, app.search.term)) SaveAppConfig(app);
    FindInEditor(app, forward);
}

ReplaceResult ReplaceOne(App& app, std::u16string_view term, std::u16string_view replacement) {
    term = FirstLineOf(term);
    if (const std::optional<ReplaceResult> refused = RefusedReplace(app, term)) return *refused;
    const std::u16string& text = EditorText(app);
    const Selection selection = EditorSelection16(app.editor);
    const SearchPattern pattern(term);
    std::optional<std::size_t> at;
    if (selection.End() - selection.Start() == term.size() && pattern.MatchesAt(text, selection.Start())) {
        at = selection.Start();
    } else {
        at = pattern.FindFrom(text, selection.End());
    }
    if (!at) {
        Beep();
        return {ReplaceOutcome::NotFound, 0};
    }
    const std::size_t start = *at;
    const std::size_t after = start + replacement.size();
    RevealTextIndex(app.editor, app.config.sidebar.folded, start);
    // The replacement's lines are marked changed: the selection covers it.
    const TextEdit edit {{start, start + term.size()}, std::u16string(replacement), {start, after}};
    ApplyTextEdit(ContextOf(app.editor.text), edit, false);
    const std::optional<std::size_t> next = pattern.FindFrom(EditorText(app), after);
    SetSelection16(app.editor, next ? Selection {*next, *next + term.size()} : Selection {after, after});
    app.editor.sci.ScrollCaret();
    if (next) KeepMatchClearOfDialog(app, *next);
    AfterCaretMove(app.editor);
    RefreshSearch(app);
    return {ReplaceOutcome::Replaced, 1};
}

ReplaceResult ReplaceAll(App& app, std::u16string_view term, std::u16string_view replacement) {
    term = FirstLineOf(term);
    if (const std::optional<ReplaceResult> refused = RefusedReplace(app, term)) return *refused;
    const std::u16string& text = EditorText(app);
    ReplaceAllResult replaced = ReplaceAllMatches(text, term, replacement);
    if (replaced.count == 0) {
        Beep();
        return {ReplaceOutcome::NotFound, 0};
    }
    // One step that holds only the span from the first match to the last.
    const std::size_t tail = text.size() - replaced.changedEnd;
    const std::size_t newEnd = replaced.text.size() - tail;
    const TextEdit edit {{replaced.changedStart, replaced.changedEnd},
                         replaced.text.substr(replaced.changedStart, newEnd - replaced.changedStart),
                         {replaced.text.size(), replaced.text.size()}};
    ApplyTextEdit(ContextOf(app.editor.text), edit, true);
    app.editor.sci.ScrollCaret();
    AfterCaretMove(app.editor);
    RefreshSearch(app);
    return {ReplaceOutcome::Replaced, replaced.count};
}

bool ClearHighlight(App& app) {
    if (!Active(app.search)) return false;
    app.search.highlightOn = false;
    RefreshSearch(app);
    ::UpdateWindow(app.editor.hwnd);
    return true;
}

}  // namespace quillpane
