// Memo folding: fold blocks and keys, the folded set, and the fold changes the editor must make.
#pragma once

#include "sections/section_list.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

// Scintilla's fold level values.
inline constexpr int kFoldLevelBase = 0x400;
inline constexpr int kFoldLevelHeaderFlag = 0x2000;
inline constexpr int kFoldLevelHeader = kFoldLevelBase | kFoldLevelHeaderFlag;
inline constexpr int kFoldLevelBody = kFoldLevelBase + 1;

// Texts of 2^31 code units or more get no folds and are not reordered.
inline constexpr std::size_t kFoldTextLimit = std::size_t {1} << 31;

// Where a memo's block lies: from its marker line (or the text start for the
// memo above the first divider) to the next marker line or the text end.
struct FoldBlock {
    std::size_t start = 0;
    std::size_t end = 0;  // exclusive
    int headerLine = 0;   // 0-based line of start
    int lastLine = 0;     // 0-based line of the block's last character
    bool startsAtMarker = false;
    bool operator==(const FoldBlock&) const = default;
};

// One per section entry.
struct FoldItem {
    FoldBlock block;
    std::size_t startIndex = 0;  // the entry's start index
    bool canFold = false;        // starts at a marker and has more than one line
    std::u16string key;          // "%016x:%d": block hash and occurrence number
    std::string displayText;     // UTF-8, shown after the folded header line
    bool operator==(const FoldItem&) const = default;
};

// Empty when the blocks are not ascending, not on line starts, or the text
// is too long.
[[nodiscard]] std::optional<std::vector<FoldBlock>> ComputeFoldBlocks(std::u16string_view text,
                                                                       const SectionScan& scan);

// Hashes every block once.
[[nodiscard]] std::optional<std::vector<FoldItem>> BuildFoldItems(std::u16string_view text, const SectionScan& scan);

// 64-bit FNV-1a over the UTF-16 units, low byte before high byte.
[[nodiscard]] std::uint64_t Fnv1aHashUtf16(std::u16string_view text);

// 16 lowercase hexadecimal digits, a colon and the occurrence number.
[[nodiscard]] std::u16string FormatFoldKey(std::uint64_t hash, int occurrence);

[[nodiscard]] std::string FoldDisplayText(SectionMarkerRole role, std::u16string_view title);

// The role letter and the marker text in force; what a change of either
// must expand everything for.
[[nodiscard]] std::u16string FoldSignature(const MarkerSettings& settings);

// Sets canFold and folded of the entries (items are one per entry).
void FillFoldStates(SectionList& entries, const std::optional<std::vector<FoldItem>>& items,
                    const std::vector<std::u16string>& folded);

// The fold levels of every line for these items (all base without items).
[[nodiscard]] std::vector<int> FoldLevelsFor(const std::optional<std::vector<FoldItem>>& items, int lineCount);

// What the fold logic reads from the editor (Scintilla's fold state).
class FoldView {
public:
    virtual ~FoldView() = default;
    [[nodiscard]] virtual int LineCount() const = 0;               // SCI_GETLINECOUNT
    [[nodiscard]] virtual int FoldLevel(int line) const = 0;       // SCI_GETFOLDLEVEL
    [[nodiscard]] virtual bool IsLineVisible(int line) const = 0;  // SCI_GETLINEVISIBLE
    [[nodiscard]] virtual bool IsExpanded(int line) const = 0;     // SCI_GETFOLDEXPANDED
    [[nodiscard]] virtual int LastChild(int line) const = 0;       // SCI_GETLASTCHILD(line, -1)
    [[nodiscard]] virtual int FoldParent(int line) const = 0;      // SCI_GETFOLDPARENT, -1 for none
    [[nodiscard]] virtual int NextContracted(int line) const = 0;  // SCI_CONTRACTEDFOLDNEXT, -1 for none
};

enum class FoldOpKind {
    ExpandAll,     // SCI_FOLDALL(SC_FOLDACTION_EXPAND)
    SetLevel,      // SCI_SETFOLDLEVEL(line, level)
    Expand,        // SCI_FOLDLINE(line, SC_FOLDACTION_EXPAND)
    Contract,      // SCI_TOGGLEFOLDSHOWTEXT(line, text): only given for an expanded header
    EnsureVisible, // SCI_ENSUREVISIBLE(line)
};

struct FoldOp {
    FoldOpKind kind = FoldOpKind::ExpandAll;
    int line = 0;
    int level = 0;     // SetLevel
    std::string text;  // Contract: the display text, UTF-8
    bool operator==(const FoldOp&) const = default;
};

// A memo was folded or unfolded: the sidebar updates its mark.
struct FoldNotice {
    std::size_t startIndex = 0;
    bool folded = false;
    bool operator==(const FoldNotice&) const = default;
};

// What the editor must do, in this order: the ops with redrawing off, then
// the caret, then a repaint when anything was done.
struct FoldPlan {
    std::vector<FoldOp> ops;
    std::optional<std::size_t> caretIndex;  // empty selection here, scrolled into view
    bool foldedChanged = false;             // the folded set changed: save the configuration
    std::optional<FoldNotice> notice;
    bool refreshSidebarFolds = false;       // a line outside any memo fold was uncovered
    [[nodiscard]] bool Empty() const {
        return ops.empty() && !caretIndex && !foldedChanged && !notice && !refreshSidebarFolds;
    }
};

// The document side of every fold operation.
struct FoldDocument {
    std::u16string_view text;
    MarkerSettings markers;
    bool memoFold = false;
    bool readOnly = false;
    std::size_t selectionStart = 0;
};

// Lives as long as the editor: the signature of the folds last applied and
// the last fold-margin click.
struct MemoFoldState {
    std::u16string appliedSignature;
    bool hasMouseToggle = false;
    int mouseToggleLine = -1;
    std::uint32_t mouseToggleTime = 0;
};

// From the fold margin: the click time and the double-click time, in ms.
struct MouseToggle {
    std::uint32_t nowMs = 0;
    std::uint32_t doubleClickMs = 500;
};

// Brings the editor's levels and folds in line with the text and the folded set.
[[nodiscard]] FoldPlan RecomputeFolds(MemoFoldState& state, const FoldDocument& document, const FoldView& view,
                                      const std::vector<std::u16string>& folded);

// Ctrl+\ (mouse empty) and fold-margin clicks.
[[nodiscard]] FoldPlan ToggleFoldAtLine(MemoFoldState& state, const FoldDocument& document, const FoldView& view,
                                        std::vector<std::u16string>& folded, int line,
                                        std::optional<MouseToggle> mouse);

// The sidebar's fold command; plan.notice tells whether it is folded now.
[[nodiscard]] FoldPlan ToggleFoldOfEntry(const FoldDocument& document, const FoldView& view,
                                         std::vector<std::u16string>& folded, std::size_t startIndex);

// Makes a UTF-16 index visible, unfolding the memo around it.
[[nodiscard]] FoldPlan RevealIndex(const FoldDocument& document, const FoldView& view,
                                   std::vector<std::u16string>& folded, std::size_t index);

}  // namespace quillpane
