// Run at logon: the "Quillpn.lnk" shortcut in the Startup folder for an
// ordinary copy, the package's startup task for a packaged one.
#include "app/run_at_startup_win.h"

#include "platform/com_object_win.h"
#include "platform/handles_win.h"
#include "platform/hstring_win.h"
#include "platform/wide_win.h"
#include "settings/paths_win.h"

#include <windows.h>

#include <inspectable.h>
#include <objbase.h>
#include <roapi.h>
#include <shlobj.h>


#if __has_include(<appmodel.h>)
#include <appmodel.h>
#else
// MinGW's headers lack it; its import library has it (Windows 8 and later).
extern "C" LONG WINAPI GetCurrentPackageFullName(UINT32* packageFullNameLength, PWSTR packageFullName);
#endif

namespace quillpane {
namespace {

constexpr wchar_t kShortcutName[] = L"Quillpn.lnk";
// An earlier name of the program, whose shortcut a packaged copy also removes.
constexpr wchar_t kLegacyShortcutName[] = L"Lullshift.lnk";
constexpr wchar_t kTaskId[] = L"QuillpnStartup";
constexpr wchar_t kStartupTaskClass[] = L"Windows.ApplicationModel.StartupTask";

// The Startup folder ending in a backslash, or empty.
std::wstring StartupFolder() {
    wchar_t folder[MAX_PATH] {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    std::wstring path(folder);
    if (path.empty()) return {};
    if (path.back() != L'\\') path += L'\\';
    return path;
}

bool RunsFromPackage() {
    UINT32 length = 0;
    return ::GetCurrentPackageFullName(&length, nullptr) == ERROR_INSUFFICIENT_BUFFER;
}

// Written over an existing shortcut, so a moved executable is followed.
void WriteShortcut(const std::wstring& shortcut) {
    const std::u16string target = ModulePath();
    if (target.empty()) return;
    ApartmentScope com(ApartmentScope::Kind::Com);
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.Put())))) {
        return;
    }
    if (FAILED(link->SetPath(WidePtr(target))) || FAILED(link->SetDescription(L"Quillpn"))) return;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put())))) return;
    (void)file->Save(shortcut.c_str(), TRUE);
}

// ---- the package's startup task ---------------------------------------------------------
// MinGW ships no header for Windows.ApplicationModel: the interfaces in their
// documented slot order. The parameterised ones carry the identifiers
// Windows derives from their type signatures.

enum StartupTaskState : INT32 {
    kTaskDisabled = 0,
    kTaskDisabledByUser = 1,
    kTaskEnabled = 2,
    kTaskDisabledByPolicy = 3,
    kTaskEnabledByPolicy = 4,
};
enum AsyncStatusAbi : INT32 { kAsyncStarted = 0, kAsyncCompleted = 1, kAsyncCanceled = 2, kAsyncError = 3 };

struct IAsyncInfoAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Status(AsyncStatusAbi* status) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* code) = 0;
    virtual HRESULT STDMETHODCALLTYPE Cancel() = 0;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
};

template <typename Result>
struct IAsyncOperationAbi;

template <typename Result>
struct ICompletedHandlerAbi : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperationAbi<Result>* operation, AsyncStatusAbi status) = 0;
};

