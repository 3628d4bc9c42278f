// The editor procedure on a real Scintilla window: the key table's requests,
// the character filter, word and line commands, undo steps, the gutter and
// the drop target, wired as the panel wires them.
#include "app/app_win.h"
#include "resources/messages.h"
#include "app/editor_settings_win.h"
#include "app/memo_win.h"
#include "editor/drop_target_win.h"
#include "editor/editor_commands_win.h"
#include "editor/editor_host_win.h"
#include "editor/editor_proc_state_win.h"
#include "editor/editor_proc_win.h"
#include "editor/text_adapter_win.h"
#include "editor/word_segmenter_win.h"
#include "support/temp_dir.h"

#include <Scintilla.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace quillpane {
namespace {

constexpr RECT kArea {4, 30, 636, 436};

LRESULT CALLBACK PanelLikeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* app = reinterpret_cast<App*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NOTIFY && app != nullptr && app->editor.hwnd != nullptr) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == app->editor.hwnd) {
            if (header->code == SCN_MODIFIED) OnEditorModified(*app, *reinterpret_cast<const SCNotification*>(lParam));
            OnEditorNotify(app->editor, *header);
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// A data object offering one HGLOBAL format.
class OneFormatData final : public IDataObject {
public:
    OneFormatData(CLIPFORMAT format, const void* bytes, std::size_t size) : format_(format) {
        global_ = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
        std::memcpy(::GlobalLock(global_), bytes, size);
        ::GlobalUnlock(global_);
    }
    ~OneFormatData() { ::GlobalFree(global_); }
    OneFormatData(const OneFormatData&) = delete;
    OneFormatData& operator=(const OneFormatData&) = delete;

    static OneFormatData Text(std::u16string_view text) {
        std::u16string terminated(text);
        return OneFormatData(CF_UNICODETEXT, terminated.c_str(), (terminated.size() + 1) * sizeof(char16_t));
    }

    static OneFormatData Files(const std::vector<std::wstring>& paths) {
        std::vector<char> bytes(sizeof(DROPFILES));
        auto* header = reinterpret_cast<DROPFILES*>(bytes.data());
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        std::wstring list;
        for (const std::wstring& path : paths) list += path + L'\0';
        list += L'\0';
        const auto* raw = reinterpret_cast<const char*>(list.c_str());
        bytes.insert(bytes.end(), raw, raw + list.size() * sizeof(wchar_t));
        return OneFormatData(CF_HDROP, bytes.data(), bytes.size());
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        const SIZE_T size = ::GlobalSize(global_);
        HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(::GlobalLock(copy), ::GlobalLock(global_), size);
        ::GlobalUnlock(copy);
        ::GlobalUnlock(global_);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == format_ && (format->tymed & TYMED_HGLOBAL) != 0 ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    CLIPFORMAT format_;
    HGLOBAL global_ = nullptr;
};

struct Posted {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool operator==(const Posted&) const = default;
};

class EditorProcWin : public ::testing::Test {
protected:
    void SetUp() override {
        app_.instance = ::GetModuleHandleW(nullptr);
        app_.configPath = dir_.File("config.ini");
        WNDCLASSW windowClass {};
        windowClass.lpfnWndProc = PanelLikeProc;
        windowClass.hInstance = app_.instance;
        windowClass.lpszClassName = L"QpEditorKeysParent";
        ::RegisterClassW(&windowClass);
        app_.panel = ::CreateWindowExW(0, L"QpEditorKeysParent", L"", WS_POPUP | WS_CLIPCHILDREN, 100, 100, 640, 440,
                                       nullptr, nullptr, app_.instance, nullptr);
        ASSERT_NE(app_.panel, nullptr);
        ::SetWindowLongPtrW(app_.panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&app_));
        ASSERT_TRUE(RegisterEditorClass(app_.instance));
        WireEditor(app_);
        ASSERT_TRUE(CreateEditor(app_.editor, kArea, u"", true));
        ::ShowWindow(app_.panel, SW_SHOWNOACTIVATE);
    }

    void TearDown() override {
        Hold(false, false, false);
        if (app_.panel != nullptr) ::DestroyWindow(app_.panel);
    }

    void Load(std::u16string_view text) {
        LoadEditorText(app_.editor.text, text);
        app_.memo.lastSavedText = ReadText(app_.editor.text.adapter, app_.editor.text.model);
        Drain();
    }

    // The modifier keys as the thread's key state reports them.
    static void Hold(bool ctrl, bool shift, bool alt) {
        BYTE keys[256] {};
        ::GetKeyboardState(keys);
        const auto set = [&](int key, bool down) { keys[key] = down ? 0x80 : 0; };
        set(VK_CONTROL, ctrl);
        set(VK_LCONTROL, ctrl);
        set(VK_SHIFT, shift);
        set(VK_LSHIFT, shift);
        set(VK_MENU, alt);
        set(VK_LMENU, alt);
        ::SetKeyboardState(keys);
    }

    LRESULT Key(UINT key, bool ctrl = false, bool shift = false, bool alt = false) {
        Hold(ctrl, shift, alt);
        const UINT message = alt && !ctrl ? WM_SYSKEYDOWN : WM_KEYDOWN;
        const LPARAM lParam = 1 | (alt ? (1 << 29) : 0);
        const LRESULT result = ::SendMessageW(app_.editor.hwnd, message, key, lParam);
        Hold(false, false, false);
        return result;
    }

    LRESULT Char(wchar_t character, bool ctrl = false) {
        Hold(ctrl, false, false);
        const LRESULT result = ::SendMessageW(app_.editor.hwnd, WM_CHAR, character, 1);
        Hold(false, false, false);
        return result;
    }

    // A typed character: its key, then the character, as Windows sends them.
    void Type(std::u16string_view text) {
        for (const char16_t c : text) {
            ::SendMessageW(app_.editor.hwnd, WM_KEYDOWN, ::VkKeyScanW(c) & 0xFF, 1);
            ::SendMessageW(app_.editor.hwnd, WM_CHAR, c, 1);
        }
    }

    // The panel requests the editor posted since the last drain.
    std::vector<Posted> Drain() {
        std::vector<Posted> posted;
        MSG message;
        // Only the posted ranges: a pending WM_PAINT would come back for ever.
        while (::PeekMessageW(&message, app_.panel, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
            posted.push_back({message.message, message.wParam, message.lParam});
        }
        while (::PeekMessageW(&message, app_.panel, kWmApp, 0xBFFF, PM_REMOVE)) {
            if (message.message != PM_CARETLINE) posted.push_back({message.message, message.wParam, message.lParam});
        }
        return posted;
    }

    std::u16string Text() { return ReadText(app_.editor.text.adapter, app_.editor.text.model); }
    std::u16string ComponentText() { return GetEditorText(app_.editor.sci); }
    Selection Sel() { return EditorSelection16(app_.editor); }
    void Select(std::size_t anchor, std::size_t caret) { SetSelection16(app_.editor, {anchor, caret}); }
    LRESULT Sci(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(app_.editor.hwnd, message, wParam, lParam);
    }
    bool Undo() { return RunEditorCommand(app_.editor, IDM_UNDO) && CanRedo(app_.editor.text.history); }
    std::size_t UndoSteps() { return app_.editor.text.history.undoStack.size(); }

    IDropTarget* DropTarget() {
        EditorProcState* state = EditorProcStateOf(app_.editor.hwnd);
        return state != nullptr ? state->dropTarget : nullptr;
    }
    // Screen point over the character at a UTF-16 index.
    POINTL PointAt(std::size_t index) {
        const LRESULT position = static_cast<LRESULT>(ToBytePosition(app_.editor.text.adapter, app_.editor.text.model, index));
        POINT point {static_cast<LONG>(Sci(SCI_POINTXFROMPOSITION, 0, position)) + 1,
                     static_cast<LONG>(Sci(SCI_POINTYFROMPOSITION, 0, position)) + 2};
        ::ClientToScreen(app_.editor.hwnd, &point);
        return {point.x, point.y};
    }
    DWORD DropAt(IDataObject& data, std::size_t index, DWORD keyState = 0) {
        IDropTarget* target = DropTarget();
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target->DragEnter(&data, keyState, PointAt(index), &effect), S_OK);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target->Drop(&data, keyState, PointAt(index), &effect), S_OK);
        return effect;
    }

    testing::TempDir dir_;
    App app_;
};

