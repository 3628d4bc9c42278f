#include "app/dialog_look_win.h"

#include "app/theme_win.h"
#include "platform/dpi.h"
#include "platform/system_calls_win.h"
#include "search/search_engine.h"

#include <shellscalingapi.h>

#include <algorithm>
#include <initializer_list>
#include <string>

namespace quillpane {
namespace {

constexpr DWORD kDwmCornerPreference = 33;
constexpr DWORD kDwmCornerRound = 2;

// Whether the font the system picked carries the face asked for.
bool FaceIs(HFONT font, const wchar_t* face) {
    HDC dc = ::GetDC(nullptr);
    wchar_t actual[LF_FACESIZE] {};
    {
        SelectGuard select(dc, font);
        ::GetTextFaceW(dc, LF_FACESIZE, actual);
    }
    ::ReleaseDC(nullptr, dc);
    return ::lstrcmpiW(actual, face) == 0;
}

// The glyph as strokes, for systems without the icon font.
void DrawGlyphLines(HDC dc, const RECT& rect, wchar_t glyph, Colour colour, int dpi) {
    const int cx = (rect.left + rect.right) / 2;
    const int cy = (rect.top + rect.bottom) / 2;
    const int r = Scale(5, dpi);
    UniquePen pen(::CreatePen(PS_SOLID, std::max(1, Scale(1, dpi)), Ref(colour)));
    SelectGuard selectPen(dc, pen.Get());
    SelectGuard selectBrush(dc, ::GetStockObject(NULL_BRUSH));
    const auto line = [dc](int x1, int y1, int x2, int y2) {
        ::MoveToEx(dc, x1, y1, nullptr);
        ::LineTo(dc, x2, y2);
    };
    const int h = r / 2 + 1;
    switch (glyph) {
    case kGlyphDown:
        line(cx, cy - r, cx, cy + r);
        line(cx - r, cy, cx, cy + r);
        line(cx + r, cy, cx, cy + r);
        break;
    case kGlyphUp:
        line(cx, cy + r, cx, cy - r);
        line(cx - r, cy, cx, cy - r);
        line(cx + r, cy, cx, cy - r);
        break;
    case kGlyphChevronDown:
        line(cx - r, cy - h, cx, cy + h);
        line(cx + r, cy - h, cx, cy + h);
        break;
    case kGlyphChevronUp:
        line(cx - r, cy + h, cx, cy - h);
        line(cx + r, cy + h, cx, cy - h);
        break;
    case kGlyphSearch: {
        const int ring = r * 2 / 3 + 1;
        ::Ellipse(dc, cx - ring - 1, cy - ring - 1, cx + ring - 1, cy + ring - 1);
        line(cx + ring / 2, cy + ring / 2, cx + r, cy + r);
        break;
    }
    case kGlyphShare:
        line(cx - r, cy - 1, cx - r, cy + r);
        line(cx - r, cy + r, cx + r, cy + r);
        line(cx + r, cy + r, cx + r, cy - 2);
        line(cx, cy + h, cx, cy - r);
        line(cx - h, cy - r + h, cx, cy - r);
        line(cx + h, cy - r + h, cx, cy - r);
        break;
    case kGlyphOpenWith:
        line(cx - r, cy - r + 2, cx - r, cy + r);
        line(cx - r, cy + r, cx + r - 2, cy + r);
        line(cx + r - 2, cy + r, cx + r - 2, cy + 1);
        line(cx - 1, cy + 1, cx + r, cy - r);
        line(cx + r - h - 1, cy - r, cx + r, cy - r);
        line(cx + r, cy - r, cx + r, cy - r + h + 1);
        break;
    case kGlyphPin:
    case kGlyphPinned: {
        line(cx - r, cy + r, cx, cy);
        const int head = h + 1;
        UniqueBrush fill(glyph == kGlyphPinned ? ::CreateSolidBrush(Ref(colour)) : nullptr);
        SelectGuard selectFill(dc, fill ? static_cast<HGDIOBJ>(fill.Get()) : ::GetStockObject(NULL_BRUSH));
        ::Ellipse(dc, cx + h - head, cy - h - head, cx + h + head + 1, cy - h + head + 1);
        break;
    }
    case kGlyphSidebar:
        ::Rectangle(dc, cx - r, cy - r + 1, cx + r + 1, cy + r);
        line(cx + h, cy - r + 1, cx + h, cy + r);
        break;
    case kGlyphTranslucent: {
        ::Ellipse(dc, cx - r, cy - r, cx + r + 1, cy + r + 1);
        UniqueBrush fill(::CreateSolidBrush(Ref(colour)));
        SelectGuard selectFill(dc, fill.Get());
        ::Pie(dc, cx - r, cy - r, cx + r + 1, cy + r + 1, cx, cy + r, cx, cy - r);
        break;
    }
    case kGlyphMicrophone:
        ::RoundRect(dc, cx - h, cy - r, cx + h + 1, cy + h, h * 2, h * 2);
        ::Arc(dc, cx - r + 1, cy - r, cx + r, cy + h + 2, cx + r, cy, cx - r, cy);
        line(cx, cy + h + 2, cx, cy + r + 1);
        line(cx - h, cy + r + 1, cx + h + 1, cy + r + 1);
        break;
    default:
        line(cx - r + 1, cy - r + 1, cx + r, cy + r);
        line(cx + r - 1, cy - r + 1, cx - r, cy + r);
        break;
    }
}

}  // namespace

Rect WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info {};
    info.cbSize = sizeof(info);
    if (monitor == nullptr || !::GetMonitorInfoW(monitor, &info)) {
        RECT work {};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return FromRECT(work);
    }
    return FromRECT(info.rcWork);
}

