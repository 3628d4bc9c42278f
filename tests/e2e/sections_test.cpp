// Section markers and memo folds through the panel's commands, on disk and on screen.
#include "e2e_fixture.h"

#include "platform/utf_convert.h"
#include "sections/memo_fold.h"
#include "sections/section_list.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace quillpane::e2e {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kDivider[] = "------------------------------";
constexpr unsigned kInsertMarker = 1028;
constexpr unsigned kSelectNote = 1047;
constexpr unsigned kRoleSeparator = 1167;
constexpr unsigned kRoleHeading = 1168;
constexpr unsigned kSciGetFoldLevel = 2223;
constexpr unsigned kSciGetLineVisible = 2228;
constexpr unsigned kSciGetFoldExpanded = 2230;
constexpr int kFoldHeaderFlag = 0x2000;

// Joins pieces with append: GCC 12 warns falsely (-Wrestrict) about some chains of operator+.
std::string Join(std::initializer_list<std::string_view> pieces) {
    std::string joined;
    for (const std::string_view piece : pieces) joined.append(piece);
    return joined;
}

class Sections : public AppScenario {
protected:
    void Arrange(const std::string& memo, const std::string& extraConfig) {
        WriteConfig(Join({"[Editor]\r\nMemoFold=1\r\n", extraConfig}));
        WriteMemo(Join({kBom, memo}));
    }

    HWND StartShown() {
        Start();
        ::PostMessageW(panel_, ToggleMessage(), 2, 0);
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel_) != FALSE; }, 5s));
        editor_ = FindChildByClass(panel_, L"Scintilla");
        EXPECT_NE(editor_, nullptr);
        return editor_;
    }

    void Command(unsigned id) const { ::PostMessageW(panel_, WM_COMMAND, id, 0); }
    LRESULT Sci(UINT message, WPARAM wParam = 0) const { return ::SendMessageW(editor_, message, wParam, 0); }
    bool LineVisible(int line) const { return Sci(kSciGetLineVisible, static_cast<WPARAM>(line)) != 0; }
    // EM_GETSEL in UTF-16 code units, answered by the program's text adapter.
    std::pair<int, int> Selection() const {
        const auto packed = static_cast<DWORD>(::SendMessageW(editor_, EM_GETSEL, 0, 0));
        return {LOWORD(packed), HIWORD(packed)};
    }
    std::string MemoOnDisk() const { return ReadFileBytes(ProgramFile(L"Note.txt")).value_or("<unreadable>"); }

    HWND editor_ = nullptr;
};

TEST_F(Sections, InsertMarkerAndSelectThisNoteCommands) {
    Arrange("first memo\r\nsecond line", "");
    ASSERT_NE(StartShown(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(editor_) == L"first memo\r\nsecond line"; }, 5s));

    Command(kInsertMarker);
    const std::wstring divider(kDivider, kDivider + 30);
    const std::wstring expected = divider + L"\r\nfirst memo\r\nsecond line";
    EXPECT_TRUE(WaitUntil([&] { return ControlText(editor_) == expected; }, 3s)) << ControlText(editor_).c_str();
    EXPECT_EQ(Selection(), std::make_pair(32, 32)) << "the caret follows the marker";
    const std::string saved = Join({kBom, kDivider, "\r\nfirst memo\r\nsecond line"});
    EXPECT_TRUE(WaitUntil([&] { return MemoOnDisk() == saved; }, 6s)) << MemoOnDisk();
    // The memo now starts at the divider, so it carries a fold mark.
    EXPECT_TRUE(WaitUntil([&] { return (Sci(kSciGetFoldLevel, 0) & kFoldHeaderFlag) != 0; }, 3s));

    ::SendMessageW(editor_, EM_SETSEL, 3, 3);  // on the divider
    Command(kSelectNote);
    EXPECT_TRUE(WaitUntil([&] { return Selection() == std::make_pair(32, static_cast<int>(expected.size())); }, 3s))
        << Selection().first << ".." << Selection().second;
    Screenshot("memo-selected");
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Sections, FoldRememberedInTheConfigurationIsRestoredAtStart) {
    const std::string memo = Join({"Intro line\r\n", kDivider, "\r\nShopping list\r\nmilk\r\nbread\r\n", kDivider,
                                   "\r\nTrip plans\r\ntrain at 9\r\n"});
    // The key the program stores for the first divider memo.
    const std::u16string text = Utf8ToUtf16Lenient(memo);
    const MarkerSettings markers;
    const std::optional<std::vector<FoldItem>> items = BuildFoldItems(text, BuildSections(text, markers, 0));
    ASSERT_TRUE(items.has_value());
    ASSERT_EQ(items->size(), 3u);
    const std::string key = Utf16ToUtf8((*items)[1].key);
    Arrange(memo, Join({"[Sidebar]\r\nFolded=", key, "\r\n"}));

    ASSERT_NE(StartShown(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !LineVisible(2); }, 5s)) << "the remembered memo is not folded";
    EXPECT_EQ(Sci(kSciGetFoldExpanded, 1), 0);
    EXPECT_FALSE(LineVisible(4));
    EXPECT_TRUE(LineVisible(5));
    EXPECT_TRUE(LineVisible(6));
    EXPECT_EQ(Sci(kSciGetFoldExpanded, 5), 1);
    Screenshot("fold-restored");
    EXPECT_EQ(ReadConfigValue(L"Sidebar", L"Folded"), std::wstring(key.begin(), key.end()));
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

TEST_F(Sections, RoleCommandsWriteTheRoleToTheConfiguration) {
    Arrange("## Heading\r\ntext\r\n", "");
    ASSERT_NE(StartShown(), nullptr);
    Command(kRoleHeading);
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"Editor", L"SectionMarkerRole") == L"Heading"; }, 5s));
    EXPECT_TRUE(WaitUntil([&] { return (Sci(kSciGetFoldLevel, 0) & kFoldHeaderFlag) != 0; }, 3s))
        << "the heading folds now";
    Command(kRoleSeparator);
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigValue(L"Editor", L"SectionMarkerRole") == L"Separator"; }, 5s));
    EXPECT_TRUE(WaitUntil([&] { return (Sci(kSciGetFoldLevel, 0) & kFoldHeaderFlag) == 0; }, 3s));
    EXPECT_EQ(Exit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quillpane::e2e
