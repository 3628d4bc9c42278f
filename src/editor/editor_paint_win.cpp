// What the program paints on the editor itself: the current-line underline,
// the inverted Dos caret, the inset strips, through an off-screen buffer.
#include "editor/editor_paint_win.h"

#include "editor/editor_window_win.h"
#include "editor/editor_host_win.h"

#include <Scintilla.h>

namespace quillpane {
namespace {

Size ClientSizeOf(HWND editor) {
    RECT client {};
    ::GetClientRect(editor, &client);
    return {client.right - client.left, client.bottom - client.top};
}

RECT ToRect(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

bool HasFocus(HWND editor) {
    return ::GetFocus() == editor;
}

int CaretPosition(const EditorWindow& ed) {
    return static_cast<int>(ed.sci.CurrentPos());
}

int CaretTextHeight(const EditorWindow& ed, int caret) {
    return static_cast<int>(ed.sci.TextHeight(ed.sci.LineFromPosition(caret)));
}

Point PointOf(const EditorWindow& ed, int position) {
    return {static_cast<int>(ed.sci.PointXFromPosition(position)),
            static_cast<int>(ed.sci.PointYFromPosition(position))};
}

bool EnsureBuffer(PaintBuffer& buffer, HDC screen, Size size) {
    if (buffer.dc && buffer.size == size) return true;
    buffer.Release();
    UniqueHdc dc(::CreateCompatibleDC(screen));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, size.width, size.height));
    if (!dc.Get() || !bitmap) return false;
    buffer.previousBitmap = ::SelectObject(dc.Get(), bitmap.Get());
    buffer.dc = std::move(dc);
    buffer.bitmap = std::move(bitmap);
    buffer.size = size;
    return true;
}

HPEN UnderlinePen(EditorWindow& ed) {
    EditorLook& look = ed.look;
    const Colour colour = CurrentLineCueColours(IsDark(ed), look.imeOpen, SettingsOf(ed)).underline;
    if (!look.underlinePen || look.underlinePenColour != colour) {
        look.underlinePen.Reset(::CreatePen(PS_SOLID, 1, colour));
        look.underlinePenColour = colour;
    }
    return look.underlinePen.Get();
}

void DrawUnderline(HDC dc, HPEN pen, int y, int width) {
    if (pen == nullptr) return;
    SelectGuard select(dc, pen);
    ::MoveToEx(dc, 0, y, nullptr);
    ::LineTo(dc, width, y);
}

void InvalidateRows(HWND editor, Span span) {
    if (span.Empty()) return;
    const Size client = ClientSizeOf(editor);
    const RECT rows {0, span.top, client.width, span.bottom};
    ::InvalidateRect(editor, &rows, FALSE);
}

void InvalidateBlock(HWND editor, const std::optional<Rect>& block) {
    if (!block) return;
    const RECT r = ToRect(*block);
    ::InvalidateRect(editor, &r, FALSE);
}

bool Contains(const RECT& outer, const Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

void Fill(HDC dc, const Rect& rect, HBRUSH brush) {
    if (rect.Width() <= 0 || rect.Height() <= 0 || brush == nullptr) return;
    const RECT r = ToRect(rect);
    ::FillRect(dc, &r, brush);
}

// The scroll-bar column of a strip repeats one pixel row of the scroll bar.
void StretchRow(HDC dc, const Rect& target, int sourceRow) {
    if (target.Width() <= 0 || target.Height() <= 0) return;
    ::StretchBlt(dc, target.left, target.top, target.Width(), target.Height(), dc, target.left, sourceRow,
                 target.Width(), 1, SRCCOPY);
}

}  // namespace

void PaintBuffer::Release() {
    if (dc && previousBitmap != nullptr) ::SelectObject(dc.Get(), previousBitmap);
    previousBitmap = nullptr;
    bitmap.Reset();
    dc.Reset();
    size = {};
}

bool ProgramPaints(const EditorWindow& ed) {
    return SettingsOf(ed).showCurrentLineUnderline || SettingsOf(ed).caretStyle == CaretStyle::Dos;
}

std::optional<int> CurrentUnderlineY(const EditorWindow& ed, HWND editor) {
    const EditorLook& look = ed.look;
    const bool empty = ed.sci.SelectionEmpty();
    if (!UnderlineWanted(SettingsOf(ed).showCurrentLineUnderline, empty, look.underlineSuppressed)) return std::nullopt;
    const int caret = CaretPosition(ed);
    const int y = static_cast<int>(ed.sci.PointYFromPosition(caret));
    return UnderlineY(y, CaretTextHeight(ed, caret), ClientSizeOf(editor).height, WindowDpiOf(editor));
}

std::optional<Rect> CurrentDosCaret(const EditorWindow& ed, HWND editor) {
    const EditorLook& look = ed.look;
    if (SettingsOf(ed).caretStyle != CaretStyle::Dos || !HasFocus(editor)) return std::nullopt;
    if (!ed.sci.SelectionEmpty()) return std::nullopt;
    const int caret = CaretPosition(ed);
    DosCaretInput input;
    input.caret = PointOf(ed, caret);
    input.textHeight = CaretTextHeight(ed, caret);
    const int next = static_cast<int>(ed.sci.PositionAfter(caret));
    if (next > caret) input.next = PointOf(ed, next);
    input.averageCharWidth = look.averageCharWidth;
    input.client = ClientSizeOf(editor);
    input.dpi = WindowDpiOf(editor);
    return DosCaretRect(input);
}

void PaintEditor(EditorWindow& ed, HWND editor) {
    EditorLook& look = ed.look;
    PAINTSTRUCT paint {};
    HDC screen = ::BeginPaint(editor, &paint);
    const Size client = ClientSizeOf(editor);
    std::optional<int> underline;
    // What this paint could not reach: the old cues outside the update region.
    std::optional<Rect> staleCaret;
    int staleUnderline = -1;
    if (screen != nullptr && client.width > 0 && client.height > 0 && EnsureBuffer(look.buffer, screen, client)) {
        HDC buffer = look.buffer.dc.Get();
        const RECT& dirty = paint.rcPaint;
        ::IntersectClipRect(buffer, dirty.left, dirty.top, dirty.right, dirty.bottom);
        ::SendMessageW(editor, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(buffer), PRF_CLIENT);
        ::SelectClipRgn(buffer, nullptr);

        underline = CurrentUnderlineY(ed, editor);
        if (underline) DrawUnderline(buffer, UnderlinePen(ed), *underline, client.width);
        if (look.underlineY >= 0 && look.underlineY != underline.value_or(-1) &&
            !Contains(dirty, Rect {0, look.underlineY, client.width, look.underlineY + 1})) {
            staleUnderline = look.underlineY;
        }
        look.underlineY = underline.value_or(-1);
        const std::optional<Rect> caret = CurrentDosCaret(ed, editor);
        if (caret != look.dosCaret) {
            const Rect both = caret && look.dosCaret ? UnionRect(*caret, *look.dosCaret) : caret ? *caret : *look.dosCaret;
            if (!Contains(dirty, both)) staleCaret = both;
        }
        look.dosCaret = caret;
        if (look.dosCaret) {
            const Rect& block = *look.dosCaret;
            ::BitBlt(buffer, block.left, block.top, block.Width(), block.Height(), nullptr, 0, 0, DSTINVERT);
        }
        ::BitBlt(screen, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, buffer, dirty.left,
                 dirty.top, SRCCOPY);
    }
    ::EndPaint(editor, &paint);
    InvalidateBlock(editor, staleCaret);
    if (staleUnderline >= 0) InvalidateUnderline(ed, staleUnderline);
    if (underline) {
        // Whole width even when the update region cut it.
        HDC window = ::GetDC(editor);
        if (window != nullptr) {
            DrawUnderline(window, UnderlinePen(ed), *underline, client.width);
            ::ReleaseDC(editor, window);
        }
    }
    PaintInsetStrips(ed, editor);
}

void PaintInsetStrips(EditorWindow& ed, HWND editor) {
    EditorLook& look = ed.look;
    if (!look.backgroundBrush) RebuildThemeBrushes(look, IsDark(ed));
    RECT window {};
    ::GetWindowRect(editor, &window);
    RECT client {};
    ::GetClientRect(editor, &client);
    ::MapWindowPoints(editor, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const Size windowSize {window.right - window.left, window.bottom - window.top};
    const Rect clientRect {client.left - window.left, client.top - window.top, client.right - window.left,
                           client.bottom - window.top};
    if (clientRect.top <= 0 && clientRect.bottom >= windowSize.height) return;

    int gutter = 0;
    for (int margin = 0; margin <= 4; ++margin) {
        gutter += static_cast<int>(ed.sci.MarginWidthN(margin));
    }
    const LONG_PTR style = ::GetWindowLongPtrW(editor, GWL_STYLE);
    const bool bottomStrip = (style & WS_HSCROLL) == 0;
    const bool scrollBar = (style & WS_VSCROLL) != 0;
    const StripRects strips = StripRectsFor(windowSize, clientRect, gutter, bottomStrip);

    HDC dc = ::GetWindowDC(editor);
    if (dc == nullptr) return;
    Fill(dc, strips.topGutter, look.gutterBrush.Get());
    Fill(dc, strips.topText, look.backgroundBrush.Get());
    Fill(dc, strips.bottomGutter, look.gutterBrush.Get());
    Fill(dc, strips.bottomText, look.backgroundBrush.Get());
    if (scrollBar && clientRect.Height() > 0) {
        StretchRow(dc, strips.topScroll, clientRect.top);
        StretchRow(dc, strips.bottomScroll, clientRect.bottom - 1);
    } else {
        Fill(dc, strips.topScroll, look.backgroundBrush.Get());
        Fill(dc, strips.bottomScroll, look.backgroundBrush.Get());
    }
    Fill(dc, strips.corner, look.cornerBrush.Get());
    ::ReleaseDC(editor, dc);
}

void TrackProgramCues(EditorWindow& ed) {
    HWND editor = ed.hwnd;
    EditorLook& look = ed.look;
    const int first = static_cast<int>(ed.sci.FirstVisibleLine());
    const int caretLine = static_cast<int>(ed.sci.LineFromPosition(CaretPosition(ed)));
    const bool scrolled = first != look.cueFirstVisibleLine;
    look.cueFirstVisibleLine = first;
    look.cueCaretLine = caretLine;
    if (!ProgramPaints(ed)) return;
    if (scrolled) {
        // What the component scrolled carried the old underline and caret along.
        ::InvalidateRect(editor, nullptr, FALSE);
        return;
    }
    const int underline = CurrentUnderlineY(ed, editor).value_or(-1);
    if (underline != look.underlineY) {
        InvalidateUnderline(ed, look.underlineY);
        InvalidateUnderline(ed, underline);
    }
    RefreshDosCaret(ed);
}

void RefreshDosCaret(EditorWindow& ed) {
    HWND editor = ed.hwnd;
    if (editor == nullptr) return;
    const std::optional<Rect> next = CurrentDosCaret(ed, editor);
    const std::optional<Rect>& drawn = ed.look.dosCaret;
    if (next == drawn) return;
    if (next && drawn) {
        InvalidateBlock(editor, UnionRect(*next, *drawn));
    } else {
        InvalidateBlock(editor, next ? next : drawn);
    }
}

void ForgetDosCaret(EditorWindow& ed, HWND editor) {
    InvalidateBlock(editor, ed.look.dosCaret);
    ed.look.dosCaret.reset();
}

void InvalidateUnderline(EditorWindow& ed, int underlineY) {
    if (ed.hwnd == nullptr || underlineY < 0) return;
    const int height = CaretTextHeight(ed, CaretPosition(ed));
    InvalidateRows(ed.hwnd, UnderlineBand(underlineY, height, ClientSizeOf(ed.hwnd).height));
}

void InvalidateImeCue(EditorWindow& ed) {
    HWND editor = ed.hwnd;
    if (editor == nullptr) return;
    const int height = CaretTextHeight(ed, CaretPosition(ed));
    InvalidateRows(editor, ImeCueSpan(ed.look.underlineY, height, ClientSizeOf(editor).height));
}

void SuppressUnderlineForScroll(EditorWindow& ed, HWND editor) {
    EditorLook& look = ed.look;
    if (!SettingsOf(ed).showCurrentLineUnderline || look.underlineY < 0) return;
    const int height = CaretTextHeight(ed, CaretPosition(ed));
    const Span band = UnderlineBand(look.underlineY, height, ClientSizeOf(editor).height);
    look.underlineSuppressed = true;
    if (!band.Empty()) {
        const RECT rows {0, band.top, ClientSizeOf(editor).width, band.bottom};
        ::RedrawWindow(editor, &rows, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    look.underlineSuppressed = false;
    look.underlineY = -1;
}

void RebuildThemeBrushes(EditorLook& look, bool dark) {
    const Palette& palette = PaletteFor(dark);
    look.backgroundBrush.Reset(::CreateSolidBrush(palette.background));
    look.gutterBrush.Reset(::CreateSolidBrush(palette.gutter));
    look.cornerBrush.Reset(::CreateSolidBrush(palette.scrollCorner));
}

void ReleasePaintBuffer(EditorLook& look) {
    look.buffer.Release();
}

}  // namespace quillpane
