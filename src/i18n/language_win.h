// The thread's preferred UI languages for the parts of the interface Windows
// draws itself (common dialogs, system menus).
#pragma once

#include <windows.h>

#include <string_view>

namespace quillpane {

enum class ThreadLanguageResult {
    Set,      // the alias's tag is the thread's preferred UI language
    Cleared,  // no alias, or setting it failed: Windows uses its own language
    Failed,   // even clearing failed
};

using SetThreadLanguagesFn = BOOL(WINAPI*)(DWORD flags, PCZZWSTR languages, PULONG count);

// Applies [UI] Language to the calling thread.
ThreadLanguageResult ApplyThreadLanguage(std::u16string_view configuredLanguage);

// The same with the Windows call supplied, so the fallback can be exercised.
ThreadLanguageResult ApplyThreadLanguageWith(std::u16string_view configuredLanguage,
                                             SetThreadLanguagesFn setLanguages);

}  // namespace quillpane
