// Move-only owners of Win32 handles and GDI objects.
#pragma once

#include <windows.h>

#include <utility>

namespace quillpane {

// Owns a kernel handle; INVALID_HANDLE_VALUE and null both count as empty.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    [[nodiscard]] HANDLE Get() const { return handle_; }
    [[nodiscard]] bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return Valid(); }
    HANDLE Release() { return std::exchange(handle_, nullptr); }
    // Closes now; false when CloseHandle failed (a failed close of a written
    // file may mean lost data).
    bool Reset(HANDLE handle = nullptr) {
        bool ok = true;
        if (Valid()) ok = ::CloseHandle(handle_) != FALSE;
        handle_ = handle;
        return ok;
    }

private:
    HANDLE handle_ = nullptr;
};

// Owns one object that closer releases (GDI objects, icons, memory DCs).
template <typename T, typename Closer>
class UniqueObject {
public:
    UniqueObject() = default;
    explicit UniqueObject(T object) : object_(object) {}
    UniqueObject(const UniqueObject&) = delete;
    UniqueObject& operator=(const UniqueObject&) = delete;
    UniqueObject(UniqueObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    UniqueObject& operator=(UniqueObject&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.object_, nullptr));
        return *this;
    }
    ~UniqueObject() { Reset(); }

    [[nodiscard]] T Get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    void Reset(T object = nullptr) {
        if (object_ != nullptr) Closer {}(object_);
        object_ = object;
    }

private:
    T object_ = nullptr;
};

struct GdiObjectCloser {
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
struct IconCloser {
    void operator()(HICON icon) const { ::DestroyIcon(icon); }
};
struct DcCloser {
    void operator()(HDC dc) const { ::DeleteDC(dc); }
};

using UniqueFont = UniqueObject<HFONT, GdiObjectCloser>;
using UniqueBrush = UniqueObject<HBRUSH, GdiObjectCloser>;
using UniqueBitmap = UniqueObject<HBITMAP, GdiObjectCloser>;
using UniquePen = UniqueObject<HPEN, GdiObjectCloser>;
using UniqueIcon = UniqueObject<HICON, IconCloser>;
// A memory or created DC.
using UniqueHdc = UniqueObject<HDC, DcCloser>;

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { ::EndPaint(hwnd_, &paint_); }
    [[nodiscard]] HDC Get() const { return dc_; }
    [[nodiscard]] const RECT& Dirty() const { return paint_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_ {};
    HDC dc_ = nullptr;
};

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Holds one COM reference.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.ptr_, nullptr));
        return *this;
    }
    ~ComPtr() { Reset(); }
    // Holds a reference of its own to what the caller keeps.
    [[nodiscard]] static ComPtr Share(T* ptr) {
        ComPtr held;
        if (ptr != nullptr) ptr->AddRef();
        held.ptr_ = ptr;
        return held;
    }
    // A new reference for an out-parameter.
    [[nodiscard]] T* Copy() const {
        if (ptr_ != nullptr) ptr_->AddRef();
        return ptr_;
    }
    [[nodiscard]] T* Get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    // For out-parameters of creation calls; releases what was held.
    T** Put() {
        Reset();
        return &ptr_;
    }
    void Reset(T* ptr = nullptr) {
        if (ptr_ != nullptr) ptr_->Release();
        ptr_ = ptr;
    }

private:
    T* ptr_ = nullptr;
};

}  // namespace quillpane
