// The settings window as created: in every language, at 96 and 144 DPI, no
// text is cut and no two controls overlap; Cancel leaves the copy alone.
#include "app/settings_controls_win.h"
#include "app/settings_window_win.h"
#include "i18n/language.h"
#include "platform/dpi.h"
#include "platform/wide_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace quillpane {
namespace {

struct Inspection {
    std::vector<std::string> problems;
};
// A timer procedure carries no context: the inspection of the running test.
Inspection* inspection = nullptr;

std::wstring TextOf(HWND window) {
    wchar_t text[512] {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

std::string Name(HWND window) {
    const std::wstring text = TextOf(window);
    return std::to_string(::GetDlgCtrlID(window)) + " '" + std::string(text.begin(), text.end()) + "'";
}

HFONT FontOf(HWND window) {
    return reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
}

int Width(HWND window, const std::wstring& text) {
    return TextWidth(FontOf(window), FromWide(text));
}

RECT RectIn(HWND window, HWND parent) {
    RECT rect {};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool IsControl(HWND window, SettingsControl control) {
    return ::GetDlgCtrlID(window) == SettingsControlId(control);
}

bool IsCheckBox(HWND window) {
    constexpr SettingsControl kChecks[] = {
        SettingsControl::LineNumbers,  SettingsControl::Highlight, SettingsControl::Underline,
        SettingsControl::Sidebar,      SettingsControl::FoldMemos, SettingsControl::CloseOnFocusLost,
        SettingsControl::RunAtStartup, SettingsControl::PhoneSync, SettingsControl::NoHotkey,
    };
    for (const SettingsControl c : kChecks) {
        if (IsControl(window, c)) return true;
    }
    return false;
}

// What a control needs for its text, against what it was given.
void CheckFits(HWND window, int dpi, std::vector<std::string>& problems) {
    wchar_t className[32] {};
    ::GetClassNameW(window, className, 32);
    const std::wstring kind(className);
    RECT rect {};
    ::GetClientRect(window, &rect);
    const std::wstring text = TextOf(window);
    const auto report = [&](const char* what) {
        problems.push_back(Name(window) + ": " + what + " at " + std::to_string(dpi) + " DPI");
    };
    if (kind == L"Static" || kind == L"STATIC") {
        if (WrappedTextHeight(FontOf(window), FromWide(text), rect.right) > rect.bottom) report("label cut");
        const bool singleLine = (::GetWindowLongW(window, GWL_STYLE) & SS_RIGHT) != 0;
        if (singleLine && Width(window, text) > rect.right) report("value cut");
    } else if (kind == L"Button" || kind == L"BUTTON") {
        if (IsControl(window, SettingsControl::Hotkey)) return;  // ends in an ellipsis by design
        if (IsCheckBox(window)) {
            const int textWidth = rect.right - CheckTextOffset(dpi);
            if (Scale(4, dpi) + WrappedTextHeight(FontOf(window), FromWide(text), textWidth) > rect.bottom) {
                report("check box text cut");
            }
        } else if (Width(window, text) + 2 * Scale(8, dpi) > rect.right) {
            report("button text cut");
        }
    } else if (kind == L"ComboBox" || kind == L"COMBOBOX") {
        const int room = rect.right - ComboTextLeft(dpi) - ComboArrowArea(dpi);
        const int count = static_cast<int>(::SendMessageW(window, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t entry[128] {};
            ::SendMessageW(window, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
            if (Width(window, entry) > room) report("list entry cut");
        }
    }
}

BOOL CALLBACK CollectChild(HWND window, LPARAM lParam) {
    if (::IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    return TRUE;
}

void InspectAt(HWND window, int dpi, std::vector<std::string>& problems) {
    HWND body = ::FindWindowExW(window, nullptr, kSettingsBodyClassName, nullptr);
    std::vector<HWND> children;
    ::EnumChildWindows(body, CollectChild, reinterpret_cast<LPARAM>(&children));
    RECT bodyRect {};
    ::GetClientRect(body, &bodyRect);
    const std::string at = " at " + std::to_string(dpi) + " DPI";
    for (std::size_t i = 0; i < children.size(); ++i) {
        HWND child = children[i];
        if (::GetParent(child) != body) continue;  // a combo's own parts
        CheckFits(child, dpi, problems);
        const RECT a = RectIn(child, body);
        if (a.left < 0 || a.right > bodyRect.right) problems.push_back(Name(child) + ": outside the body" + at);
        for (std::size_t j = i + 1; j < children.size(); ++j) {
            if (::GetParent(children[j]) != body) continue;
            const RECT b = RectIn(children[j], body);
            RECT overlap {};
            if (::IntersectRect(&overlap, &a, &b)) {
                problems.push_back(Name(child) + " overlaps " + Name(children[j]) + at);
            }
        }
    }
    for (const SettingsControl push : {SettingsControl::Ok, SettingsControl::Cancel}) {
        CheckFits(::GetDlgItem(window, SettingsControlId(push)), dpi, problems);
    }
}

// At the DPI it opened with (96 here), then after a move to a 144 DPI monitor.
void CALLBACK Inspect(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    HWND window = FindSettingsWindow();
    if (window == nullptr || inspection == nullptr) return;
    InspectAt(window, kDefaultDpi, inspection->problems);
    constexpr int kHighDpi = 144;
    RECT rect {};
    ::GetWindowRect(window, &rect);
    RECT suggested {rect.left, rect.top, rect.left + Scale(rect.right - rect.left, kHighDpi),
                    rect.top + Scale(rect.bottom - rect.top, kHighDpi)};
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(kHighDpi, kHighDpi), reinterpret_cast<LPARAM>(&suggested));
    InspectAt(window, kHighDpi, inspection->problems);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
}

TEST(SettingsWindowWin, NothingIsCutInAnyLanguageAt96And144Dpi) {
    for (int language = 0; language < kLanguageCount; ++language) {
        Inspection found;
        inspection = &found;
        SettingsCopy copy = CopyOfSettings(Config {}, 0);
        copy.language = u"de";
        const SettingsCopy before = copy;
        SettingsRequest request;
        request.instance = ::GetModuleHandleW(nullptr);
        request.language = language;
        ::SetTimer(nullptr, 0, 10, Inspect);
        EXPECT_FALSE(OpenSettings(request, &copy));
        EXPECT_EQ(copy, before) << "a closed window changed the copy";
        inspection = nullptr;
        for (const std::string& problem : found.problems) ADD_FAILURE() << "language " << language << ": " << problem;
    }
}

}  // namespace
}  // namespace quillpane
