// The editor's OLE drop target: dropped files are inserted as their paths,
// dropped text is inserted, or moved within the editor; each drop one step.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <atomic>

namespace quillpane {

struct EditorWindow;

class EditorDropTarget final : public IDropTarget {
public:
    EditorDropTarget(EditorWindow& ed, HWND editor) : ed_(ed), editor_(editor) {}
    EditorDropTarget(const EditorDropTarget&) = delete;
    EditorDropTarget& operator=(const EditorDropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

private:
    ~EditorDropTarget() = default;
    [[nodiscard]] DWORD EffectFor(DWORD keyState) const;
    // False once the record has moved on to a newer window.
    [[nodiscard]] bool Serving() const;
    HRESULT DropNow(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect);

    EditorWindow& ed_;
    HWND editor_;
    bool filesOffered_ = false;
    bool textOffered_ = false;
    std::atomic<ULONG> references_ {1};
};

// Replaces the component's own drop target by the program's; null when OLE
// is not available (the editor then takes no drops).
[[nodiscard]] EditorDropTarget* RegisterEditorDropTarget(EditorWindow& ed, HWND editor);
// On WM_NCDESTROY: revokes and releases the target (target becomes null).
void RevokeEditorDropTarget(EditorDropTarget*& target, HWND editor);

}  // namespace quillpane
