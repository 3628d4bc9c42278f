// Memo folding: fold blocks and keys, the folded set, and the fold changes the editor must make.
#include "sections/memo_fold.h"

#include "platform/utf_convert.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace quillpane {
namespace {

constexpr std::uint64_t kFnvOffsetBasis = 0xcbf29ce484222325ULL;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ULL;
constexpr std::size_t kMaxDisplayLength = 48;

using FoldItems = std::vector<FoldItem>;

[[nodiscard]] std::uint64_t Fnv1aStep(std::uint64_t hash, char16_t unit) {
    hash = (hash ^ (unit & 0xFFu)) * kFnvPrime;
    return (hash ^ (unit >> 8)) * kFnvPrime;
}

// FNV-1a is one long chain of multiplications; four blocks hashed side by
// side keep the multiplier busy instead of waiting on each result.
[[nodiscard]] std::vector<std::uint64_t> HashBlocks(std::u16string_view text, const std::vector<FoldBlock>& blocks) {
    constexpr std::size_t kLanes = 4;
    std::vector<std::uint64_t> hashes(blocks.size(), kFnvOffsetBasis);
    std::size_t first = 0;
    for (; first + kLanes <= blocks.size(); first += kLanes) {
        const char16_t* lane[kLanes];
        std::size_t length[kLanes];
        std::uint64_t hash[kLanes];
        std::size_t common = std::numeric_limits<std::size_t>::max();
        for (std::size_t k = 0; k < kLanes; ++k) {
            const FoldBlock& block = blocks[first + k];
            lane[k] = text.data() + block.start;
            length[k] = block.end - block.start;
            hash[k] = kFnvOffsetBasis;
            common = std::min(common, length[k]);
        }
        for (std::size_t i = 0; i < common; ++i) {
            hash[0] = Fnv1aStep(hash[0], lane[0][i]);
            hash[1] = Fnv1aStep(hash[1], lane[1][i]);
            hash[2] = Fnv1aStep(hash[2], lane[2][i]);
            hash[3] = Fnv1aStep(hash[3], lane[3][i]);
        }
        for (std::size_t k = 0; k < kLanes; ++k) {
            for (std::size_t i = common; i < length[k]; ++i) hash[k] = Fnv1aStep(hash[k], lane[k][i]);
            hashes[first + k] = hash[k];
        }
    }
    for (; first < blocks.size(); ++first) {
        hashes[first] = Fnv1aHashUtf16(text.substr(blocks[first].start, blocks[first].end - blocks[first].start));
    }
    return hashes;
}

[[nodiscard]] bool IsLineStart(std::u16string_view text, std::size_t index) {
    if (index == 0) return true;
    if (index > text.size()) return false;
    const char16_t before = text[index - 1];
    if (before == u'\n') return true;
    // A CR followed by LF ends its line only after the LF.
    return before == u'\r' && (index == text.size() || text[index] != u'\n');
}

// The item whose block holds `line`, or nullptr.
[[nodiscard]] const FoldItem* ItemContaining(const FoldItems& items, int line) {
    const auto after = std::upper_bound(items.begin(), items.end(), line,
                                        [](int value, const FoldItem& item) { return value < item.block.headerLine; });
    if (after == items.begin()) return nullptr;
    const FoldItem& item = *(after - 1);
    return line <= item.block.lastLine ? &item : nullptr;
}

[[nodiscard]] int IndexOfHeader(const FoldItems& items, int headerLine) {
    const auto at = std::lower_bound(items.begin(), items.end(), headerLine,
                                     [](const FoldItem& item, int value) { return item.block.headerLine < value; });
    if (at == items.end() || at->block.headerLine != headerLine) return -1;
    return static_cast<int>(at - items.begin());
}

[[nodiscard]] bool IsMarkerLineNumber(const std::vector<MarkerLine>& markers, int line) {
    return std::binary_search(markers.begin(), markers.end(), MarkerLine {0, 0, line},
                              [](const MarkerLine& a, const MarkerLine& b) { return a.line < b.line; });
}

[[nodiscard]] std::unordered_set<std::u16string_view> KeySet(const std::vector<std::u16string>& folded) {
    return std::unordered_set<std::u16string_view>(folded.begin(), folded.end());
}

void AddLevelChanges(FoldPlan& plan, const FoldView& view, const std::vector<int>& levels) {
    const int lineCount = std::min(view.LineCount(), static_cast<int>(levels.size()));
    for (int line = 0; line < lineCount; ++line) {
        const int level = levels[static_cast<std::size_t>(line)];
        if (view.FoldLevel(line) != level) plan.ops.push_back(FoldOp {FoldOpKind::SetLevel, line, level, {}});
    }
}

// Every copy of the key goes; folding appends it. Past the limit, only keys
// of memos that can fold in this text survive, in set order.
[[nodiscard]] bool UpdateFoldedSet(std::vector<std::u16string>& folded, const std::u16string& key, bool folding,
                                   const FoldItems& items) {
    const std::vector<std::u16string> before = folded;
    std::erase(folded, key);
    if (folding) folded.push_back(key);
    if (folded.size() > kMaxFoldEntries) {
        std::unordered_set<std::u16string_view> live;
        for (const FoldItem& item : items) {
            if (item.canFold) live.insert(item.key);
        }
        std::vector<std::u16string> kept;
        std::unordered_set<std::u16string_view> seen;
        for (std::u16string& entry : folded) {
            if (live.contains(entry) && seen.insert(entry).second) kept.push_back(std::move(entry));
        }
        folded = std::move(kept);
    }
    return folded != before;
}

// Folds the item when it is expanded now, unfolds it otherwise.
[[nodiscard]] FoldPlan ToggleItem(const FoldDocument& document, const FoldView& view,
                                  std::vector<std::u16string>& folded, const SectionScan& scan,
                                  const FoldItems& items, const FoldItem& item) {
    FoldPlan plan;
    if (!document.memoFold || !item.canFold) return plan;
    const int header = item.block.headerLine;
    const int last = item.block.lastLine;
    if (last >= view.LineCount()) return plan;
    const bool folding = view.IsLineVisible(header + 1);

    if (folding && scan.selectionLine > header && scan.selectionLine <= last) plan.caretIndex = item.block.start;
    plan.foldedChanged = UpdateFoldedSet(folded, item.key, folding, items);

    const bool hadHeaderFlag = (view.FoldLevel(header) & kFoldLevelHeaderFlag) != 0;
    if (!hadHeaderFlag || view.FoldLevel(header + 1) != kFoldLevelBody) {
        for (int line = header; line <= last; ++line) {
            const int level = line == header ? kFoldLevelHeader : kFoldLevelBody;
            if (view.FoldLevel(line) != level) plan.ops.push_back(FoldOp {FoldOpKind::SetLevel, line, level, {}});
        }
    }
    // A line that just became a header starts out expanded.
    const bool expanded = !hadHeaderFlag || view.IsExpanded(header);
    if (folding && expanded) {
        plan.ops.push_back(FoldOp {FoldOpKind::Contract, header, 0, item.displayText});
    } else if (!folding && !expanded) {
        plan.ops.push_back(FoldOp {FoldOpKind::Expand, header, 0, {}});
    }
    plan.notice = FoldNotice {item.startIndex, folding};
    return plan;
}

// Items only when the editor counts the same lines as the text has.
[[nodiscard]] std::optional<FoldItems> ItemsFor(const FoldDocument& document, const FoldView& view,
                                                const SectionScan& scan) {
    if (scan.lineCount != view.LineCount()) return std::nullopt;
    return BuildFoldItems(document.text, scan);
}

}  // namespace

