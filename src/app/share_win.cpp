// Share…: the memo file, or the selected text as a file, handed to the
// Windows share sheet through the share contract for desktop windows.
#include "app/share_win.h"

#include "app/app_win.h"
#include "app/memo_win.h"
#include "app/tray_win.h"
#include "editor/editor_commands_win.h"
#include "editor/text_adapter.h"
#include "phone/phone_bridge.h"
#include "platform/com_object_win.h"
#include "platform/file_system.h"
#include "platform/handles_win.h"
#include "platform/hstring_win.h"
#include "platform/wide_win.h"
#include "storage/note_codec.h"

#include <windows.h>

#include <inspectable.h>
#include <roapi.h>
#include <shobjidl.h>

namespace quillpane {
namespace {

constexpr wchar_t kShareFolderName[] = L"QuillpnShare";
constexpr wchar_t kDataTransferManagerClass[] = L"Windows.ApplicationModel.DataTransfer.DataTransferManager";
constexpr wchar_t kStorageFileClass[] = L"Windows.Storage.StorageFile";

// MinGW ships no headers for these: the interfaces in their documented slot
// order, after IInspectable's. Slots never called take no arguments here.
constexpr HRESULT kBoundsError = static_cast<HRESULT>(0x8000000BL);  // E_BOUNDS

enum AsyncStatusAbi : INT32 { kAsyncStarted = 0, kAsyncCompleted = 1, kAsyncCanceled = 2, kAsyncError = 3 };

struct IDataPackagePropertySetAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Title(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Title(HSTRING value) = 0;
};

struct IDataPackageAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE GetView(void** view) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Properties(IDataPackagePropertySetAbi** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RequestedOperation() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_RequestedOperation() = 0;
    virtual HRESULT STDMETHODCALLTYPE add_OperationCompleted() = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_OperationCompleted() = 0;
    virtual HRESULT STDMETHODCALLTYPE add_Destroyed() = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_Destroyed() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetData() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDataProvider() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetText() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetUri() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHtmlFormat() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ResourceMap() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRtf() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBitmap() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetStorageItemsReadOnly(IInspectable* items) = 0;
};

struct IDataRequestDeferralAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE Complete() = 0;
};

struct IDataRequestAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Data(IDataPackageAbi** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Data(IDataPackageAbi* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Deadline(INT64* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE FailWithDisplayText(HSTRING value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(IDataRequestDeferralAbi** value) = 0;
};

struct IDataRequestedEventArgsAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Request(IDataRequestAbi** value) = 0;
};

struct IDataRequestedHandlerAbi : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(IInspectable* sender, IDataRequestedEventArgsAbi* args) = 0;
};

struct IDataTransferManagerAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE add_DataRequested(IDataRequestedHandlerAbi* handler, INT64* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_DataRequested(INT64 token) = 0;
};

struct IAsyncInfoAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Status(AsyncStatusAbi* status) = 0;
};

struct IFileOperationAbi;
struct IFileCompletedHandlerAbi : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(IFileOperationAbi* operation, AsyncStatusAbi status) = 0;
};

struct IFileOperationAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE put_Completed(IFileCompletedHandlerAbi* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Completed(IFileCompletedHandlerAbi** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetResults(IInspectable** file) = 0;
};

struct IStorageFileStaticsAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE GetFileFromPathAsync(HSTRING path, IFileOperationAbi** operation) = 0;
};

struct IStorageItemIteratorAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Current(IInspectable** current) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_HasCurrent(boolean* hasCurrent) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveNext(boolean* hasCurrent) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMany(UINT32 capacity, IInspectable** items, UINT32* actual) = 0;
};

struct IStorageItemIterableAbi : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE First(IStorageItemIteratorAbi** first) = 0;
};