struct KeyRow {
    const char* name;
    UINT key;
    bool ctrl;
    bool shift;
    bool alt;
    Posted expected;
};

TEST_F(EditorProcWin, EveryShortcutPostsItsRequestToThePanel) {
    const Posted none {};
    const KeyRow rows[] = {
        {"Esc", VK_ESCAPE, false, false, false, {PM_ESCAPE, 0, 0}},
        {"Ctrl+F", 'F', true, false, false, {PM_FIND, 0, 0}},
        {"F3", VK_F3, false, false, false, {PM_FINDNEXT, 0, 0}},
        {"Shift+F3", VK_F3, false, true, false, {PM_FINDNEXT, 1, 0}},
        {"Ctrl+plus", VK_OEM_PLUS, true, false, false, {PM_ZOOMSTEP, 1, 0}},
        {"Ctrl+keypad plus", VK_ADD, true, false, false, {PM_ZOOMSTEP, 1, 0}},
        {"Ctrl+minus", VK_OEM_MINUS, true, false, false, {PM_ZOOMSTEP, static_cast<WPARAM>(-1), 0}},
        {"Ctrl+0", '0', true, false, false, {PM_ZOOMRESET, 0, 0}},
        {"Ctrl+keypad 0", VK_NUMPAD0, true, false, false, {PM_ZOOMRESET, 0, 0}},
        {"Ctrl+S", 'S', true, false, false, {PM_SAVENOW, 0, 0}},
        {"Ctrl+H", 'H', true, false, false, {PM_REPLACE, 0, 0}},
        {"Ctrl+G", 'G', true, false, false, {PM_GOTOLINE, 0, 0}},
        {"Ctrl+L", 'L', true, false, false, {PM_HEADINGLIST, 0, 0}},
        {"Ctrl+B", 'B', true, false, false, {PM_TOGGLESIDEBAR, 1, 0}},
        {"Ctrl+Z", 'Z', true, false, false, {WM_COMMAND, IDM_UNDO, 0}},
        {"Ctrl+Shift+Z", 'Z', true, true, false, {WM_COMMAND, IDM_REDO, 0}},
        {"Ctrl+Y", 'Y', true, false, false, {WM_COMMAND, IDM_REDO, 0}},
        {"Ctrl+Shift+Y", 'Y', true, true, false, {WM_COMMAND, IDM_REDO, 0}},
        {"Alt+Backspace", VK_BACK, false, false, true, {WM_COMMAND, IDM_UNDO, 0}},
        {"Alt+Shift+Backspace", VK_BACK, false, true, true, {WM_COMMAND, IDM_REDO, 0}},
        {"Alt+T", 'T', false, false, true, {WM_COMMAND, IDM_ALWAYSONTOP, 0}},
        {"Alt+P", 'P', false, false, true, {WM_COMMAND, IDM_TRANSLUCENT, 0}},
        {"Alt+S", 'S', false, false, true, {WM_COMMAND, IDM_MOREMENU, 0}},
        {"Alt+E", 'E', false, false, true, {WM_COMMAND, IDM_OPENWITH, 0}},
        {"Ctrl+Shift+Backspace", VK_BACK, true, true, false, {WM_COMMAND, IDM_LASTEDIT, 0}},
        {"F2", VK_F2, false, false, false, {WM_COMMAND, IDM_DATETIMEMENU, 0}},
        {"F5", VK_F5, false, false, false, {WM_COMMAND, IDM_INSERTDATETIME, 0}},
        {"F6", VK_F6, false, false, false, {WM_COMMAND, IDM_INSERTMARKER, 0}},
        {"Ctrl+F3", VK_F3, true, false, false, {WM_COMMAND, IDM_HIGHLIGHTWORD, 0}},
        {"Ctrl+Shift+A", 'A', true, true, false, {WM_COMMAND, IDM_SELECTNOTE, 0}},
        {"Alt+F3", VK_F3, false, false, true, none},  // F3 with Alt comes as WM_SYSKEYDOWN: not a row of its own
    };
    Load(u"alpha\r\nbeta");
    for (const KeyRow& row : rows) {
        EXPECT_EQ(Key(row.key, row.ctrl, row.shift, row.alt), 0) << row.name;
        const std::vector<Posted> posted = Drain();
        if (row.expected == none) {
            EXPECT_TRUE(posted.empty()) << row.name;
        } else {
            ASSERT_EQ(posted.size(), 1u) << row.name;
            EXPECT_EQ(posted[0], row.expected) << row.name;
        }
        EXPECT_EQ(Text(), u"alpha\r\nbeta") << row.name;
    }
}

