// COM pointers and the few COM owners the program needs.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

// COM for this thread for as long as the object lives (apartment-threaded).
class ScopedCoInit {
public:
    ScopedCoInit() : m_hr(CoInitialize(nullptr)) {}
    ~ScopedCoInit() {
        if (SUCCEEDED(m_hr)) CoUninitialize();
    }
    ScopedCoInit(const ScopedCoInit&) = delete;
    ScopedCoInit& operator=(const ScopedCoInit&) = delete;

private:
    HRESULT m_hr;
};

// A BSTR with one owner.
class ScopedBstr {
public:
    ScopedBstr() = default;
    explicit ScopedBstr(const wchar_t* text) : m_bstr(SysAllocString(text)) {}
    ~ScopedBstr() { SysFreeString(m_bstr); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;

    BSTR Get() const { return m_bstr; }
    BSTR* Receive() {
        SysFreeString(m_bstr);
        m_bstr = nullptr;
        return &m_bstr;
    }
    BSTR Release() {
        BSTR b = m_bstr;
        m_bstr = nullptr;
        return b;
    }

private:
    BSTR m_bstr = nullptr;
};

// A VARIANT cleared by its owner.
class ScopedVariant {
public:
    ScopedVariant() { VariantInit(&m_var); }
    ~ScopedVariant() { VariantClear(&m_var); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;

    VARIANT* operator&() { return &m_var; }
    VARIANT& Get() { return m_var; }

private:
    VARIANT m_var;
};
