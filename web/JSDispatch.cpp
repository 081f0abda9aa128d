#include "web/JSDispatch.h"

#include "win/Com.h"
#include "win/Str.h"

namespace {

const struct {
    const wchar_t* name;
    DISPID id;
} kMembers[] = {
    {L"API_jihuo", CJSDispatch::DISPID_API_JIHUO},
    {L"API_success", CJSDispatch::DISPID_API_SUCCESS},
    {L"OpenGameWindowNew", CJSDispatch::DISPID_OPEN_GAME_WINDOW_NEW},
    {L"WD_JAPI", CJSDispatch::DISPID_WD_JAPI},
    {L"API_close", CJSDispatch::DISPID_API_CLOSE},
};

// WD_JAPI commands, tried in this order; the first keyword found inside the command name decides. Each row
// either answers with a text or calls one callback, with the value or without.
const struct {
    const wchar_t* keyword;
    const wchar_t* answer;
    void (IJSDispatch::*onValue)(std::wstring);
    void (IJSDispatch::*onCall)();
} kJapiCommands[] = {
    {L"getApiVersion", L"1", nullptr, nullptr},
    {L"OpenGame", nullptr, &IJSDispatch::OnOpenGame, nullptr},
    {L"ShowBindBtn", nullptr, nullptr, &IJSDispatch::OnShowBindBtn},
    {L"OpenBindPage", nullptr, &IJSDispatch::OnOpenBindPage, nullptr},
    {L"CloseBindPage", nullptr, &IJSDispatch::OnCloseBindPage, nullptr},
    {L"AccountBindSuccess", nullptr, &IJSDispatch::OnAccountBindSuccess, nullptr},
    {L"AccountRegisterSuccess", nullptr, &IJSDispatch::OnAccountRegisterSuccess, nullptr},
    {L"getClientVersion", L"1001", nullptr, nullptr},
    {L"ShowIM", nullptr, &IJSDispatch::OnShowIM, nullptr},
    {L"DialogBoxTopInfo", nullptr, &IJSDispatch::OnDialogBoxTopInfo, nullptr},
    {L"openPay", nullptr, &IJSDispatch::OnOpenPay, nullptr},
    {L"closedBox", nullptr, nullptr, &IJSDispatch::OnClosedBox},
};

UINT ArgCount(const DISPPARAMS* params) {
    return params && params->rgvarg ? params->cArgs : 0;
}

// Script argument `index` (0 = the first one the page wrote), or null when the page passed fewer. Script engines
// store the arguments last to first, so it is counted from the end of rgvarg.
const VARIANT* ScriptArg(const DISPPARAMS* params, UINT index) {
    UINT count = ArgCount(params);
    if (index >= count) return nullptr;
    return &params->rgvarg[count - 1 - index];
}

std::wstring BstrText(BSTR text) {
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

// A script variable may come by reference: one level of VT_VARIANT reference is looked through. A reference
// without a target, or a reference to a reference, gives null.
const VARIANT* Referenced(const VARIANT* arg) {
    if ((V_VT(arg) & VT_BYREF) && !V_BYREF(arg)) return nullptr;
    if (V_VT(arg) != (VT_VARIANT | VT_BYREF)) return arg;
    arg = V_VARIANTREF(arg);
    if ((V_VT(arg) & VT_BYREF) && (!V_BYREF(arg) || V_VT(arg) == (VT_VARIANT | VT_BYREF))) return nullptr;
    return arg;
}

std::wstring ArgText(const VARIANT* arg, bool askObjects = true);

// An object reads as its default value, asked for once here rather than by the system's conversion: a value
// that is itself an object reads as empty, so that no object can send the conversion round in circles.
std::wstring ObjectText(IDispatch* object) {
    if (!object) return std::wstring();
    ScopedVariant value;
    DISPPARAMS none = {};
    if (FAILED(object->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                              nullptr)))
        return std::wstring();
    return ArgText(&value, false);
}

// An argument as text. Pages are not trusted to pass strings: numbers, booleans and the like go through the
// system's variant conversion, objects give their default value, and what cannot be converted reads as empty.
std::wstring ArgText(const VARIANT* arg, bool askObjects) {
    if (arg) arg = Referenced(arg);
    if (!arg) return std::wstring();
    switch (V_VT(arg)) {
        case VT_BSTR: return BstrText(V_BSTR(arg));
        case VT_BSTR | VT_BYREF: return BstrText(*V_BSTRREF(arg));
        case VT_DISPATCH: return askObjects ? ObjectText(V_DISPATCH(arg)) : std::wstring();
        case VT_DISPATCH | VT_BYREF: return askObjects ? ObjectText(*V_DISPATCHREF(arg)) : std::wstring();
        case VT_UNKNOWN:
        case VT_UNKNOWN | VT_BYREF: return std::wstring();
    }
    ScopedVariant text;
    // The conversion only reads its source; invariant, so that numbers read the same on every system.
    HRESULT hr = VariantChangeTypeEx(&text, const_cast<VARIANT*>(arg), LOCALE_INVARIANT, VARIANT_ALPHABOOL, VT_BSTR);
    return SUCCEEDED(hr) && V_VT(&text) == VT_BSTR ? BstrText(V_BSTR(&text)) : std::wstring();
}

std::wstring ScriptArgText(const DISPPARAMS* params, UINT index) {
    return ArgText(ScriptArg(params, index));
}

}  // namespace