// {A5CAEE9B-8708-49D1-8D36-67D25A8DA00C}
constexpr IID kIidDataTransferManager = {0xa5caee9b, 0x8708, 0x49d1, {0x8d, 0x36, 0x67, 0xd2, 0x5a, 0x8d, 0xa0, 0x0c}};
// TypedEventHandler<DataTransferManager, DataRequestedEventArgs>: {EC6F9CC8-46D0-5E0E-B4D2-7D7773AE37A0}
constexpr IID kIidDataRequestedHandler = {0xec6f9cc8, 0x46d0, 0x5e0e, {0xb4, 0xd2, 0x7d, 0x77, 0x73, 0xae, 0x37, 0xa0}};
// {5984C710-DAF2-43C8-8BB4-A4D3EACFD03F}
constexpr IID kIidStorageFileStatics = {0x5984c710, 0xdaf2, 0x43c8, {0x8b, 0xb4, 0xa4, 0xd3, 0xea, 0xcf, 0xd0, 0x3f}};
// {4207A996-CA2F-42F7-BDE8-8B10457A7F30}
constexpr IID kIidStorageItem = {0x4207a996, 0xca2f, 0x42f7, {0xbd, 0xe8, 0x8b, 0x10, 0x45, 0x7a, 0x7f, 0x30}};
// IIterable<IStorageItem>: {BB8B8418-65D1-544B-B083-6D172F568C73}
constexpr IID kIidStorageItemIterable = {0xbb8b8418, 0x65d1, 0x544b, {0xb0, 0x83, 0x6d, 0x17, 0x2f, 0x56, 0x8c, 0x73}};
// IIterator<IStorageItem>: {05B487C2-3830-5D3C-98DA-25FA11542DBD}
constexpr IID kIidStorageItemIterator = {0x05b487c2, 0x3830, 0x5d3c, {0x98, 0xda, 0x25, 0xfa, 0x11, 0x54, 0x2d, 0xbd}};
// AsyncOperationCompletedHandler<StorageFile>: {E521C894-2C26-5946-9E61-2B5E188D01ED}
constexpr IID kIidFileCompletedHandler = {0xe521c894, 0x2c26, 0x5946, {0x9e, 0x61, 0x2b, 0x5e, 0x18, 0x8d, 0x01, 0xed}};
// {00000036-0000-0000-C000-000000000046}
constexpr IID kIidAsyncInfo = {0x00000036, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The one file the sheet is given, as a collection.
class OneItemIterator final : public InspectableObject<IStorageItemIteratorAbi> {
public:
    explicit OneItemIterator(IInspectable* item)
        : InspectableObject(kIidStorageItemIterator), item_(ComPtr<IInspectable>::Share(item)) {}
    HRESULT STDMETHODCALLTYPE get_Current(IInspectable** current) override {
        if (done_) return kBoundsError;
        *current = item_.Copy();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_HasCurrent(boolean* hasCurrent) override {
        *hasCurrent = done_ ? FALSE : TRUE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE MoveNext(boolean* hasCurrent) override {
        done_ = true;
        *hasCurrent = FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMany(UINT32 capacity, IInspectable** items, UINT32* actual) override {
        *actual = 0;
        if (!done_ && capacity > 0) {
            items[0] = item_.Copy();
            *actual = 1;
            done_ = true;
        }
        return S_OK;
    }

private:
    ComPtr<IInspectable> item_;
    bool done_ = false;
};

class OneItemList final : public InspectableObject<IStorageItemIterableAbi> {
public:
    explicit OneItemList(IInspectable* item)
        : InspectableObject(kIidStorageItemIterable), item_(ComPtr<IInspectable>::Share(item)) {}
    HRESULT STDMETHODCALLTYPE First(IStorageItemIteratorAbi** first) override {
        *first = new OneItemIterator(item_.Get());
        return S_OK;
    }

private:
    ComPtr<IInspectable> item_;
};

// When the file is found it goes into the package; the deferral completes either way.
class FileFound final : public ComObject<IFileCompletedHandlerAbi> {
public:
    FileFound(IDataPackageAbi* package, IDataRequestDeferralAbi* deferral)
        : ComObject(kIidFileCompletedHandler),
          package_(ComPtr<IDataPackageAbi>::Share(package)),
          deferral_(ComPtr<IDataRequestDeferralAbi>::Share(deferral)) {}
    HRESULT STDMETHODCALLTYPE Invoke(IFileOperationAbi* operation, AsyncStatusAbi status) override {
        ComPtr<IInspectable> file;
        ComPtr<IInspectable> item;
        if (status == kAsyncCompleted && SUCCEEDED(operation->GetResults(file.Put())) && file &&
            SUCCEEDED(file->QueryInterface(kIidStorageItem, reinterpret_cast<void**>(item.Put())))) {
            auto* list = new OneItemList(item.Get());
            (void)package_->SetStorageItemsReadOnly(list);
            list->Release();
        }
        (void)deferral_->Complete();
        return S_OK;
    }

private:
    ComPtr<IDataPackageAbi> package_;
    ComPtr<IDataRequestDeferralAbi> deferral_;
};

// Fills the package when the sheet asks for it.
class DataRequested final : public ComObject<IDataRequestedHandlerAbi> {
public:
    explicit DataRequested(std::u16string path) : ComObject(kIidDataRequestedHandler), path_(std::move(path)) {}
    HRESULT STDMETHODCALLTYPE Invoke(IInspectable*, IDataRequestedEventArgsAbi* args) override {
        ComPtr<IDataRequestAbi> request;
        ComPtr<IDataPackageAbi> package;
        if (args == nullptr || FAILED(args->get_Request(request.Put())) || !request ||
            FAILED(request->get_Data(package.Put())) || !package) {
            return S_OK;
        }
        ComPtr<IDataPackagePropertySetAbi> properties;
        if (SUCCEEDED(package->get_Properties(properties.Put())) && properties) {
            UniqueHstring title(L"Quillpane");
            (void)properties->put_Title(title.Get());
        }
        ComPtr<IDataRequestDeferralAbi> deferral;
        if (FAILED(request->GetDeferral(deferral.Put())) || !deferral) return S_OK;
        UniqueHstring className(kStorageFileClass);
        UniqueHstring path(WidePtr(path_), path_.size());
        ComPtr<IStorageFileStaticsAbi> statics;
        ComPtr<IFileOperationAbi> operation;
        if (FAILED(::RoGetActivationFactory(className.Get(), kIidStorageFileStatics,
                                            reinterpret_cast<void**>(statics.Put()))) ||
            FAILED(statics->GetFileFromPathAsync(path.Get(), operation.Put())) || !operation) {
            (void)deferral->Complete();
            return S_OK;
        }
        auto* found = new FileFound(package.Get(), deferral.Get());
        if (FAILED(operation->put_Completed(found))) (void)deferral->Complete();
        found->Release();
        return S_OK;
    }

private:
    std::u16string path_;
};

IDataTransferManagerAbi* ManagerOf(ShareState& share) {
    return static_cast<IDataTransferManagerAbi*>(share.manager);
}

void RemoveHandler(ShareState& share) {
    if (share.handlerRegistered && share.manager != nullptr) (void)ManagerOf(share)->remove_DataRequested(share.token);
    share.handlerRegistered = false;
    if (share.manager != nullptr) share.manager->Release();
    share.manager = nullptr;
}

std::wstring ShareFolder() {
    wchar_t temp[MAX_PATH + 1] {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(temp, length) + kShareFolderName;
}

void CleanupShare(ShareState& share) {
    if (!share.tempFile.empty()) ::DeleteFileW(WidePtr(share.tempFile));
    share.tempFile.clear();
    const std::wstring folder = ShareFolder();
    if (!folder.empty()) ::RemoveDirectoryW(folder.c_str());  // only when empty
}

// The selection as UTF-8 with a byte-order mark, under the memo file's name.
std::u16string WriteShareTempFile(ShareState& share, std::u16string_view memoPath, std::u16string_view text) {
    CleanupShare(share);
    const std::wstring folder = ShareFolder();
    if (folder.empty()) return {};
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::u16string path = platform::JoinPath(FromWide(folder), ShareFileName(memoPath));
    if (!platform::WriteWholeFile(path, EncodeNoteBytes(text))) {
        ::DeleteFileW(WidePtr(path));
        CleanupShare(share);
        return {};
    }
    share.tempFile = path;
    return path;
}

bool ShareFile(App& app, HWND owner, const std::u16string& path) {
    if (!app.shell.winrtInitialised || owner == nullptr) return false;
    UniqueHstring className(kDataTransferManagerClass);
    ComPtr<IDataTransferManagerInterop> interop;
    if (FAILED(::RoGetActivationFactory(className.Get(), IID_IDataTransferManagerInterop,
                                        reinterpret_cast<void**>(interop.Put())))) {
        return false;
    }
    IDataTransferManagerAbi* manager = nullptr;
    if (FAILED(interop->GetForWindow(owner, kIidDataTransferManager, reinterpret_cast<void**>(&manager))) ||
        manager == nullptr) {
        return false;
    }
    ShareState& share = app.share;
    RemoveHandler(share);
    share.manager = manager;
    auto* handler = new DataRequested(path);
    INT64 token = 0;
    const HRESULT added = manager->add_DataRequested(handler, &token);
    handler->Release();
    if (FAILED(added)) return false;
    share.token = token;
    share.handlerRegistered = true;
    return SUCCEEDED(interop->ShowShareUIForWindow(owner));
}

}  // namespace

void ShareMemo(App& app) {
    if (app.editor.hwnd == nullptr) return;
    FocusHolds& holds = app.shell.holds;
    // The sheet taking the foreground is part of the share, not a focus loss.
    holds.shareHold = {true, ::GetTickCount64() + kShareHoldMs, 0};
    HWND owner = app.panel;
    bool shared = false;
    const Selection selection = EditorSelection16(app.editor);
    if (!selection.Empty()) {
        if (app.shell.winrtInitialised) {
            const std::u16string text =
                ReadTextRange(app.editor.text.adapter, app.editor.text.model, selection.Start(), selection.End());
            const std::u16string path = WriteShareTempFile(app.share, app.memo.memoPath, text);
            shared = !path.empty() && ShareFile(app, owner, path);
        }
    } else {
        FlushNote(app);
        if (app.memo.memoDirty) {
            // The file still holds older text: sharing it would send that.
            ShowWarningBalloon(app, Text(TextId::ShareNeedsSave, UiLanguage(app)));
        } else {
            shared = ShareFile(app, owner, app.memo.memoPath);
        }
    }
    if (!shared) holds.shareHold = {};
}

void EndSharing(ShareState& share) {
    RemoveHandler(share);
    CleanupShare(share);
}

}  // namespace quillpane
