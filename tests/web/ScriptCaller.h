// Calling window.external the way a page's script engine does, and a window that records what reached it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "web/IJSDispatch.h"
#include "win/ComObject.h"

// One callback as it reached the window: its name and its arguments as text (the integer in decimal).
struct Callback {
    std::wstring name;
    std::vector<std::wstring> args;

    bool operator==(const Callback& other) const { return name == other.name && args == other.args; }
};
void PrintTo(const Callback& callback, std::ostream* os);

// A window that overrides every callback and writes down each call.
class RecordingWindow : public IJSDispatch {
public:
    std::vector<Callback> m_calls;

    void OnShowBindBtn() override { Add(L"OnShowBindBtn", {}); }
    void OnApiSuccess() override { Add(L"OnApiSuccess", {}); }
    void OnUnnamedApi() override { Add(L"OnUnnamedApi", {}); }
    void OnOpenGameWindowNew(std::wstring a, std::wstring b, std::wstring c, int n) override {
        Add(L"OnOpenGameWindowNew", {a, b, c, std::to_wstring(n)});
    }
    void OnReservedPair(std::wstring a, std::wstring b) override { Add(L"OnReservedPair", {a, b}); }
    void OnOpenGame(std::wstring v) override { Add(L"OnOpenGame", {v}); }
    void OnAccountRegisterSuccess(std::wstring v) override { Add(L"OnAccountRegisterSuccess", {v}); }
    void OnCloseBindPage(std::wstring v) override { Add(L"OnCloseBindPage", {v}); }
    void OnAccountBindSuccess(std::wstring v) override { Add(L"OnAccountBindSuccess", {v}); }
    void OnOpenBindPage(std::wstring v) override { Add(L"OnOpenBindPage", {v}); }
    void OnReservedText(std::wstring v) override { Add(L"OnReservedText", {v}); }
    void OnShowIM(std::wstring v) override { Add(L"OnShowIM", {v}); }
    void OnApiClose() override { Add(L"OnApiClose", {}); }
    void OnDialogBoxTopInfo(std::wstring v) override { Add(L"OnDialogBoxTopInfo", {v}); }
    void OnOpenPay(std::wstring v) override { Add(L"OnOpenPay", {v}); }
    void OnClosedBox() override { Add(L"OnClosedBox", {}); }

private:
    void Add(const wchar_t* name, std::vector<std::wstring> args) { m_calls.push_back({name, std::move(args)}); }
};

// The arguments of one script call, written in the page's order and stored last to first in rgvarg, as script
// engines store them. The call owns its variants and clears them.
class ScriptArgs {
public:
    ScriptArgs() = default;
    ScriptArgs(std::initializer_list<const wchar_t*> texts) : ScriptArgs(std::vector<const wchar_t*>(texts)) {}
    explicit ScriptArgs(const std::vector<const wchar_t*>& texts);  // nullptr gives a null BSTR
    ~ScriptArgs();
    ScriptArgs(const ScriptArgs&) = delete;
    ScriptArgs& operator=(const ScriptArgs&) = delete;

    void Add(const VARIANT& arg);  // takes over the variant
    DISPPARAMS* Params();
    UINT Count() const { return static_cast<UINT>(m_args.size()); }

private:
    std::vector<VARIANT> m_args;  // page order
    std::vector<VARIANT> m_reversed;
    DISPPARAMS m_params = {};
};

// A page object passed as an argument: its default value (DISPID_VALUE) is a text, or the object itself.
class ValueObject : public ComObject<IDispatch> {
public:
    explicit ValueObject(std::wstring value, bool returnsItself = false)
        : m_value(std::move(value)), m_returnsItself(returnsItself) {}

    LONG RefCount() const { return m_lRef; }
    int m_valueReads = 0;

    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override;

private:
    std::wstring m_value;
    bool m_returnsItself;
};

// The member's DISPID by name, as the script engine looks it up; DISPID_UNKNOWN when the lookup fails.
DISPID IdOfName(IDispatch* dispatch, const wchar_t* name);

// The outcome of one Invoke: its result code and the result variant's text when it came back as a BSTR.
struct InvokeOutcome {
    HRESULT hr = E_FAIL;
    bool hasText = false;
    std::wstring text;
};
InvokeOutcome CallMember(IDispatch* dispatch, DISPID id, ScriptArgs& args);
