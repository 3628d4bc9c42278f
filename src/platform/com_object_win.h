// The IUnknown side of a COM or Windows Runtime object the program
// implements itself (handlers, collections): reference counting and
// QueryInterface for its one interface, agile so that any apartment may call.
// And the apartment a thread enters for a scope.
#pragma once

#include <windows.h>

#include <inspectable.h>
#include <roapi.h>

#include <atomic>
#include <type_traits>

namespace quillpane {

// COM (a single-threaded apartment) or the Windows Runtime on this thread for
// one scope; left only when it was entered here.
class ApartmentScope {
public:
    enum class Kind { Com, Runtime };
    explicit ApartmentScope(Kind kind, DWORD comFlags = COINIT_APARTMENTTHREADED)
        : kind_(kind),
          entered_(SUCCEEDED(kind == Kind::Com ? ::CoInitializeEx(nullptr, comFlags)
                                               : ::RoInitialize(RO_INIT_SINGLETHREADED))) {}
    ApartmentScope(const ApartmentScope&) = delete;
    ApartmentScope& operator=(const ApartmentScope&) = delete;
    ~ApartmentScope() {
        if (!entered_) return;
        if (kind_ == Kind::Com) {
            ::CoUninitialize();
        } else {
            ::RoUninitialize();
        }
    }

private:
    Kind kind_;
    bool entered_;
};

// {94EA2B94-E9CC-49E0-C0FF-EE64CA8F5B90}
inline constexpr IID kIidAgileObject = {0x94ea2b94, 0xe9cc, 0x49e0, {0xc0, 0xff, 0xee, 0x64, 0xca, 0x8f, 0x5b, 0x90}};

// Created with one reference, which the creator releases.
template <typename Interface>
class ComObject : public Interface {
public:
    explicit ComObject(const IID& iid) : iid_(iid) {}
    virtual ~ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, iid_) || ::IsEqualIID(iid, kIidAgileObject) ||
            (std::is_base_of_v<IInspectable, Interface> && ::IsEqualIID(iid, IID_IInspectable))) {
            *object = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

private:
    const IID& iid_;
    std::atomic<ULONG> references_ {1};
};

// The same for a Windows Runtime interface: no class name, base trust.
template <typename Interface>
class InspectableObject : public ComObject<Interface> {
public:
    using ComObject<Interface>::ComObject;
    HRESULT STDMETHODCALLTYPE GetIids(ULONG* count, IID** iids) override {
        *count = 0;
        *iids = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING* name) override {
        *name = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* level) override {
        *level = BaseTrust;
        return S_OK;
    }
};

}  // namespace quillpane