std::optional<std::vector<FoldBlock>> ComputeFoldBlocks(std::u16string_view text, const SectionScan& scan) {
    if (text.size() >= kFoldTextLimit || scan.entryMarker.size() != scan.entries.size()) return std::nullopt;
    const std::vector<MarkerLine>& markers = scan.markers;
    // The line of the text's last character: a final break ends the line before the empty last one.
    const int lastTextLine = scan.lineCount - (EndsWithLineBreak(text) ? 2 : 1);
    std::vector<FoldBlock> blocks;
    blocks.reserve(scan.entries.size());
    std::size_t previousEnd = 0;
    for (std::size_t i = 0; i < scan.entries.size(); ++i) {
        const int marker = scan.entryMarker[i];
        FoldBlock block;
        std::size_t next = 0;
        if (marker >= 0) {
            const MarkerLine& opening = markers[static_cast<std::size_t>(marker)];
            block.start = opening.start;
            block.headerLine = opening.line;
            block.startsAtMarker = true;
            next = static_cast<std::size_t>(marker) + 1;
        } else {
            block.start = scan.entries[i].startIndex;
            block.headerLine = scan.entries[i].firstLine - 1;
        }
        if (next < markers.size()) {
            block.end = markers[next].start;
            block.lastLine = markers[next].line - 1;
        } else {
            block.end = text.size();
            block.lastLine = lastTextLine;
        }
        const bool valid = block.start < block.end && block.start >= previousEnd && block.end <= text.size() &&
                           IsLineStart(text, block.start) &&
                           (block.end == text.size() || IsLineStart(text, block.end)) &&
                           block.headerLine <= block.lastLine;
        if (!valid) return std::nullopt;
        previousEnd = block.end;
        blocks.push_back(block);
    }
    return blocks;
}