TEST_F(EditorProcWin, ContextMenuKeyPostsTheEditorMenuWithItsPoint) {
    Load(u"x");
    ::SendMessageW(app_.editor.hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(app_.editor.hwnd), MAKELPARAM(120, 80));
    const std::vector<Posted> posted = Drain();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0], (Posted {PM_EDITORMENU, reinterpret_cast<WPARAM>(app_.editor.hwnd), MAKELPARAM(120, 80)}));
}

TEST_F(EditorProcWin, ShortcutCharactersNeverReachTheText) {
    Load(u"");
    for (wchar_t c : {0x01, 0x04, 0x06, 0x13, 0x16, 0x18, 0x19, 0x1A, 0x1B, 0x7F}) {
        EXPECT_EQ(Char(c), 0);
    }
    for (wchar_t c : {0x02, 0x07, 0x08, 0x0A, 0x0B, 0x0C, 0x1C}) EXPECT_EQ(Char(c, true), 0);
    EXPECT_EQ(::SendMessageW(app_.editor.hwnd, WM_SYSCHAR, 't', 1 << 29), 0);
    EXPECT_EQ(ComponentText(), u"");
    Char(L'a');
    Char(L'\t');  // Tab without Ctrl is text
    EXPECT_EQ(ComponentText(), u"a\t");
}

