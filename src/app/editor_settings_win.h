// The panel's side of the editor's settings: each change is stored in the
// configuration (which the editor reads), saved, and then shown.
#pragma once

#include "settings/config.h"

namespace quillpane {

struct App;

// Points the editor record at the panel and the settings and theme it reads.
void WireEditor(App& app);

void SetFontPitch(App& app, bool fixedPitch);
// The session's zoom; with persist also saved as [Editor] FontSizeStep.
void SetSizeStep(App& app, int step, bool persist);
// The effective theme of the editor (the panel's own look follows ApplyTheme).
void SetTheme(App& app, bool dark);
void SetShowUnderline(App& app, bool show);
void SetShowHighlight(App& app, bool show);
void SetShowLineNumbers(App& app, bool show);
void SetCaretStyle(App& app, CaretStyle style);
void SetWordWrap(App& app, WordWrap wrap);
// IDM_ROLE_SEPARATOR / IDM_ROLE_HEADING.
void SetRoleCommand(App& app, unsigned commandId);

// The memo folds, after the text or the fold settings changed.
void RefreshMemoFolds(App& app);

// The requests of the editor and the sections (PM_SAVECONFIG,
// PM_SECTIONSCHANGED, PM_TOGGLEFOLD); true when the message was one of them.
bool OnEditorRequest(App& app, unsigned message, unsigned long long wParam, long long lParam);

}  // namespace quillpane
