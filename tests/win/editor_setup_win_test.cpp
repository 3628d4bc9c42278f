// A real Scintilla window set up as the program sets it up: settings after
// creation, margins, indicators, caret, themes, wrap re-creation, painting.
#include "app/app_win.h"
#include "app/editor_settings_win.h"
#include "app/theme_win.h"
#include "editor/editor_host_win.h"
#include "editor/text_adapter_win.h"
#include "editor/editor_paint_win.h"
#include "support/temp_dir.h"

#include <Scintilla.h>
#include <gtest/gtest.h>
#include <imm.h>

#include <string>

namespace quillpane {
namespace {

constexpr RECT kArea {4, 30, 636, 436};

// The editor's changes reach its text layer, as in the panel.
LRESULT CALLBACK PlainParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* app = reinterpret_cast<App*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NOTIFY && app != nullptr) {
        const auto& notification = *reinterpret_cast<const SCNotification*>(lParam);
        if (notification.nmhdr.hwndFrom == app->editor.hwnd && notification.nmhdr.code == SCN_MODIFIED &&
            OnScintillaModified(app->editor.text, notification)) {
            OnDocumentChanged(ContextOf(app->editor.text));
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

std::u16string NumberedLines(int count) {
    std::u16string text;
    for (int i = 1; i <= count; ++i) {
        if (i > 1) text += u"\r\n";
        text += u"line " + std::u16string(1, static_cast<char16_t>(u'a' + (i % 26)));
    }
    return text;
}

class EditorSetup : public ::testing::Test {
protected:
    void SetUp() override {
        app_.instance = ::GetModuleHandleW(nullptr);
        app_.configPath = dir_.File("config.ini");
        WNDCLASSW windowClass {};
        windowClass.lpfnWndProc = PlainParentProc;
        windowClass.hInstance = app_.instance;
        windowClass.lpszClassName = L"QpEditorTestParent";
        ::RegisterClassW(&windowClass);
        app_.panel = ::CreateWindowExW(0, L"QpEditorTestParent", L"", WS_POPUP | WS_CLIPCHILDREN, 100, 100, 640, 440,
                                       nullptr, nullptr, app_.instance, nullptr);
        ASSERT_NE(app_.panel, nullptr);
        ::SetWindowLongPtrW(app_.panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&app_));
        ASSERT_TRUE(RegisterEditorClass(app_.instance));
    }

    void TearDown() override {
        if (app_.panel != nullptr) ::DestroyWindow(app_.panel);
    }

    HWND Create(const std::u16string& text, WordWrap wrap = WordWrap::Wrap) {
        app_.config.editor.wordWrap = wrap;
        app_.editor.sizeStep = app_.config.editor.fontSizeStep;
        WireEditor(app_);
        EXPECT_TRUE(CreateEditor(app_.editor, kArea, text, true));
        return app_.editor.hwnd;
    }

    // Shows the parent on the screen with the focus in the editor.
    void ShowAndFocus() {
        ::ShowWindow(app_.panel, SW_SHOW);
        ::SetForegroundWindow(app_.panel);
        ::SetFocus(app_.editor.hwnd);
        Pump();
    }

    static void Pump() {
        MSG message;
        for (int round = 0; round < 5; ++round) {
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
            ::Sleep(10);
        }
    }

    LRESULT Sci(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(app_.editor.hwnd, message, wParam, lParam);
    }

    std::string StyleFont(int style) const {
        char face[LF_FACESIZE * 4] {};
        Sci(SCI_STYLEGETFONT, static_cast<WPARAM>(style), reinterpret_cast<LPARAM>(face));
        return face;
    }

    std::string MarginText(int line) const {
        char text[32] {};
        Sci(SCI_MARGINGETTEXT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text));
        return text;
    }

    testing::TempDir dir_;
    App app_;
};

TEST_F(EditorSetup, CreationSendsEveryMessageOfTheList) {
    HWND editor = Create(u"memo");
    EXPECT_EQ(::GetDlgCtrlID(editor), 2001);
    const LONG_PTR style = ::GetWindowLongPtrW(editor, GWL_STYLE);
    EXPECT_NE(style & WS_CHILD, 0);
    EXPECT_NE(style & WS_CLIPSIBLINGS, 0);
    EXPECT_NE(style & WS_VISIBLE, 0);
    EXPECT_EQ(style & WS_HSCROLL, 0) << "no horizontal scroll bar while wrapping";
    RECT window {};
    ::GetWindowRect(editor, &window);
    EXPECT_EQ(window.right - window.left, kArea.right - kArea.left);
    EXPECT_EQ(window.bottom - window.top, kArea.bottom - kArea.top - 24) << "room for the status label";

    EXPECT_EQ(Sci(SCI_GETCODEPAGE), SC_CP_UTF8);
    EXPECT_EQ(Sci(SCI_GETEOLMODE), SC_EOL_CRLF);
    EXPECT_EQ(Sci(SCI_GETUNDOCOLLECTION), 0);
    EXPECT_EQ(Sci(SCI_GETWRAPMODE), SC_WRAP_WORD);
    EXPECT_EQ(Sci(SCI_GETLAYOUTCACHE), SC_CACHE_PAGE) << "no layout per line of a large memo";
    EXPECT_EQ(Sci(SCI_GETBUFFEREDDRAW), 1);
    EXPECT_EQ(Sci(SCI_GETHSCROLLBAR), 0);
    EXPECT_EQ(Sci(SCI_GETSCROLLWIDTHTRACKING), 1);
    EXPECT_EQ(Sci(SCI_GETUSETABS), 1);
    EXPECT_EQ(Sci(SCI_GETTABWIDTH), 4);
    EXPECT_EQ(Sci(SCI_GETMOUSESELECTIONRECTANGULARSWITCH), 1);
    EXPECT_EQ(Sci(SCI_GETVIRTUALSPACEOPTIONS), SCVS_RECTANGULARSELECTION);
    EXPECT_EQ(Sci(SCI_GETADDITIONALSELECTIONTYPING), 1);
    EXPECT_EQ(Sci(SCI_GETIMEINTERACTION), SC_IME_INLINE);
    EXPECT_EQ(Sci(SCI_GETMODEVENTMASK), SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT);
    EXPECT_EQ(Sci(SCI_GETEXTRAASCENT), 2);
    EXPECT_EQ(Sci(SCI_GETEXTRADESCENT), 2);

    // The requested face goes to the component even where Windows substitutes it.
    EXPECT_EQ(StyleFont(STYLE_DEFAULT), "Yu Gothic UI");
    EXPECT_EQ(Sci(SCI_STYLEGETSIZE, STYLE_DEFAULT), 11);
    EXPECT_EQ(Sci(SCI_STYLEGETITALIC, 40), 1);
    EXPECT_EQ(Sci(SCI_STYLEGETWEIGHT, 40), 600);
    EXPECT_EQ(Sci(SCI_STYLEGETWEIGHT, STYLE_LINENUMBER), 400);
    EXPECT_EQ(Sci(SCI_GETSELALPHA), SC_ALPHA_NOALPHA);
    EXPECT_EQ(Sci(SCI_GETCARETLINEVISIBLE), 1);
    EXPECT_EQ(Sci(SCI_GETCARETLINEVISIBLEALWAYS), 1);
    EXPECT_EQ(Sci(SCI_GETCARETLINEBACK), 0xF4ECE8);
    EXPECT_GT(app_.editor.look.averageCharWidth, 1);
    EXPECT_GT(app_.editor.look.lineHeight, 0);

    char text[16] {};
    Sci(SCI_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "memo");
    EXPECT_EQ(Sci(SCI_CANUNDO), 0);
}

TEST_F(EditorSetup, NumberMarginWidensOnTheTenthLine) {
    Create(NumberedLines(9));
    const int average = app_.editor.look.averageCharWidth;
    EXPECT_EQ(Sci(SCI_GETMARGINTYPEN, 0), SC_MARGIN_RTEXT);
    EXPECT_EQ(Sci(SCI_GETMARGINWIDTHN, 0), 8 + 3 * average);
    EXPECT_EQ(Sci(SCI_GETMARGINSENSITIVEN, 0), 1);
    EXPECT_EQ(Sci(SCI_GETMARGINCURSORN, 0), SC_CURSORARROW);
    for (int margin = 1; margin <= 4; ++margin) EXPECT_EQ(Sci(SCI_GETMARGINWIDTHN, static_cast<WPARAM>(margin)), 0);
    EXPECT_EQ(Sci(SCI_GETMARGINLEFT), 6);
    EXPECT_EQ(Sci(SCI_GETMARGINRIGHT), 6);
    EXPECT_EQ(MarginText(0), "1");
    EXPECT_EQ(MarginText(8), "9");
    EXPECT_EQ(Sci(SCI_MARGINGETSTYLE, 8), STYLE_LINENUMBER);

    const std::string tenth = "\r\nline j";
    Sci(SCI_APPENDTEXT, tenth.size(), reinterpret_cast<LPARAM>(tenth.data()));
    RefreshLineNumbers(app_.editor);
    EXPECT_EQ(Sci(SCI_GETMARGINWIDTHN, 0), 8 + 4 * average);
    EXPECT_EQ(MarginText(9), "10");

    SetShowLineNumbers(app_, false);
    EXPECT_EQ(Sci(SCI_GETMARGINWIDTHN, 0), 0);
    EXPECT_EQ(Sci(SCI_GETMARGINSENSITIVEN, 0), 0);
    EXPECT_EQ(Sci(SCI_GETMARGINLEFT), 10);
    EXPECT_EQ(MarginText(0), "");
}

// Only the lines on screen (and a screen around them) carry numbers, and
// they stay right when a memo is loaded, scrolled and edited above the view.
TEST_F(EditorSetup, NumbersFollowTheScreenThroughLoadScrollAndEdits) {
    Create(u"");
    LoadEditorText(app_.editor.text, NumberedLines(5000));
    RefreshLineNumbers(app_.editor);
    EXPECT_EQ(MarginText(0), "1") << "the first line keeps its number through the load";
    EXPECT_EQ(MarginText(4000), "") << "far below the screen";

    Sci(SCI_SETFIRSTVISIBLELINE, 3000);
    RefreshLineNumbers(app_.editor);
    EXPECT_EQ(MarginText(3000), "3001");
    EXPECT_EQ(MarginText(0), "");

    // Two lines inserted above the view, one removed in it.
    const std::string added = "a\r\nb\r\n";
    Sci(SCI_INSERTTEXT, static_cast<WPARAM>(Sci(SCI_POSITIONFROMLINE, 10)), reinterpret_cast<LPARAM>(added.c_str()));
    Sci(SCI_DELETERANGE, static_cast<WPARAM>(Sci(SCI_POSITIONFROMLINE, 3005)), Sci(SCI_LINELENGTH, 3005));
    RefreshLineNumbers(app_.editor);
    const auto first = static_cast<int>(Sci(SCI_GETFIRSTVISIBLELINE));
    const auto shown = static_cast<int>(Sci(SCI_LINESONSCREEN));
    for (int line = first; line < first + shown; ++line) {
        EXPECT_EQ(MarginText(line), std::to_string(line + 1)) << line;
    }
    int numbered = 0;
    for (int line = 0; line < static_cast<int>(Sci(SCI_GETLINECOUNT)); ++line) numbered += !MarginText(line).empty();
    EXPECT_LE(numbered, 3 * shown + 3) << "no numbers left behind off screen";
}

TEST_F(EditorSetup, ChangedLinesGetTheirOwnNumberStyle) {
    Create(NumberedLines(3));
    app_.editor.text.history.marks = {0, 1, 0};
    RefreshLineNumbers(app_.editor);
    EXPECT_EQ(Sci(SCI_MARGINGETSTYLE, 0), STYLE_LINENUMBER);
    EXPECT_EQ(Sci(SCI_MARGINGETSTYLE, 1), 40);
    EXPECT_EQ(Sci(SCI_MARGINGETSTYLE, 2), STYLE_LINENUMBER);
    ClearChangedLineMarks(app_.editor);
    EXPECT_EQ(Sci(SCI_MARGINGETSTYLE, 1), STYLE_LINENUMBER);
    EXPECT_EQ(app_.editor.text.history.marks.size(), 3u);
}

TEST_F(EditorSetup, IndicatorsTakeTheThemesColours) {
    Create(u"x");
    EXPECT_EQ(Sci(SCI_INDICGETSTYLE, 0), INDIC_ROUNDBOX);
    EXPECT_EQ(Sci(SCI_INDICGETFORE, 0), 0x50E2FF);
    EXPECT_EQ(Sci(SCI_INDICGETALPHA, 0), 140);
    EXPECT_EQ(Sci(SCI_INDICGETOUTLINEALPHA, 0), 160);
    EXPECT_EQ(Sci(SCI_INDICGETUNDER, 0), 1);
    EXPECT_EQ(Sci(SCI_INDICGETFORE, 1), 0x28A8FF);
    EXPECT_EQ(Sci(SCI_INDICGETALPHA, 1), 255);
    EXPECT_EQ(Sci(SCI_INDICGETSTYLE, 2), INDIC_PLAIN);
    EXPECT_EQ(Sci(SCI_INDICGETFORE, 2), 0xB45A00);
    EXPECT_EQ(Sci(SCI_INDICGETHOVERSTYLE, 2), INDIC_PLAIN);
    EXPECT_EQ(Sci(SCI_INDICGETHOVERFORE, 2), 0xA04600);
    EXPECT_EQ(Sci(SCI_INDICGETSTYLE, 3), INDIC_TEXTFORE);
    EXPECT_EQ(Sci(SCI_INDICGETFORE, 3), 0x081218);
    EXPECT_EQ(Sci(SCI_INDICGETUNDER, 3), 0);

    SetTheme(app_, true);
    EXPECT_EQ(Sci(SCI_INDICGETFORE, 0), 0x1A5070);
    EXPECT_EQ(Sci(SCI_INDICGETALPHA, 0), 210);
    EXPECT_EQ(Sci(SCI_INDICGETOUTLINEALPHA, 0), 220);
    EXPECT_EQ(Sci(SCI_INDICGETFORE, 1), 0x40CEFF);
    EXPECT_EQ(Sci(SCI_INDICGETFORE, 2), 0xFFB478);
    EXPECT_EQ(Sci(SCI_INDICGETHOVERFORE, 2), 0xFFDCB4);
}

TEST_F(EditorSetup, CaretFollowsTheStyleAndIsSentOnlyOnAChange) {
    Create(u"x");
    EXPECT_EQ(Sci(SCI_GETCARETSTYLE), CARETSTYLE_LINE);
    EXPECT_EQ(Sci(SCI_GETCARETWIDTH), 2);
    EXPECT_EQ(Sci(SCI_GETCARETPERIOD), 500);

    SetCaretStyle(app_, CaretStyle::Block);
    EXPECT_EQ(Sci(SCI_GETCARETSTYLE), CARETSTYLE_BLOCK);
    EXPECT_EQ(Sci(SCI_GETCARETPERIOD), 500);

    SetCaretStyle(app_, CaretStyle::Dos);
    EXPECT_EQ(Sci(SCI_GETCARETSTYLE), CARETSTYLE_INVISIBLE);
    EXPECT_EQ(Sci(SCI_GETCARETPERIOD), 0);

    // The cache: the same kind again sends nothing.
    Sci(SCI_SETCARETPERIOD, 123);
    ApplyCaret(app_.editor);
    EXPECT_EQ(Sci(SCI_GETCARETPERIOD), 123);
    SetCaretStyle(app_, CaretStyle::Line);
    EXPECT_EQ(Sci(SCI_GETCARETSTYLE), CARETSTYLE_LINE);
    EXPECT_EQ(Sci(SCI_GETCARETPERIOD), 500);
}

TEST_F(EditorSetup, DarkThemeGivesTheDarkPaletteInStyleColours) {
    app_.config.ui.theme = Theme::Dark;
    Create(NumberedLines(3));
    ApplyTheme(app_);
    EXPECT_TRUE(app_.theme.isDark);
    EXPECT_TRUE(app_.theme.menusDark);
    EXPECT_EQ(Sci(SCI_STYLEGETBACK, STYLE_DEFAULT), 0x1E1E1E);
    EXPECT_EQ(Sci(SCI_STYLEGETFORE, STYLE_DEFAULT), 0xE0E0E0);
    EXPECT_EQ(Sci(SCI_STYLEGETBACK, 0), 0x1E1E1E) << "STYLECLEARALL spreads the default";
    EXPECT_EQ(Sci(SCI_STYLEGETBACK, STYLE_LINENUMBER), 0x36302E);
    EXPECT_EQ(Sci(SCI_STYLEGETFORE, STYLE_LINENUMBER), 0xD8D1CD);
    EXPECT_EQ(Sci(SCI_STYLEGETBACK, 40), 0x36302E);
    EXPECT_EQ(Sci(SCI_GETCARETFORE), 0xE0E0E0);
    EXPECT_EQ(Sci(SCI_GETCARETLINEBACK), 0x6C4E3E);

    app_.config.ui.theme = Theme::Light;
    ApplyTheme(app_);
    EXPECT_FALSE(app_.theme.isDark);
    EXPECT_EQ(Sci(SCI_STYLEGETBACK, STYLE_DEFAULT), 0xFFFFFF);
    EXPECT_EQ(Sci(SCI_STYLEGETFORE, STYLE_DEFAULT), 0x141414);
    EXPECT_EQ(Sci(SCI_STYLEGETBACK, STYLE_LINENUMBER), 0xF2EEEC);
    EXPECT_EQ(Sci(SCI_STYLEGETFORE, STYLE_LINENUMBER), 0x3E3632);
}

TEST_F(EditorSetup, FollowOsReadsAppsUseLightTheme) {
    constexpr wchar_t kPersonalize[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPersonalize, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegDeleteValueW(key, L"AppsUseLightTheme");
    EXPECT_FALSE(SystemPrefersDark()) << "a missing value is light";
    const DWORD dark = 0;
    ::RegSetValueExW(key, L"AppsUseLightTheme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dark), sizeof(dark));
    EXPECT_TRUE(SystemPrefersDark());

    Create(u"x");
    app_.config.ui.theme = Theme::FollowOs;
    ApplyTheme(app_);
    EXPECT_TRUE(app_.theme.isDark);
    EXPECT_EQ(Sci(SCI_STYLEGETBACK, STYLE_DEFAULT), 0x1E1E1E);
    // The system switch is ignored unless following it.
    app_.config.ui.theme = Theme::Light;
    ApplyTheme(app_);
    EXPECT_FALSE(OnThemeSettingChange(app_, reinterpret_cast<LPARAM>(L"ImmersiveColorSet")));
    EXPECT_EQ(Sci(SCI_STYLEGETBACK, STYLE_DEFAULT), 0xFFFFFF);
    app_.config.ui.theme = Theme::FollowOs;
    EXPECT_FALSE(OnThemeSettingChange(app_, reinterpret_cast<LPARAM>(L"Environment")));
    EXPECT_TRUE(OnThemeSettingChange(app_, reinterpret_cast<LPARAM>(L"ImmersiveColorSet")));
    EXPECT_EQ(Sci(SCI_STYLEGETBACK, STYLE_DEFAULT), 0x1E1E1E);

    ::RegDeleteValueW(key, L"AppsUseLightTheme");
    ::RegCloseKey(key);
}

TEST_F(EditorSetup, WordWrapRecreationKeepsTextSelectionAndMarks) {
    // A NUL character and a character outside the BMP must survive the copy.
    std::u16string text = u"first line\r\nsecond \u00e9\U0001F600 line\r\nthird";
    text += u'\0';
    text += u"line\r\nfourth";
    HWND old = Create(text);
    app_.editor.text.history.marks = {0, 1, 0, 1};
    RefreshLineNumbers(app_.editor);
    // A selection made from right to left keeps its direction.
    Sci(SCI_SETSEL, 21, 14);
    app_.editor.sci.SetReadOnly(true);

    SetWordWrap(app_, WordWrap::NoWrap);
    HWND editor = app_.editor.hwnd;
    ASSERT_NE(editor, old);
    EXPECT_FALSE(::IsWindow(old));
    EXPECT_EQ(::GetParent(editor), app_.panel);
    EXPECT_NE(::GetWindowLongPtrW(editor, GWL_STYLE) & WS_HSCROLL, 0);
    EXPECT_NE(::GetWindowLongPtrW(editor, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(Sci(SCI_GETWRAPMODE), SC_WRAP_NONE);
    EXPECT_EQ(Sci(SCI_GETHSCROLLBAR), 1);
    EXPECT_EQ(GetEditorText(app_.editor.sci), text);
    EXPECT_EQ(Sci(SCI_GETANCHOR), 21);
    EXPECT_EQ(Sci(SCI_GETCURRENTPOS), 14);
    EXPECT_EQ(app_.editor.text.history.marks, (std::vector<std::uint8_t> {0, 1, 0, 1}));
    EXPECT_EQ(Sci(SCI_MARGINGETSTYLE, 1), 40);
    EXPECT_EQ(Sci(SCI_MARGINGETSTYLE, 3), 40);
    EXPECT_TRUE(app_.editor.sci.ReadOnly());
    EXPECT_EQ(Sci(SCI_GETCARETSTYLE), CARETSTYLE_LINE);
    EXPECT_EQ(Sci(SCI_GETUNDOCOLLECTION), 0);
    EXPECT_EQ(app_.config.editor.wordWrap, WordWrap::NoWrap);
    EXPECT_TRUE(dir_.Exists("config.ini")) << "the wrap setting is saved";

    // Unchanged: nothing happens.
    SetWordWrap(app_, WordWrap::NoWrap);
    EXPECT_EQ(app_.editor.hwnd, editor);

    SetTheme(app_, true);
    SetWordWrap(app_, WordWrap::Wrap);
    EXPECT_EQ(Sci(SCI_GETWRAPMODE), SC_WRAP_WORD);
    EXPECT_EQ(::GetWindowLongPtrW(app_.editor.hwnd, GWL_STYLE) & WS_HSCROLL, 0);
    EXPECT_EQ(Sci(SCI_STYLEGETBACK, STYLE_DEFAULT), 0x1E1E1E) << "the theme survives";
    EXPECT_EQ(GetEditorText(app_.editor.sci), text);
}

TEST_F(EditorSetup, SizeStepAndPitchRebuildTheFont) {
    Create(u"x");
    const int average = app_.editor.look.averageCharWidth;
    SetSizeStep(app_, 5, false);
    EXPECT_EQ(Sci(SCI_STYLEGETSIZE, STYLE_DEFAULT), 16);
    EXPECT_EQ(Sci(SCI_STYLEGETSIZE, STYLE_LINENUMBER), 16);
    EXPECT_EQ(app_.editor.sizeStep, 5);
    EXPECT_EQ(app_.config.editor.fontSizeStep, 0) << "a zoom is not saved";
    EXPECT_GT(app_.editor.look.averageCharWidth, average);
    EXPECT_EQ(Sci(SCI_GETMARGINWIDTHN, 0), 8 + 3 * app_.editor.look.averageCharWidth);

    SetSizeStep(app_, 99, true);
    EXPECT_EQ(Sci(SCI_STYLEGETSIZE, STYLE_DEFAULT), 31);
    EXPECT_EQ(app_.config.editor.fontSizeStep, 20);
    EXPECT_TRUE(dir_.Exists("config.ini"));

    SetFontPitch(app_, true);
    const std::string face = StyleFont(STYLE_DEFAULT);
    EXPECT_TRUE(face == "BIZ UDGothic" || face == "MS Gothic") << face;
    SetFontPitch(app_, false);
    EXPECT_EQ(StyleFont(STYLE_DEFAULT), "Yu Gothic UI");
}

TEST_F(EditorSetup, FoldMarginLooksTheSameInBothThemes) {
    app_.config.editor.memoFold = true;
    Create(NumberedLines(3));
    EXPECT_EQ(Sci(SCI_GETMARGINTYPEN, 1), SC_MARGIN_COLOUR);
    EXPECT_EQ(Sci(SCI_GETMARGINWIDTHN, 1), 4);
    EXPECT_EQ(Sci(SCI_GETMARGINBACKN, 1), 0xF2EEEC);
    EXPECT_EQ(Sci(SCI_GETMARGINTYPEN, 2), SC_MARGIN_SYMBOL);
    EXPECT_EQ(Sci(SCI_GETMARGINWIDTHN, 2), 13);
    EXPECT_EQ(static_cast<unsigned>(Sci(SCI_GETMARGINMASKN, 2)), static_cast<unsigned>(SC_MASK_FOLDERS));
    EXPECT_EQ(Sci(SCI_GETMARGINSENSITIVEN, 2), 1);
    EXPECT_EQ(Sci(SCI_GETAUTOMATICFOLD), 0);
    EXPECT_EQ(Sci(SCI_MARKERSYMBOLDEFINED, SC_MARKNUM_FOLDER), SC_MARK_RGBAIMAGE);
    EXPECT_EQ(Sci(SCI_MARKERSYMBOLDEFINED, SC_MARKNUM_FOLDEROPEN), SC_MARK_RGBAIMAGE);
    EXPECT_EQ(Sci(SCI_MARKERSYMBOLDEFINED, SC_MARKNUM_FOLDERSUB), SC_MARK_EMPTY);
    EXPECT_EQ(Sci(SCI_STYLEGETFORE, STYLE_FOLDDISPLAYTEXT), 0x645850);
    SetTheme(app_, true);
    EXPECT_EQ(Sci(SCI_GETMARGINBACKN, 2), 0x36302E);
    EXPECT_EQ(Sci(SCI_STYLEGETBACK, STYLE_FOLDDISPLAYTEXT), 0x1E1E1E);

    app_.config.editor.memoFold = false;
    ApplyMargins(app_.editor);
    EXPECT_EQ(Sci(SCI_GETMARGINWIDTHN, 1), 0);
    EXPECT_EQ(Sci(SCI_GETMARGINWIDTHN, 2), 0);
    EXPECT_EQ(Sci(SCI_GETMARGINSENSITIVEN, 2), 0);
}

TEST_F(EditorSetup, SelectionSwitchesTheBandOff) {
    Create(NumberedLines(3));
    EXPECT_EQ(Sci(SCI_GETCARETLINEVISIBLE), 1);
    Sci(SCI_SETSEL, 0, 4);
    UpdateCurrentLineCues(app_.editor);
    EXPECT_EQ(Sci(SCI_GETCARETLINEVISIBLE), 0);
    Sci(SCI_SETEMPTYSELECTION, 2);
    UpdateCurrentLineCues(app_.editor);
    EXPECT_EQ(Sci(SCI_GETCARETLINEVISIBLE), 1);
    SetShowHighlight(app_, false);
    EXPECT_EQ(Sci(SCI_GETCARETLINEVISIBLE), 0);
}

TEST_F(EditorSetup, InsetStripsShrinkTheClientAndAnswerHitTests) {
    HWND editor = Create(NumberedLines(200));
    ShowAndFocus();
    RECT window {};
    ::GetWindowRect(editor, &window);
    RECT client {};
    ::GetClientRect(editor, &client);
    POINT origin {0, 0};
    ::ClientToScreen(editor, &origin);
    EXPECT_EQ(origin.y - window.top, 8);
    EXPECT_EQ((window.bottom - window.top) - client.bottom, 8 + 10);
    ASSERT_NE(::GetWindowLongPtrW(editor, GWL_STYLE) & WS_VSCROLL, 0) << "200 lines need the scroll bar";

    const auto hit = [&](int x, int y) {
        return ::SendMessageW(editor, WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y));
    };
    EXPECT_EQ(hit(50, 3), HTCLIENT);
    EXPECT_EQ(hit(50, (window.bottom - window.top) - 3), HTCLIENT);
    EXPECT_EQ(hit(client.right + 3, 3), HTVSCROLL);
    EXPECT_EQ(hit(client.right + 3, (window.bottom - window.top) - 3), HTVSCROLL);

    // A press in the bottom strip's scroll column goes to the end of the document.
    ::SendMessageW(editor, WM_NCLBUTTONDOWN, HTVSCROLL,
                   MAKELPARAM(window.left + client.right + 3, window.bottom - 3));
    EXPECT_GT(Sci(SCI_GETFIRSTVISIBLELINE), 150);
    ::SendMessageW(editor, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(window.left + client.right + 3, window.top + 3));
    EXPECT_EQ(Sci(SCI_GETFIRSTVISIBLELINE), 0);
}

TEST_F(EditorSetup, WithoutWrapThereIsNoBottomStrip) {
    app_.config.editor.wordWrap = WordWrap::NoWrap;
    HWND editor = Create(NumberedLines(200), WordWrap::NoWrap);
    ShowAndFocus();
    RECT window {};
    ::GetWindowRect(editor, &window);
    RECT client {};
    ::GetClientRect(editor, &client);
    const bool horizontalBar = (::GetWindowLongPtrW(editor, GWL_STYLE) & WS_HSCROLL) != 0;
    ASSERT_TRUE(horizontalBar) << "the default scroll width exceeds the window";
    EXPECT_EQ((window.bottom - window.top) - client.bottom, 8 + ::GetSystemMetrics(SM_CYHSCROLL));
}

TEST_F(EditorSetup, LayoutKeepsTheFirstVisibleLine) {
    Create(NumberedLines(300));
    Sci(SCI_GOTOLINE, 125);
    Sci(SCI_SETFIRSTVISIBLELINE, 120);
    LayoutEditor(app_.editor, RECT {4, 30, 636, 300});
    EXPECT_EQ(Sci(SCI_GETFIRSTVISIBLELINE), 120);
    RECT window {};
    ::GetWindowRect(app_.editor.hwnd, &window);
    EXPECT_EQ(window.bottom - window.top, 300 - 30 - 24);

    // A resize loop: the anchor's line comes back after the loop, and the
    // caret, out of view, does not pull the view to itself.
    Sci(SCI_SETEMPTYSELECTION, 0);
    app_.shell.inSizeMove = true;
    BeginResizeAnchor(app_.editor);
    LayoutEditor(app_.editor, RECT {4, 30, 500, 300});
    LayoutEditor(app_.editor, RECT {4, 30, 400, 300});
    EndResizeAnchor(app_.editor);
    app_.shell.inSizeMove = false;
    LayoutEditor(app_.editor, RECT {4, 30, 400, 300});
    EXPECT_EQ(Sci(SCI_GETFIRSTVISIBLELINE), 120);
    EXPECT_FALSE(app_.editor.look.anchor.restorePending);
}

TEST_F(EditorSetup, OpeningTheInputMethodChangesTheBandColour) {
    app_.config.editor.imeOnHighlightDark = u"255,0,0";
    HWND editor = Create(u"x");
    ShowAndFocus();
    HIMC context = ::ImmGetContext(editor);
    ASSERT_NE(context, nullptr);
    // The editor hears of it through WM_IME_NOTIFY (IMN_SETOPENSTATUS).
    ::ImmSetOpenStatus(context, TRUE);
    Pump();
    if (!::ImmGetOpenStatus(context)) {
        ::ImmReleaseContext(editor, context);
        GTEST_SKIP() << "this system keeps the input method closed";
    }
    EXPECT_TRUE(app_.editor.look.imeOpen);
    EXPECT_EQ(Sci(SCI_GETCARETLINEBACK), 0xD2ECFF);
    // The dark key applies in the dark theme only.
    SetTheme(app_, true);
    EXPECT_EQ(Sci(SCI_GETCARETLINEBACK), 0x0000FF);
    ::ImmSetOpenStatus(context, FALSE);
    Pump();
    EXPECT_FALSE(app_.editor.look.imeOpen);
    EXPECT_EQ(Sci(SCI_GETCARETLINEBACK), 0x6C4E3E);
    ::ImmReleaseContext(editor, context);
}

// Reads a pixel of the editor's client area as painted on the screen.
COLORREF PixelAt(HWND editor, int x, int y) {
    HDC dc = ::GetDC(editor);
    const COLORREF colour = ::GetPixel(dc, x, y);
    ::ReleaseDC(editor, dc);
    return colour;
}

TEST_F(EditorSetup, UnderlineIsPaintedAcrossTheWholeWidth) {
    app_.config.editor.showCurrentLineUnderline = true;
    app_.config.editor.showCurrentLineHighlight = false;
    HWND editor = Create(NumberedLines(5));
    ShowAndFocus();
    Sci(SCI_GOTOPOS, Sci(SCI_POSITIONFROMLINE, 2));
    UpdateCurrentLineCues(app_.editor);
    ::UpdateWindow(editor);
    const std::optional<int> y = CurrentUnderlineY(app_.editor, editor);
    ASSERT_TRUE(y.has_value());
    EXPECT_EQ(app_.editor.look.underlineY, *y);
    RECT client {};
    ::GetClientRect(editor, &client);
    for (const LONG x : {1L, 10L, client.right / 2, client.right - 2}) {
        EXPECT_EQ(PixelAt(editor, x, *y), 0xC4C4C4u) << x;
    }
    // A selection takes it away.
    Sci(SCI_SETSEL, 0, 3);
    UpdateCurrentLineCues(app_.editor);
    ::UpdateWindow(editor);
    EXPECT_EQ(app_.editor.look.underlineY, -1);
    EXPECT_NE(PixelAt(editor, client.right / 2, *y), 0xC4C4C4u);
}

TEST_F(EditorSetup, DosCaretInvertsTheEndOfTheTextAndGoesWithTheFocus) {
    app_.config.editor.caretStyle = CaretStyle::Dos;
    app_.config.editor.showCurrentLineHighlight = false;
    app_.config.editor.showLineNumbers = false;
    HWND editor = Create(u"abc");
    ShowAndFocus();
    ASSERT_EQ(::GetFocus(), editor);
    Sci(SCI_GOTOPOS, 3);
    UpdateCurrentLineCues(app_.editor);
    ::UpdateWindow(editor);
    ASSERT_TRUE(app_.editor.look.dosCaret.has_value());
    const Rect block = *app_.editor.look.dosCaret;
    EXPECT_EQ(block.Width(), app_.editor.look.averageCharWidth) << "no character to measure at the end";
    EXPECT_EQ(PixelAt(editor, block.left + 1, block.bottom - 1), 0x000000u) << "white inverted";

    // Onto a character: its own width, and the old block is gone.
    Sci(SCI_GOTOPOS, 1);
    UpdateCurrentLineCues(app_.editor);
    ::UpdateWindow(editor);
    ASSERT_TRUE(app_.editor.look.dosCaret.has_value());
    const int characterWidth = static_cast<int>(Sci(SCI_POINTXFROMPOSITION, 0, 2) - Sci(SCI_POINTXFROMPOSITION, 0, 1));
    EXPECT_EQ(app_.editor.look.dosCaret->Width(), characterWidth);
    EXPECT_EQ(PixelAt(editor, block.left + 1, block.bottom - 1), 0xFFFFFFu);
    Sci(SCI_GOTOPOS, 3);
    UpdateCurrentLineCues(app_.editor);
    ::UpdateWindow(editor);

    ::SetFocus(app_.panel);
    Pump();
    ::UpdateWindow(editor);
    EXPECT_FALSE(app_.editor.look.dosCaret.has_value());
    EXPECT_EQ(PixelAt(editor, block.left + 1, block.bottom - 1), 0xFFFFFFu);
}

}  // namespace
}  // namespace quillpane
