// Owners for system handles: each frees its handle in one place, when it goes out of scope.
#pragma once

#include <windows.h>

#include <utility>

template <typename T, typename Traits>
class ScopedResource {
public:
    ScopedResource() = default;
    explicit ScopedResource(T value) : m_value(value) {}
    ~ScopedResource() { Reset(); }
    ScopedResource(const ScopedResource&) = delete;
    ScopedResource& operator=(const ScopedResource&) = delete;
    ScopedResource(ScopedResource&& other) noexcept : m_value(other.Release()) {}
    ScopedResource& operator=(ScopedResource&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    T Get() const { return m_value; }
    operator T() const { return m_value; }
    bool IsValid() const { return Traits::IsValid(m_value); }
    T* Receive() {
        Reset();
        return &m_value;
    }
    T Release() { return std::exchange(m_value, Traits::Invalid()); }
    void Reset(T value = Traits::Invalid()) {
        if (Traits::IsValid(m_value)) Traits::Close(m_value);
        m_value = value;
    }

private:
    T m_value = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
using ScopedHandle = ScopedResource<HANDLE, KernelHandleTraits>;

struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static bool IsValid(HKEY h) { return h != nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
using ScopedRegKey = ScopedResource<HKEY, RegKeyTraits>;

struct ModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static bool IsValid(HMODULE h) { return h != nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};
using ScopedLibrary = ScopedResource<HMODULE, ModuleTraits>;

template <typename T>
struct GdiObjectTraits {
    static T Invalid() { return nullptr; }
    static bool IsValid(T h) { return h != nullptr; }
    static void Close(T h) { DeleteObject(h); }
};
template <typename T>
using ScopedGdiObject = ScopedResource<T, GdiObjectTraits<T>>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedFont = ScopedGdiObject<HFONT>;

struct MemDCTraits {
    static HDC Invalid() { return nullptr; }
    static bool IsValid(HDC h) { return h != nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};
using ScopedMemDC = ScopedResource<HDC, MemDCTraits>;

struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static bool IsValid(HICON h) { return h != nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};
using ScopedIcon = ScopedResource<HICON, IconTraits>;

struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static bool IsValid(HMENU h) { return h != nullptr; }
    static void Close(HMENU h) { DestroyMenu(h); }
};
using ScopedMenu = ScopedResource<HMENU, MenuTraits>;

// A window's device context from GetDC, given back with ReleaseDC.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND hwnd) : m_hwnd(hwnd), m_hdc(GetDC(hwnd)) {}
    ~ScopedGetDC() {
        if (m_hdc) ReleaseDC(m_hwnd, m_hdc);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    operator HDC() const { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// BeginPaint/EndPaint around one WM_PAINT.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND hwnd) : m_hwnd(hwnd) { BeginPaint(hwnd, &m_ps); }
    ~ScopedPaint() { EndPaint(m_hwnd, &m_ps); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    operator HDC() const { return m_ps.hdc; }
    const PAINTSTRUCT& Info() const { return m_ps; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
};

// Selects an object into a device context and puts the previous one back.
class ScopedSelect {
public:
    ScopedSelect(HDC hdc, HGDIOBJ obj) : m_hdc(hdc), m_old(SelectObject(hdc, obj)) {}
    ~ScopedSelect() {
        if (m_old) SelectObject(m_hdc, m_old);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_old;
};
