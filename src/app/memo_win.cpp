// The memo file behind the editor: load, autosave, flush and the watch for
// outside changes.
#include "app/memo_win.h"

#include "app/app_win.h"
#include "app/phone_win.h"
#include "app/search_win.h"
#include "resources/messages.h"
#include "app/tray_win.h"
#include "editor/editor_commands_win.h"
#include "editor/editor_host_win.h"
#include "editor/text_adapter_win.h"
#include "i18n/language.h"
#include "i18n/strings.h"
#include "app/editor_settings_win.h"
#include "storage/backup.h"
#include "storage/note_codec.h"
#include "storage/note_file.h"

#include <algorithm>

namespace quillpane {
namespace {

void ApplyTimerAction(App& app, SaveTimerAction action) {
    if (action == SaveTimerAction::Arm) {
        ::SetTimer(app.panel, kTimerAutosave, kAutosaveDelayMs, nullptr);
    } else {
        ::KillTimer(app.panel, kTimerAutosave);
    }
}

// Writes text as the memo, with the backups; true when it was written. A
// failure is shown and the autosave tries again later.
bool WriteMemo(App& app, std::u16string_view text) {
    const bool wasDirty = app.memo.memoDirty;
    const SaveResult result = SaveMemo(app.memo, text, app.config.backup, BackupFolderOf(app.programFolder),
                                       platform::LocalTimeNow(), app.backupRecord);
    if (wasDirty != app.memo.memoDirty) ::InvalidateRect(app.panel, nullptr, FALSE);
    switch (result) {
    case SaveResult::Saved:
        return true;
    case SaveResult::Disabled:
        return false;
    case SaveResult::Failed:
        ShowWarningBalloon(app, Text(TextId::SaveFailed, UiLanguage(app)));
        ::SetTimer(app.panel, kTimerAutosave, kSaveRetryDelayMs, nullptr);
        return false;
    }
    return false;
}

// The editor's text replaced by load: the change notifications meanwhile are
// ours, and what follows the text is redone once.
template <typename Load>
void ReplaceEditorText(App& app, Load&& load) {
    app.editor.replacingText = true;
    ForgetLineNumbers(app.editor);
    load();
    app.editor.replacingText = false;
    RefreshLineNumbers(app.editor);
    RefreshMemoFolds(app);
    ::KillTimer(app.panel, kTimerAutosave);
}

}  // namespace

void LoadNote(App& app) {
    const bool wasDirty = app.memo.memoDirty;
    EditorTextState& textState = app.editor.text;
    ReplaceEditorText(app, [&] {
        LoadOutcome outcome = LoadNoteInto(app.memo, ReadNoteFile(app.memo.memoPath, false), false);
        if (outcome.Succeeded()) {
            if (outcome.saveReenabled) app.editor.sci.SetReadOnly(false);
            // The editor holds exactly the saved text's UTF-8: the file's own
            // bytes when they are that.
            LoadEditorBytes(textState, std::move(outcome.utf8));
        } else if (!outcome.repeatedFailure) {
            const TextId message =
                outcome.failure == LoadFailure::TooLarge ? TextId::LoadFailedTooLarge : TextId::LoadFailedUnreadable;
            const std::u16string_view text = Text(message, UiLanguage(app));
            app.editor.sci.SetReadOnly(true);
            LoadEditorText(textState, text);
            ShowWarningBalloon(app, text);
        }
    });
    if (wasDirty != app.memo.memoDirty) ::InvalidateRect(app.panel, nullptr, FALSE);
}

bool SaveNote(App& app) {
    EditorTextState& text = app.editor.text;
    if (!WriteMemo(app, ReadText(text.adapter, text.model))) return false;
    ExportToPhone(app);
    return true;
}

bool SaveAndShowText(App& app, std::u16string_view text) {
    if (!WriteMemo(app, text)) return false;
    ReplaceEditorText(app, [&] { LoadEditorText(app.editor.text, text); });
    app.editor.sci.DocumentEnd();
    ScheduleSidebarRebuild(app.sidebar);
    ScheduleSearchRefresh(app);
    return true;
}

void FlushNote(App& app) {
    if (!app.memo.memoDirty) return;
    ::KillTimer(app.panel, kTimerAutosave);
    (void)SaveNote(app);
}

bool KeepUnsavedText(App& app) {
    if (!app.memo.memoDirty) return true;
    const std::u16string kept =
        WriteUnsavedCopy(app.memo.memoPath, BackupFolderOf(app.programFolder), platform::LocalTimeNow(),
                         EncodeNoteBytes(ReadText(app.editor.text.adapter, app.editor.text.model)));
    if (kept.empty()) return false;
    app.config.application.unsavedCopy = kept;
    SaveAppConfig(app);
    return true;
}

void ReportUnsavedCopy(App& app) {
    if (app.config.application.unsavedCopy.empty()) return;
    std::u16string text(Text(TextId::UnsavedTextKept, UiLanguage(app)));
    text += app.config.application.unsavedCopy;
    ShowWarningBalloon(app, text);
    app.config.application.unsavedCopy.clear();
    SaveAppConfig(app);
}

void OnEditorModified(App& app, const SCNotification& notification) {
    EditorTextState& textState = app.editor.text;
    if (!OnScintillaModified(textState, notification)) return;
    if (!app.editor.replacingText && !textState.history.loading) {
        const bool wasDirty = app.memo.memoDirty;
        const auto position = static_cast<std::size_t>(notification.position);
        const std::size_t at = ToIndex(textState.adapter, textState.model, position);
        const std::size_t length = EditorLength16(app.editor);
        const long long delta = static_cast<long long>(length) - static_cast<long long>(app.memo.changed.length);
        const auto read = [&textState](std::size_t start, std::size_t end, std::size_t block) {
            const DualText& text = CurrentText(textState.adapter, textState.model);
            EditorBytes span;
            span.totalBytes = text.ByteLength();
            span.startByte = text.ToBytePosition(start) / block * block;
            const std::size_t endByte = (text.ToBytePosition(end) + block - 1) / block * block;
            span.bytes = text.ByteRange(span.startByte, std::min(endByte, span.totalBytes));
            return span;
        };
        ApplyTimerAction(app, OnEditorEdited(app.memo, at, delta, read));
        if (wasDirty != app.memo.memoDirty) ::InvalidateRect(app.panel, nullptr, FALSE);
    }
    OnDocumentChanged(ContextOf(textState));
    ScheduleSidebarRebuild(app.sidebar);
    ScheduleSearchRefresh(app);
}

void OnAutosaveTimer(App& app) {
    ::KillTimer(app.panel, kTimerAutosave);
    if (app.memo.memoDirty) (void)SaveNote(app);
}

void OnMemoWatchTimer(App& app) {
    if (ShouldReloadOnWatchTick(app.memo, platform::GetAttributes(app.memo.memoPath))) LoadNote(app);
}

}  // namespace quillpane