std::optional<std::vector<FoldItem>> BuildFoldItems(std::u16string_view text, const SectionScan& scan) {
    std::optional<std::vector<FoldBlock>> blocks = ComputeFoldBlocks(text, scan);
    if (!blocks) return std::nullopt;
    std::vector<FoldItem> items;
    items.reserve(blocks->size());
    const std::vector<std::uint64_t> hashes = HashBlocks(text, *blocks);
    std::unordered_map<std::uint64_t, int> occurrences;
    occurrences.reserve(blocks->size());
    for (std::size_t i = 0; i < blocks->size(); ++i) {
        const FoldBlock& block = (*blocks)[i];
        FoldItem item;
        item.block = block;
        item.startIndex = scan.entries[i].startIndex;
        item.canFold = block.startsAtMarker && block.lastLine > block.headerLine;
        const std::uint64_t hash = hashes[i];
        item.key = FormatFoldKey(hash, occurrences[hash]++);
        item.displayText = FoldDisplayText(scan.role, scan.entries[i].title);
        items.push_back(std::move(item));
    }
    return items;
}

std::uint64_t Fnv1aHashUtf16(std::u16string_view text) {
    std::uint64_t hash = kFnvOffsetBasis;
    for (const char16_t unit : text) hash = Fnv1aStep(hash, unit);
    return hash;
}

std::u16string FormatFoldKey(std::uint64_t hash, int occurrence) {
    static constexpr char16_t kHexDigits[] = u"0123456789abcdef";
    std::u16string key(16, u'0');
    for (int i = 15; i >= 0; --i, hash >>= 4) key[static_cast<std::size_t>(i)] = kHexDigits[hash & 0xF];
    key += u':';
    std::u16string digits;
    unsigned value = occurrence < 0 ? 0u : static_cast<unsigned>(occurrence);
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return key + digits;
}

std::string FoldDisplayText(SectionMarkerRole role, std::u16string_view title) {
    static constexpr char kEllipsisOnly[] = " \xE2\x80\xA6";
    if (role == SectionMarkerRole::Heading) return kEllipsisOnly;
    std::u16string shown = u" ";
    shown.append(title);
    for (char16_t& c : shown) {
        if (c == u'\t' || c == u'\r' || c == u'\n') c = u' ';
    }
    if (shown.size() > kMaxDisplayLength) {
        std::size_t cut = kMaxDisplayLength - 1;
        // Never leave half of a surrogate pair before the ellipsis.
        if (shown[cut - 1] >= 0xD800 && shown[cut - 1] <= 0xDBFF) --cut;
        shown.resize(cut);
        shown += u'\u2026';
    }
    std::string utf8 = Utf16ToUtf8(shown);
    return utf8.empty() ? std::string(" ...") : utf8;
}