TEST_F(EditorProcWin, CtrlBackspaceAndCtrlDeleteStopAtSpacesKanaAndKanji) {
    Load(u"word  \u30AB\u30BF\u6F22\u5B57\u3072\u3089");
    Select(6, 6);
    Key(VK_BACK, true);
    EXPECT_EQ(Text(), u"\u30AB\u30BF\u6F22\u5B57\u3072\u3089") << "the spaces and the word before them";
    Key(VK_DELETE, true);
    EXPECT_EQ(Text(), u"\u6F22\u5B57\u3072\u3089") << "only the katakana";
    Select(4, 4);
    Key(VK_BACK, true);
    EXPECT_EQ(Text(), u"\u6F22\u5B57") << "only the hiragana";
    Key(VK_DELETE, true);
    EXPECT_EQ(Text(), u"\u6F22\u5B57") << "nothing right of the end";
    EXPECT_EQ(UndoSteps(), 3u);
    EXPECT_TRUE(Undo());
    EXPECT_EQ(Text(), u"\u6F22\u5B57\u3072\u3089");
    EXPECT_EQ(ComponentText(), Text());
}

TEST_F(EditorProcWin, ThreeTypedCharactersAreThreeUndoStepsAndTheMemoFollows) {
    Load(u"x");
    Select(1, 1);
    Type(u"abc");
    EXPECT_EQ(ComponentText(), u"xabc");
    EXPECT_EQ(UndoSteps(), 3u);
    EXPECT_TRUE(app_.memo.memoDirty);
    EXPECT_EQ(app_.editor.text.history.marks, (std::vector<std::uint8_t> {1}));
    EXPECT_TRUE(Undo());
    EXPECT_EQ(ComponentText(), u"xab");
    EXPECT_TRUE(Undo());
    EXPECT_TRUE(Undo());
    EXPECT_EQ(ComponentText(), u"x");
    EXPECT_FALSE(app_.memo.memoDirty) << "undone back to the saved text";
}

TEST_F(EditorProcWin, TypingOverASelectionIsOneStep) {
    Load(u"abcd");
    Select(1, 3);
    Type(u"X");
    EXPECT_EQ(ComponentText(), u"aXd");
    EXPECT_EQ(UndoSteps(), 1u);
    EXPECT_TRUE(Undo());
    EXPECT_EQ(ComponentText(), u"abcd");
}

