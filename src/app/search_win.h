// The search on the memo editor: the current term, the all-matches overlay,
// F3 / Shift+F3, highlighting the selection or the word at the caret, and the
// per-memo counts of the heading sidebar.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillpane {

struct App;

struct SearchState {
    std::u16string term;       // empty: no search is active
    bool highlightOn = true;   // the overlay and the counts are shown
    bool lastForward = true;

    // The match list: a cache for (term, text version).
    std::u16string listTerm;
    std::uint64_t listVersion = 0;
    bool listBuilt = false;
    std::vector<std::size_t> matches;

    // What the overlay last showed.
    bool painted = false;
    std::uint64_t paintedVersion = 0;
    std::u16string paintedTerm;
    std::optional<std::size_t> paintedCurrent;
    bool paintedOn = false;
};

// What a replace did, for the dialog's message.
enum class ReplaceOutcome { Replaced, NotFound, ReadOnly, NoTerm };
struct ReplaceResult {
    ReplaceOutcome outcome = ReplaceOutcome::NoTerm;
    std::size_t count = 0;
};

// Points the sidebar's counting at the search.
void WireSearch(App& app);
// F3 / Shift+F3 (PM_FINDNEXT): from the selection, without wrap-around.
void FindInEditor(App& app, bool forward);
// Ctrl+F3 (IDM_HIGHLIGHTWORD): the selection's first line, or the word at the caret.
void HighlightSelectionOrWord(App& app);
// The search box: a changed text becomes the term (its first line) and the
// overlay follows without moving the selection.
void SetTermFromDialog(App& app, std::u16string_view boxText);
// Enter, F3 or a search button in the dialog: the box's text becomes the
// term and goes to the history, then the search runs.
void FindFromDialog(App& app, std::u16string_view boxText, bool forward);
// The occurrence selected (or the next one) replaced as one undo step; the
// next one is selected after it. A read-only memo changes nothing.
ReplaceResult ReplaceOne(App& app, std::u16string_view term, std::u16string_view replacement);
// Every occurrence replaced literally, as one undo step.
ReplaceResult ReplaceAll(App& app, std::u16string_view term, std::u16string_view replacement);
// Esc: hides the overlay; false when there was none to hide.
bool ClearHighlight(App& app);
// The overlay, and a recount for the sidebar.
void RefreshSearch(App& app);
// After an edit: the refresh waits for a pause in typing.
void ScheduleSearchRefresh(App& app);
// The status label's search part: empty while no overlay is shown; nothing
// while the match list waits for its refresh (the label keeps what it shows).
[[nodiscard]] std::optional<std::u16string> SearchCountPart(App& app);
// The selection moved: the current match's mark follows.
void OnSearchSelectionChanged(App& app);

}  // namespace quillpane