int MonitorDpi(HMONITOR monitor) {
    UINT x = 0;
    UINT y = 0;
    if (monitor != nullptr && SUCCEEDED(::GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && x != 0) {
        return static_cast<int>(x);
    }
    return kDefaultDpi;
}

UniqueFont MakeUiFont(int height, int weight, const wchar_t* face) {
    return UniqueFont(::CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
}

int TextWidth(HFONT font, std::u16string_view text) {
    HDC dc = ::GetDC(nullptr);
    SIZE size {};
    {
        SelectGuard select(dc, font);
        ::GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()),
                                &size);
    }
    ::ReleaseDC(nullptr, dc);
    return size.cx;
}

GlyphFont MakeGlyphFont(int height) {
    GlyphFont glyphs;
    // The icon font of Windows 11, else its Windows 10 forerunner with the
    // same code points; without either the glyphs are drawn as strokes.
    for (const wchar_t* face : {L"Segoe Fluent Icons", L"Segoe MDL2 Assets"}) {
        glyphs.font = MakeUiFont(height, FW_NORMAL, face);
        if (glyphs.font && FaceIs(glyphs.font.Get(), face)) {
            glyphs.found = true;
            break;
        }
    }
    return glyphs;
}

void FillSolid(HDC dc, const RECT& rect, Colour colour) {
    ::SetBkColor(dc, Ref(colour));
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void DrawGlyph(HDC dc, const RECT& rect, wchar_t glyph, Colour colour, const GlyphFont& font, int dpi) {
    if (!font.found) {
        DrawGlyphLines(dc, rect, glyph, colour, dpi);
        return;
    }
    SelectGuard select(dc, font.font.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Ref(colour));
    RECT area = rect;
    ::DrawTextW(dc, &glyph, 1, &area, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

void DrawBoxFrame(HDC dc, const Rect& frame, bool focused, Colour border, Colour fill, Colour accent, int dpi) {
    UniquePen pen(::CreatePen(PS_SOLID, 1, Ref(border)));
    UniqueBrush brush(::CreateSolidBrush(Ref(fill)));
    {
        SelectGuard selectPen(dc, pen.Get());
        SelectGuard selectBrush(dc, brush.Get());
        const int corner = Scale(8, dpi);
        ::RoundRect(dc, frame.left, frame.top, frame.right, frame.bottom, corner, corner);
    }
    const int inset = Scale(4, dpi);
    const int bar = focused ? Scale(2, dpi) : std::max(1, Scale(1, dpi));
    FillSolid(dc, RECT {frame.left + inset, frame.bottom - bar, frame.right - inset, frame.bottom}, accent);
}

bool PasteFirstLine(HWND box) {
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT) || !::OpenClipboard(box)) return false;
    std::u16string line;
    bool read = false;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const char16_t*>(::GlobalLock(data))) {
            std::u16string_view all(text, ::GlobalSize(data) / sizeof(char16_t));
            line = std::u16string(FirstLineOf(all.substr(0, all.find(u'\0'))));
            read = true;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    if (read) ::SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(line.c_str()));
    return read;
}

void PaintCueText(HWND box, HFONT font, Colour colour, std::u16string_view cue) {
    if (::GetWindowTextLengthW(box) != 0) return;
    RECT text {};
    ::SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    HDC dc = ::GetDC(box);
    {
        SelectGuard select(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, Ref(colour));
        ::DrawTextW(dc, reinterpret_cast<const wchar_t*>(cue.data()), static_cast<int>(cue.size()), &text,
                    DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_LEFT);
    }
    ::ReleaseDC(box, dc);
}

void StyleDialogWindow(HWND window, bool dark) {
    if (const auto set = System().dwmSetWindowAttribute) {
        const DWORD corner = kDwmCornerRound;
        set(window, kDwmCornerPreference, &corner, sizeof(corner));
    }
    ThemeToolWindow(window, dark);
}

}  // namespace quillpane