STDMETHODIMP CJSDispatch::GetTypeInfoCount(UINT*) {
    return E_NOTIMPL;
}

STDMETHODIMP CJSDispatch::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

// Only the first name counts; names are matched without regard to case, as script languages differ there.
STDMETHODIMP CJSDispatch::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId) {
    if (!rgszNames || cNames == 0 || !rgDispId) return E_INVALIDARG;
    const wchar_t* name = rgszNames[0] ? rgszNames[0] : L"";
    for (const auto& member : kMembers) {
        if (!EqualsNoCase(name, member.name)) continue;
        rgDispId[0] = member.id;
        // Named arguments are not supported; say so rather than leave the caller's slots unwritten.
        for (UINT i = 1; i < cNames; ++i)
            rgDispId[i] = DISPID_UNKNOWN;
        return S_OK;
    }
    return E_NOTIMPL;
}

// Method call and property get are served alike. Nothing after a callback touches the object: the callback may
// send messages that run a good part of the program before it returns.
STDMETHODIMP CJSDispatch::Invoke(DISPID dispIdMember,
                                 REFIID,
                                 LCID,
                                 WORD,
                                 DISPPARAMS* pDispParams,
                                 VARIANT* pVarResult,
                                 EXCEPINFO*,
                                 UINT*) {
    switch (dispIdMember) {
        case DISPID_API_JIHUO: m_pTarget->OnShowBindBtn(); return S_OK;
        case DISPID_API_SUCCESS: m_pTarget->OnApiSuccess(); return S_OK;
        case DISPID_UNNAMED_API: m_pTarget->OnUnnamedApi(); return S_OK;
        case DISPID_OPEN_GAME_WINDOW_NEW: OpenGameWindowNew(pDispParams); return S_OK;
        case DISPID_WD_JAPI: WdJapi(pDispParams, pVarResult); return S_OK;
        case DISPID_API_CLOSE: m_pTarget->OnApiClose(); return S_OK;
    }
    return E_NOTIMPL;
}

// OpenGameWindowNew(gameUrl, second, zoneName, unused): the first three script arguments, in the page's order.
// Arguments the page left out read as empty.
void CJSDispatch::OpenGameWindowNew(const DISPPARAMS* pDispParams) {
    std::wstring strGameUrl = ScriptArgText(pDispParams, 0);
    std::wstring strSecond = ScriptArgText(pDispParams, 1);
    std::wstring strZoneName = ScriptArgText(pDispParams, 2);
    m_pTarget->OnOpenGameWindowNew(strGameUrl, strSecond, strZoneName, 0);
}

// WD_JAPI(name, value) with exactly two arguments; with any other number the last argument is the name and the
// value is empty. Without arguments the name is empty and matches no command.
void CJSDispatch::WdJapi(const DISPPARAMS* pDispParams, VARIANT* pVarResult) {
    UINT count = ArgCount(pDispParams);
    std::wstring strName, strValue;
    if (count == 2) {
        strName = ScriptArgText(pDispParams, 0);
        strValue = ScriptArgText(pDispParams, 1);
    } else if (count > 0) {
        strName = ScriptArgText(pDispParams, count - 1);
    }
    RunJapiCommand(strName, strValue, pVarResult);
}

// Keywords are searched case-sensitively inside the name, so a longer name that embeds one acts like it
// ("OpenGameWindowNew" opens the game). The answers are new BSTRs that belong to the caller.
void CJSDispatch::RunJapiCommand(const std::wstring& strName, const std::wstring& strValue, VARIANT* pVarResult) {
    for (const auto& command : kJapiCommands) {
        if (strName.find(command.keyword) == std::wstring::npos) continue;
        if (command.answer && pVarResult) {
            VariantInit(pVarResult);
            V_VT(pVarResult) = VT_BSTR;
            V_BSTR(pVarResult) = SysAllocString(command.answer);
        } else if (command.onValue) {
            (m_pTarget->*command.onValue)(strValue);
        } else if (command.onCall) {
            (m_pTarget->*command.onCall)();
        }
        return;
    }
}
