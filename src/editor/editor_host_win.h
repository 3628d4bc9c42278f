// The Scintilla window that holds the memo: its creation, every setting the
// program gives it, its layout, and whole-text access.
#pragma once

#include <windows.h>

#include "editor/editor_look.h"
#include "platform/handles_win.h"
#include "settings/config.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillpane {

struct App;

inline constexpr int kEditorControlId = 2001;

// The off-screen buffer the editor paints through.
struct PaintBuffer {
    PaintBuffer() = default;
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;
    ~PaintBuffer() { Release(); }
    // Puts the DC's own bitmap back before both are deleted.
    void Release();

    UniqueHdc dc;
    UniqueBitmap bitmap;
    HGDIOBJ previousBitmap = nullptr;
    Size size;
};

// The editor's appearance state: one for the process, kept across a
// re-creation of the window. Pixel values are at the editor's DPI.
struct EditorLook {
    bool fixedPitch = false;
    int sizeStep = 0;
    UniqueFont font;
    int fontDpi = 0;  // the DPI the font was built for
    bool dark = false;
    bool showLineNumbers = true;
    bool showHighlight = true;
    bool showUnderline = false;
    CaretStyle caretStyle = CaretStyle::Line;
    int appliedCaretKind = 0;  // 0 none yet, else CaretKindOf
    bool imeOpen = false;
    bool bandOn = false;
    int averageCharWidth = 8;
    int lineHeight = -1;  // tmHeight + tmExternalLeading
    int textHeight = -1;  // tmAscent + tmDescent
    int numberWidth = 0;

    // Program-drawn cues.
    int underlineY = -1;  // client y of the underline last drawn
    bool underlineSuppressed = false;
    UniquePen underlinePen;
    Colour underlinePenColour = 0;
    std::optional<Rect> dosCaret;  // last drawn inverted block
    int cueFirstVisibleLine = -1;
    int cueCaretLine = -1;

    UniqueBrush backgroundBrush;
    UniqueBrush gutterBrush;
    UniqueBrush cornerBrush;
    PaintBuffer buffer;

    ResizeAnchor anchor;
    RECT areaRect {};           // the editor area last given, status label room included
    int numberedLineCount = 0;  // the line count the margin texts were made for
    // The changed-line marks live in the edit history (App::textState).
};

// Takes the display settings of the configuration; the size step is the one
// in force for this session.
void InitEditorLook(EditorLook& look, const EditorSettings& settings, int sizeStep);

// Registers the "Scintilla" window class for this module.
[[nodiscard]] bool RegisterEditorClass(HINSTANCE instance);

// Creates and sets up a new editor as a child of app.panel and makes it
// app.editor; null (and app.editor untouched) when the window cannot be made.
// rect is the editor area; the bottom 24 px stay free for the status label.
HWND CreateEditor(App& app, const RECT& rect, WordWrap wrap, std::u16string_view text, bool fixedPitch, int sizeStep,
                  bool visible);
// A component window with only the settings the memo's text relies on
// (UTF-8, CR LF, the component's own undo off): for tests of the text layer.
[[nodiscard]] HWND CreateEditor(HWND parent, HINSTANCE instance, const RECT& bounds);
// Replaces the editor by one with the other wrap setting, keeping text,
// selection, changed-line marks and theme; false when nothing changed.
bool RecreateEditor(App& app, WordWrap wrap);

void SetFontPitch(App& app, bool fixedPitch);
// Clamped to -8..20; with persist also saved as [Editor] FontSizeStep.
void SetSizeStep(App& app, int step, bool persist);
void SetTheme(App& app, bool dark);
void SetShowUnderline(App& app, bool show);
void SetShowHighlight(App& app, bool show);
void SetShowLineNumbers(App& app, bool show);
void SetCaretStyle(App& app, CaretStyle style);
void SetWordWrap(App& app, WordWrap wrap);

void LayoutEditor(App& app, const RECT& rect);
void BeginResizeAnchor(App& app);
void EndResizeAnchor(App& app);

void ApplyStyles(App& app);
void ApplyMargins(App& app);
void ApplyCaret(App& app);
void RefreshLineNumbers(App& app);
void UpdateImeCue(App& app);
void UpdateCurrentLineCues(App& app);
// Font metrics on the editor's DC (average width, line heights).
void MeasureEditorFont(App& app);
// After the line count changed: new margin texts, and a wider or narrower
// number margin when the count gained or lost a digit.
void SyncLineNumbers(App& app);
// After the changed-line marks changed: new margin styles (and a new margin
// width when the line count gained or lost a digit).
void RefreshChangedLines(App& app);
// Clears the edit history's changed-line marks and repaints the numbers.
void ClearChangedLineMarks(App& app);
// WM_NOTIFY from the editor, as the panel receives it.
void OnEditorNotify(App& app, const NMHDR& header);

// GetDpiForWindow when the system has it and answers, else 96.
[[nodiscard]] int WindowDpiOf(HWND window);

[[nodiscard]] std::u16string GetEditorText(HWND editor);
// Replaces the whole text (NUL characters included) and puts the caret at the start.
void SetEditorText(HWND editor, std::u16string_view text);
void SetEditorReadOnly(HWND editor, bool readOnly);
[[nodiscard]] bool IsEditorReadOnly(HWND editor);

}  // namespace quillpane