TEST_F(EditorProcWin, RectangularTypingIsOneStepAndUndoRestoresTheRectangle) {
    Load(u"abc\r\ndef\r\nghi\r\nrest");
    Sci(SCI_SETRECTANGULARSELECTIONANCHOR, 1);
    Sci(SCI_SETRECTANGULARSELECTIONCARET, 11);
    ASSERT_EQ(Sci(SCI_GETSELECTIONMODE), SC_SEL_RECTANGLE);
    Type(u"X");
    ASSERT_EQ(ComponentText(), u"aXbc\r\ndXef\r\ngXhi\r\nrest");
    EXPECT_EQ(UndoSteps(), 1u);
    EXPECT_EQ(app_.editor.text.history.marks, (std::vector<std::uint8_t> {1, 1, 1, 0}));
    EXPECT_TRUE(Undo());
    EXPECT_EQ(ComponentText(), u"abc\r\ndef\r\nghi\r\nrest");
    EXPECT_EQ(Sci(SCI_GETSELECTIONMODE), SC_SEL_RECTANGLE);
    EXPECT_EQ(Sci(SCI_GETRECTANGULARSELECTIONANCHOR), 1);
    EXPECT_EQ(Sci(SCI_GETRECTANGULARSELECTIONCARET), 11);
}

TEST_F(EditorProcWin, LineKeysEditInOneStepEach) {
    Load(u"one\r\ntwo\r\nthree");
    Select(5, 5);
    Key('D', true);
    EXPECT_EQ(Text(), u"one\r\ntwo\r\ntwo\r\nthree");
    EXPECT_EQ(Sel(), (Selection {10, 15})) << "the copy with its line break";
    Key(VK_DOWN, true, true);
    EXPECT_EQ(Text(), u"one\r\ntwo\r\nthree\r\ntwo");
    Key(VK_DOWN, true, true);
    EXPECT_EQ(Text(), u"one\r\ntwo\r\nthree\r\ntwo") << "the last line does not move down";
    Select(0, 0);
    Key(VK_UP, true, true);
    EXPECT_EQ(Text(), u"one\r\ntwo\r\nthree\r\ntwo") << "the first line does not move up";
    Key('J', true);
    EXPECT_EQ(Text(), u"one two\r\nthree\r\ntwo");
    EXPECT_EQ(UndoSteps(), 3u);
    EXPECT_TRUE(Undo());
    EXPECT_TRUE(Undo());
    EXPECT_EQ(Text(), u"one\r\ntwo\r\ntwo\r\nthree") << "the move undone in one step";
    EXPECT_EQ(Sel(), (Selection {10, 10})) << "caret at the moved block's start";
    EXPECT_EQ(ComponentText(), Text());
}

TEST_F(EditorProcWin, LineCommandsOfThePanelMenusRunThroughTheHistory) {
    Load(u"b\r\na\r\nB");
    EXPECT_TRUE(RunEditorCommand(app_.editor, IDM_SORTASC));
    EXPECT_EQ(Text(), u"B\r\na\r\nb");
    EXPECT_TRUE(RunEditorCommand(app_.editor, IDM_SORTDESC));
    EXPECT_EQ(Text(), u"b\r\na\r\nB");
    EXPECT_TRUE(RunEditorCommand(app_.editor, IDM_INSERTTIME));
    EXPECT_EQ(Text().size(), 12u) << "hh:mm inserted";
    EXPECT_FALSE(RunEditorCommand(app_.editor, IDM_FIND)) << "not an editor command";
    EXPECT_EQ(UndoSteps(), 3u);
}

TEST_F(EditorProcWin, ArrowsStopAtLineEdgesWhenAsked) {
    app_.config.editor.noArrowLineCross = true;
    Load(u"abc\r\n  \r\ndef");
    Select(3, 3);
    Key(VK_RIGHT);
    EXPECT_EQ(Sel(), (Selection {3, 3}));
    Key(VK_RIGHT, false, true);
    EXPECT_EQ(Sel(), (Selection {3, 3})) << "Shift+Right stops too";
    Select(7, 7);  // end of the blank line: exempt
    Key(VK_RIGHT);
    EXPECT_NE(Sel().caret, 7u);
    app_.config.editor.noArrowLineCross = false;
    Select(3, 3);
    Key(VK_RIGHT);
    EXPECT_EQ(Sel().caret, 5u);
}

