// The editor window record: the memo's Scintilla window, its call object and
// everything the program keeps for it. Owned by the application record; the
// editor and section code take this record and the settings they read.
#pragma once

#include <windows.h>

#include "editor/editor_look.h"
#include "editor/text_adapter_win.h"
#include "platform/handles_win.h"
#include "settings/config.h"

#include <Scintilla.h>
#include <ScintillaTypes.h>
#include <ScintillaMessages.h>
#include <ScintillaStructures.h>
#include <ScintillaCall.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace quillpane {

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

// What the editor derives from its settings and the theme: fonts, brushes,
// metrics and the state of what it last drew. Kept across a re-creation of
// the window; pixel values are at the editor's DPI.
struct EditorLook {
    UniqueFont font;
    int fontDpi = 0;            // the DPI the font was built for
    int appliedCaretKind = 0;   // 0 none yet, else CaretKindOf
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
    bool brushesDark = false;  // the theme the brushes were made for
    PaintBuffer buffer;

    ResizeAnchor anchor;
    RECT areaRect {};  // the editor area last given, status label room included

    // The line numbers on screen: margin texts exist for these lines only.
    NumberedLines numbered;
};

// The links marked with the link indicator: the stretch of the text (bytes)
// the marks are current for, at which change of the text.
struct LinkMarks {
    bool valid = false;
    std::uint64_t changeCounter = 0;
    Scintilla::Position start = 0;
    Scintilla::Position end = 0;
    bool scanPending = false;
    // Whether a scheme has a registered handler, asked once per name.
    std::map<std::u16string, bool, std::less<>> schemes;
};

struct EditorWindow {
    HINSTANCE instance = nullptr;
    HWND parent = nullptr;  // the panel: the private messages go there
    HWND hwnd = nullptr;
    mutable Scintilla::ScintillaCall sci;  // through the component's direct function

    // Read, never owned: the [Editor] settings, the effective theme and
    // whether the panel is being resized interactively.
    const EditorSettings* settings = nullptr;
    const bool* dark = nullptr;
    const bool* parentSizing = nullptr;

    int sizeStep = 0;  // the session's font size step (zoom)
    int dpi = 96;      // the window's DPI, read when it was created or moved
    bool replacingText = false;  // the program itself is replacing the whole text

    EditorLook look;
    EditorTextState text;  // text adapter, edit history and changed-line marks
    LinkMarks links;
};

[[nodiscard]] inline const EditorSettings& SettingsOf(const EditorWindow& editor) {
    static const EditorSettings defaults;
    return editor.settings != nullptr ? *editor.settings : defaults;
}
// The window exists and its text layer serves it (not while it is replaced).
[[nodiscard]] inline bool ServesText(const EditorWindow& editor) {
    return editor.hwnd != nullptr && editor.text.model.Window() == editor.hwnd;
}
[[nodiscard]] inline bool IsDark(const EditorWindow& editor) {
    return editor.dark != nullptr && *editor.dark;
}
[[nodiscard]] inline bool ParentSizing(const EditorWindow& editor) {
    return editor.parentSizing != nullptr && *editor.parentSizing;
}

// The call object throws when the component reports a failure (out of
// memory). Window procedures and COM methods end there with `fallback`: no
// exception crosses into the system.
template <typename Result, typename Body>
Result GuardComponentCalls(Result fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (const Scintilla::Failure&) {
        return fallback;
    }
}

}  // namespace quillpane