std::u16string FoldSignature(const MarkerSettings& settings) {
    std::u16string signature = settings.role == SectionMarkerRole::Heading ? u"H\n" : u"S\n";
    signature.append(MarkerTextInForce(settings));
    return signature;
}

void FillFoldStates(SectionList& entries, const std::optional<std::vector<FoldItem>>& items,
                    const std::vector<std::u16string>& folded) {
    const bool usable = items && items->size() == entries.size();
    const std::unordered_set<std::u16string_view> keys = KeySet(folded);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].canFold = usable && (*items)[i].canFold;
        entries[i].folded = entries[i].canFold && keys.contains((*items)[i].key);
    }
}

std::vector<int> FoldLevelsFor(const std::optional<std::vector<FoldItem>>& items, int lineCount) {
    std::vector<int> levels(static_cast<std::size_t>(std::max(lineCount, 0)), kFoldLevelBase);
    if (!items) return levels;
    for (const FoldItem& item : *items) {
        if (!item.canFold || item.block.lastLine >= lineCount) continue;
        levels[static_cast<std::size_t>(item.block.headerLine)] = kFoldLevelHeader;
        std::fill(levels.begin() + item.block.headerLine + 1, levels.begin() + item.block.lastLine + 1,
                  kFoldLevelBody);
    }
    return levels;
}

FoldPlan RecomputeFolds(MemoFoldState& state, const FoldDocument& document, const FoldView& view,
                        const std::vector<std::u16string>& folded) {
    FoldPlan plan;
    if (!document.memoFold) {
        if (!state.appliedSignature.empty()) {
            plan.ops.push_back(FoldOp {FoldOpKind::ExpandAll, 0, 0, {}});
            AddLevelChanges(plan, view, FoldLevelsFor(std::nullopt, view.LineCount()));
            state.appliedSignature.clear();
        }
        return plan;
    }
    if (document.readOnly) return plan;

    const SectionScan scan = BuildSections(document.text, document.markers, document.selectionStart);
    const std::optional<FoldItems> items = ItemsFor(document, view, scan);
    const std::u16string signature = FoldSignature(document.markers);

    // Which items stay contracted through the level assignment.
    std::vector<char> contracted(items ? items->size() : 0, 0);
    if (!items || signature != state.appliedSignature) {
        plan.ops.push_back(FoldOp {FoldOpKind::ExpandAll, 0, 0, {}});
    } else {
        const int lineCount = view.LineCount();
        for (int header = view.NextContracted(0); header >= 0 && header < lineCount;
             header = view.NextContracted(header + 1)) {
            const int index = IndexOfHeader(*items, header);
            if (index >= 0 && (*items)[static_cast<std::size_t>(index)].canFold &&
                view.LastChild(header) == (*items)[static_cast<std::size_t>(index)].block.lastLine) {
                contracted[static_cast<std::size_t>(index)] = 1;
            } else {
                plan.ops.push_back(FoldOp {FoldOpKind::Expand, header, 0, {}});
            }
        }
    }
    // Fold marks for every memo that can fold, also right after a role change.
    AddLevelChanges(plan, view, FoldLevelsFor(items, view.LineCount()));

    if (items) {
        const std::unordered_set<std::u16string_view> keys = KeySet(folded);
        for (std::size_t i = 0; i < items->size(); ++i) {
            const FoldItem& item = (*items)[i];
            if (!item.canFold) continue;
            const bool wanted = keys.contains(item.key);
            if (wanted && !contracted[i]) {
                plan.ops.push_back(FoldOp {FoldOpKind::Contract, item.block.headerLine, 0, item.displayText});
            } else if (!wanted && contracted[i]) {
                plan.ops.push_back(FoldOp {FoldOpKind::Expand, item.block.headerLine, 0, {}});
            }
            contracted[i] = wanted;
        }
        state.appliedSignature = signature;

        // A caret that ended up in a hidden line goes to the start of its header.
        const FoldItem* holder = ItemContaining(*items, scan.selectionLine);
        if (holder != nullptr && holder->canFold && scan.selectionLine > holder->block.headerLine &&
            contracted[static_cast<std::size_t>(holder - items->data())]) {
            plan.caretIndex = holder->block.start;
        }
    }
    return plan;
}