TEST_F(EditorProcWin, CaretKeysMoveByDocumentLineAndWord) {
    Load(u"first line\r\nsecond word");
    Select(15, 15);
    Key(VK_LEFT, true);
    EXPECT_EQ(Sel(), (Selection {12, 12}));
    Key(VK_RIGHT, true);
    EXPECT_EQ(Sel(), (Selection {23, 23}));
    Key(VK_LEFT, true, true);
    EXPECT_EQ(Sel(), (Selection {23, 19}));
    Key(VK_HOME, true, true);
    EXPECT_EQ(Sel(), (Selection {23, 0}));
    Key(VK_END, true);
    EXPECT_EQ(Sel(), (Selection {23, 23}));
}

TEST_F(EditorProcWin, GutterPressSelectsLinesAndShiftExtendsFromTheAnchor) {
    Load(u"zero\r\none\r\ntwo\r\nthree");
    const int lineHeight = static_cast<int>(Sci(SCI_TEXTHEIGHT, 0));
    const auto y = [&](int line) { return line * lineHeight + lineHeight / 2; };
    ASSERT_GT(Sci(SCI_GETMARGINWIDTHN, 0), 4);
    ::SendMessageW(app_.editor.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, y(1)));
    ::SendMessageW(app_.editor.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(2, y(1)));
    EXPECT_EQ(Sel(), (Selection {6, 11}));
    EXPECT_EQ(::GetCapture(), nullptr) << "the release ends the line drag";
    ::SendMessageW(app_.editor.hwnd, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(200, y(3)));
    ::SendMessageW(app_.editor.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(200, y(3)));
    EXPECT_EQ(Sel(), (Selection {6, 21}));
    ::SendMessageW(app_.editor.hwnd, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(200, y(0)));
    ::SendMessageW(app_.editor.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(200, y(0)));
    EXPECT_EQ(Sel(), (Selection {11, 0})) << "upwards from the anchor line's end";
    // The inset strips: above the text to its start, below it to its end.
    Select(8, 8);
    ::SendMessageW(app_.editor.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, -3));
    EXPECT_EQ(Sel(), (Selection {0, 0}));
    RECT client {};
    ::GetClientRect(app_.editor.hwnd, &client);
    ::SendMessageW(app_.editor.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, client.bottom + 3));
    EXPECT_EQ(Sel(), (Selection {21, 21}));
}

TEST_F(EditorProcWin, DoubleClickSelectsTheWordByClassWithoutASegmenter) {
    Load(u"ab \u6F22\u5B57\u3072\u3089\r\nx");
    if (!WordSegmenterAvailable()) {
        OnEditorDoubleClick(app_.editor, static_cast<long long>(ToBytePosition(app_.editor.text.adapter, app_.editor.text.model, 4)));
        EXPECT_EQ(Sel(), (Selection {3, 5})) << "the kanji run";
    }
    Select(1, 1);
    OnEditorDoubleClick(app_.editor, static_cast<long long>(ToBytePosition(app_.editor.text.adapter, app_.editor.text.model, 7)));
    EXPECT_EQ(Sel(), (Selection {1, 1})) << "nothing at a line end";
}

