// Hands paths and addresses to the Windows shell without letting text from
// the memo start a program, and without touching another machine on the
// user-interface thread.
#pragma once

#include <windows.h>

#include <string>

namespace quillpane {

// ShellExecuteW "open"; false (after a beep when beepOnFailure) when it failed.
bool ShellOpen(HWND owner, const std::u16string& target, bool beepOnFailure);
// A network target is opened on a thread of its own: an unreachable host
// must not freeze the panel. Beeps when the shell fails.
void ShellOpenInBackground(const std::u16string& target);

// A file-system path from the memo: a folder in Explorer; a program, script
// or shortcut shown selected in its folder instead of run; anything else in
// its default application. Beeps on failure.
void OpenPathSafely(HWND owner, std::u16string path);
// Explorer with the path selected in its folder.
bool SelectInFolder(HWND owner, const std::u16string& path);
// The shell's property sheet of the path.
void ShowPathProperties(HWND owner, const std::u16string& path);

// A UNC path or one on a mapped network drive: its files are only touched
// when the user opens them, and never on the user-interface thread.
[[nodiscard]] bool OnAnotherMachine(const std::u16string& path);

// The PATHEXT variable (".COM;.EXE;..."), empty when unset.
[[nodiscard]] std::u16string ExecutableExtensions();
// Trailing separators dropped; a bare drive keeps (or gets) its backslash.
[[nodiscard]] std::u16string NormalisedPath(std::u16string path);

}  // namespace quillpane