FoldPlan ToggleFoldAtLine(MemoFoldState& state, const FoldDocument& document, const FoldView& view,
                          std::vector<std::u16string>& folded, int line, std::optional<MouseToggle> mouse) {
    if (!document.memoFold || document.readOnly || line < 0 || line >= view.LineCount()) return {};
    const int header = (view.FoldLevel(line) & kFoldLevelHeaderFlag) != 0 ? line : view.FoldParent(line);
    if (header < 0) return {};
    const SectionScan scan = BuildSections(document.text, document.markers, document.selectionStart);
    if (!IsMarkerLineNumber(scan.markers, header)) return {};
    const std::optional<FoldItems> items = ItemsFor(document, view, scan);
    if (!items) return {};
    const FoldItem* item = ItemContaining(*items, line);
    if (item == nullptr || !item->canFold) return {};
    if (mouse) {
        // The second press of a double click must not unfold again.
        if (state.hasMouseToggle && state.mouseToggleLine == line &&
            mouse->nowMs - state.mouseToggleTime < mouse->doubleClickMs) {
            return {};
        }
        state.hasMouseToggle = true;
        state.mouseToggleLine = line;
        state.mouseToggleTime = mouse->nowMs;
    }
    return ToggleItem(document, view, folded, scan, *items, *item);
}

FoldPlan ToggleFoldOfEntry(const FoldDocument& document, const FoldView& view, std::vector<std::u16string>& folded,
                           std::size_t startIndex) {
    if (!document.memoFold) return {};
    const SectionScan scan = BuildSections(document.text, document.markers, document.selectionStart);
    const std::optional<FoldItems> items = ItemsFor(document, view, scan);
    if (!items) return {};
    const auto at = std::lower_bound(items->begin(), items->end(), startIndex,
                                     [](const FoldItem& item, std::size_t value) { return item.startIndex < value; });
    if (at == items->end() || at->startIndex != startIndex) return {};
    return ToggleItem(document, view, folded, scan, *items, *at);
}

FoldPlan RevealIndex(const FoldDocument& document, const FoldView& view, std::vector<std::u16string>& folded,
                     std::size_t index) {
    FoldPlan plan;
    const int lineCount = view.LineCount();
    if (lineCount <= 0) return plan;
    const int line = std::min(LineOfIndex(document.text, index), lineCount - 1);
    if (view.IsLineVisible(line)) return plan;

    const SectionScan scan = BuildSections(document.text, document.markers, document.selectionStart);
    const std::optional<FoldItems> items = ItemsFor(document, view, scan);
    const FoldItem* item = items ? ItemContaining(*items, line) : nullptr;
    if (item != nullptr && item->canFold) {
        plan.foldedChanged = std::erase(folded, item->key) > 0;
        plan.ops.push_back(FoldOp {FoldOpKind::Expand, item->block.headerLine, 0, {}});
        // Also covers a line hidden by a fold the levels no longer describe.
        plan.ops.push_back(FoldOp {FoldOpKind::EnsureVisible, line, 0, {}});
        plan.notice = FoldNotice {item->startIndex, false};
    } else {
        plan.ops.push_back(FoldOp {FoldOpKind::EnsureVisible, line, 0, {}});
        plan.refreshSidebarFolds = true;
    }
    return plan;
}

}  // namespace quillpane