template <typename Result>
struct IAsyncOperationAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE put_Completed(ICompletedHandlerAbi<Result>* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Completed(ICompletedHandlerAbi<Result>** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetResults(Result* results) = 0;
};

struct IStartupTaskAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE RequestEnableAsync(IAsyncOperationAbi<StartupTaskState>** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE Disable() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_State(StartupTaskState* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TaskId(HSTRING* id) = 0;
};

struct IStartupTaskStaticsAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE GetForCurrentPackageAsync(void** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAsync(HSTRING taskId, IAsyncOperationAbi<IStartupTaskAbi*>** operation) = 0;
};

// {EE5B60BD-A148-41A7-B26E-E8B88A1E62F8}
constexpr IID kIidStartupTaskStatics = {0xee5b60bd, 0xa148, 0x41a7, {0xb2, 0x6e, 0xe8, 0xb8, 0x8a, 0x1e, 0x62, 0xf8}};
// {00000036-0000-0000-C000-000000000046}
constexpr IID kIidAsyncInfo = {0x00000036, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// IAsyncOperationCompletedHandler<StartupTask>: {741F7697-2452-5C80-83C6-3B6F822B904C}
constexpr IID kIidTaskHandler = {0x741f7697, 0x2452, 0x5c80, {0x83, 0xc6, 0x3b, 0x6f, 0x82, 0x2b, 0x90, 0x4c}};
// IAsyncOperationCompletedHandler<StartupTaskState>: {70A0BF67-19E8-5A86-A32E-3C9863825A04}
constexpr IID kIidStateHandler = {0x70a0bf67, 0x19e8, 0x5a86, {0xa3, 0x2e, 0x3c, 0x98, 0x63, 0x82, 0x5a, 0x04}};

template <typename Result>
constexpr const IID& HandlerIid();
template <>
constexpr const IID& HandlerIid<IStartupTaskAbi*>() {
    return kIidTaskHandler;
}
template <>
constexpr const IID& HandlerIid<StartupTaskState>() {
    return kIidStateHandler;
}

// Signals an event when the operation completes; lives as long as its references.
template <typename Result>
class CompletionEvent final : public ComObject<ICompletedHandlerAbi<Result>> {
public:
    explicit CompletionEvent(HANDLE event)
        : ComObject<ICompletedHandlerAbi<Result>>(HandlerIid<Result>()), event_(event) {}

    HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperationAbi<Result>*, AsyncStatusAbi) override {
        ::SetEvent(event_);
        return S_OK;
    }

private:
    HANDLE event_;
};

// Waits for the operation while window messages and COM calls keep being
// dispatched; the result, or the failure code.
template <typename Result>
HRESULT Await(IAsyncOperationAbi<Result>* operation, Result& result) {
    UniqueHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) return E_FAIL;
    auto* handler = new CompletionEvent<Result>(done.Get());
    const HRESULT put = operation->put_Completed(handler);
    handler->Release();
    if (FAILED(put)) return put;
    DWORD index = 0;
    HANDLE handles[] = {done.Get()};
    const HRESULT waited = ::CoWaitForMultipleHandles(COWAIT_DISPATCH_CALLS | COWAIT_DISPATCH_WINDOW_MESSAGES,
                                                      INFINITE, 1, handles, &index);
    if (FAILED(waited)) return waited;
    ComPtr<IAsyncInfoAbi> info;
    if (FAILED(operation->QueryInterface(kIidAsyncInfo, reinterpret_cast<void**>(info.Put())))) return E_FAIL;
    AsyncStatusAbi status = kAsyncError;
    if (FAILED(info->get_Status(&status))) return E_FAIL;
    if (status != kAsyncCompleted) {
        HRESULT code = E_FAIL;
        return SUCCEEDED(info->get_ErrorCode(&code)) && FAILED(code) ? code : E_FAIL;
    }
    return operation->GetResults(&result);
}

void SyncStartupTask(bool enabled) {
    ApartmentScope runtime(ApartmentScope::Kind::Runtime);
    UniqueHstring className(kStartupTaskClass);
    UniqueHstring taskId(kTaskId);
    if (className.Get() == nullptr || taskId.Get() == nullptr) return;
    ComPtr<IStartupTaskStaticsAbi> statics;
    if (FAILED(::RoGetActivationFactory(className.Get(), kIidStartupTaskStatics,
                                        reinterpret_cast<void**>(statics.Put())))) {
        return;
    }
    ComPtr<IAsyncOperationAbi<IStartupTaskAbi*>> lookup;
    if (FAILED(statics->GetAsync(taskId.Get(), lookup.Put()))) return;
    IStartupTaskAbi* found = nullptr;
    if (FAILED(Await(lookup.Get(), found)) || found == nullptr) return;
    ComPtr<IStartupTaskAbi> task;
    task.Reset(found);
    StartupTaskState state = kTaskDisabled;
    if (FAILED(task->get_State(&state))) return;
    if (enabled) {
        if (state == kTaskEnabled || state == kTaskEnabledByPolicy) return;
        // A user who turned the task off in the system settings is asked, not overridden.
        ComPtr<IAsyncOperationAbi<StartupTaskState>> request;
        if (FAILED(task->RequestEnableAsync(request.Put()))) return;
        StartupTaskState granted = kTaskDisabled;
        (void)Await(request.Get(), granted);
        return;
    }
    if (state == kTaskEnabled) (void)task->Disable();
}

}  // namespace

std::u16string StartupShortcutPath() {
    const std::wstring folder = StartupFolder();
    if (folder.empty()) return {};
    return FromWide(folder + kShortcutName);
}

void SyncRunAtStartup(bool enabled) {
    const std::wstring folder = StartupFolder();
    if (RunsFromPackage()) {
        // Shortcuts an earlier unpackaged installation left behind.
        if (!folder.empty()) {
            ::DeleteFileW((folder + kShortcutName).c_str());
            ::DeleteFileW((folder + kLegacyShortcutName).c_str());
        }
        SyncStartupTask(enabled);
        return;
    }
    if (folder.empty()) return;
    const std::wstring shortcut = folder + kShortcutName;
    if (enabled) {
        WriteShortcut(shortcut);
    } else {
        ::DeleteFileW(shortcut.c_str());
    }
}

}  // namespace quillpane