TEST_F(EditorProcWin, DroppedFilesAreInsertedQuotedWhenNeededInOneStep) {
    Load(u"start\r\nend");
    ASSERT_NE(DropTarget(), nullptr);
    OneFormatData files = OneFormatData::Files({L"C:\\memo.txt", L"C:\\My Files\\a b.txt"});
    EXPECT_EQ(DropAt(files, 7), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(Text(), u"start\r\nC:\\memo.txt\r\n\"C:\\My Files\\a b.txt\"end");
    EXPECT_EQ(UndoSteps(), 1u);
    EXPECT_TRUE(Undo());
    EXPECT_EQ(Text(), u"start\r\nend");
}

TEST_F(EditorProcWin, DraggedTextMovesCopiesWithCtrlAndStaysOnItsOwnSelection) {
    Load(u"abc\r\ndef\r\n");
    Select(0, 3);
    OneFormatData text = OneFormatData::Text(u"abc");
    IDropTarget* target = DropTarget();
    ASSERT_NE(target, nullptr);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(&text, 0, PointAt(5), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragOver(MK_CONTROL, PointAt(5), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    target->DragLeave();

    EXPECT_EQ(DropAt(text, 1), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(Text(), u"abc\r\ndef\r\n") << "onto its own selection: nothing";
    EXPECT_EQ(UndoSteps(), 0u);

    EXPECT_EQ(DropAt(text, 5), static_cast<DWORD>(DROPEFFECT_COPY)) << "the editor removes moved text itself";
    EXPECT_EQ(Text(), u"\r\nabcdef\r\n");
    EXPECT_EQ(UndoSteps(), 1u);
    EXPECT_TRUE(Undo());
    EXPECT_EQ(Text(), u"abc\r\ndef\r\n");

    Select(0, 3);
    DropAt(text, 5, MK_CONTROL);
    EXPECT_EQ(Text(), u"abc\r\nabcdef\r\n") << "a copy with Ctrl";
    EXPECT_EQ(ComponentText(), Text());
}

TEST_F(EditorProcWin, AReadOnlyEditorRefusesDrops) {
    Load(u"text");
    app_.editor.sci.SetReadOnly(true);
    OneFormatData text = OneFormatData::Text(u"more");
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    DropTarget()->DragEnter(&text, 0, PointAt(1), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(DropAt(text, 1), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(Text(), u"text");
    DWORD* nothing = nullptr;
    EXPECT_EQ(DropTarget()->DragOver(0, PointAt(1), nothing), E_POINTER);
    void* object = nullptr;
    EXPECT_EQ(DropTarget()->QueryInterface(IID_IDataObject, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
}

TEST_F(EditorProcWin, EditMessagesAreAnsweredInUtf16ThroughTheProcedure) {
    Load(u"\u65E5\u672C\r\nx");
    EXPECT_EQ(::GetWindowTextLengthW(app_.editor.hwnd), 5);
    ::SendMessageW(app_.editor.hwnd, EM_SETSEL, 4, 5);
    EXPECT_EQ(Sci(SCI_GETANCHOR), 8);
    ::SendMessageW(app_.editor.hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\u00E9"));
    EXPECT_EQ(ComponentText(), u"\u65E5\u672C\r\n\u00E9");
    EXPECT_EQ(UndoSteps(), 1u) << "a replacement sent from outside is one step";
}

// The component's own text keys and a whole-text WM_SETTEXT: one undo step
// each, so one Ctrl+Z never leaves a half-made text for the autosave.
TEST_F(EditorProcWin, ComponentTextKeysAndSetTextAreOneStepEach) {
    Load(u"one\r\ntwo\r\nthree");
    Select(5, 5);
    Key('T', true);
    EXPECT_EQ(Text(), u"two\r\none\r\nthree");
    Select(0, 3);
    Key('U', true, true);
    EXPECT_EQ(Text(), u"TWO\r\none\r\nthree");
    EXPECT_EQ(UndoSteps(), 2u);
    EXPECT_TRUE(Undo());
    EXPECT_TRUE(Undo());
    EXPECT_EQ(Text(), u"one\r\ntwo\r\nthree");

    ::SendMessageW(app_.editor.hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"new"));
    EXPECT_EQ(Text(), u"new");
    EXPECT_TRUE(Undo());
    EXPECT_EQ(Text(), u"one\r\ntwo\r\nthree") << "one Ctrl+Z restores the text, never an empty one";
    EXPECT_EQ(ComponentText(), Text());
}

// Ctrl+\ without memo folds (or held down) is no word-part move.
TEST_F(EditorProcWin, CtrlBackslashWithoutFoldsLeavesTheCaret) {
    Load(u"alpha beta");
    Select(8, 8);
    Key(0xDC, true);
    EXPECT_EQ(Sel(), (Selection {8, 8}));
}

}  // namespace
}  // namespace quillpane
