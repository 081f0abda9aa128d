#include "ScriptCaller.h"

#include "win/Str.h"

void PrintTo(const Callback& callback, std::ostream* os) {
    std::string text = ToUtf8(callback.name) + "(";
    for (size_t i = 0; i < callback.args.size(); ++i)
        text += (i ? ", \"" : "\"") + ToUtf8(callback.args[i]) + "\"";
    *os << text << ")";
}

ScriptArgs::ScriptArgs(const std::vector<const wchar_t*>& texts) {
    for (const wchar_t* text : texts) {
        VARIANT arg;
        VariantInit(&arg);
        V_VT(&arg) = VT_BSTR;
        V_BSTR(&arg) = text ? SysAllocString(text) : nullptr;
        Add(arg);
    }
}

ScriptArgs::~ScriptArgs() {
    for (VARIANT& arg : m_args)
        VariantClear(&arg);
}

void ScriptArgs::Add(const VARIANT& arg) {
    m_args.push_back(arg);
}

DISPPARAMS* ScriptArgs::Params() {
    // Copies of the variants, so that a bridge writing into rgvarg would not change what the test clears.
    m_reversed.assign(m_args.rbegin(), m_args.rend());
    m_params = {};
    m_params.cArgs = Count();
    m_params.rgvarg = m_reversed.empty() ? nullptr : m_reversed.data();
    return &m_params;
}

DISPID IdOfName(IDispatch* dispatch, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return DISPID_UNKNOWN;
    return id;
}

InvokeOutcome CallMember(IDispatch* dispatch, DISPID id, ScriptArgs& args) {
    InvokeOutcome outcome;
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO excep = {};
    UINT argErr = 0;
    outcome.hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                  args.Params(), &result, &excep, &argErr);
    if (V_VT(&result) == VT_BSTR) {
        outcome.hasText = true;
        if (V_BSTR(&result)) outcome.text.assign(V_BSTR(&result), SysStringLen(V_BSTR(&result)));
    } else {
        EXPECT_EQ(V_VT(&result), VT_EMPTY) << "the bridge wrote something other than text into the result";
    }
    VariantClear(&result);
    return outcome;
}

STDMETHODIMP ValueObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) {
    if (id != DISPID_VALUE || !(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
    ++m_valueReads;
    VariantInit(result);
    if (m_returnsItself) {
        AddRef();
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = this;
    } else {
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocStringLen(m_value.data(), static_cast<UINT>(m_value.size()));
    }
    return S_OK;
}
