// The page's window.external: a small IDispatch without type information whose members turn script calls into
// the IJSDispatch callbacks of the window that shows the page.
//
// The window's site object creates it with the window (new CJSDispatch(*this)), hands it to the page from
// GetExternal (AddRef'd) and deletes it when the site goes, after the browser control: the reference count is
// kept for the script engine but never frees the object.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "web/IJSDispatch.h"
#include "win/ComObject.h"

class CJSDispatch : public OwnedComObject<IDispatch> {
public:
    // The script-visible members; 1002 has no name, so no page can reach it through GetIDsOfNames.
    enum : DISPID {
        DISPID_API_JIHUO = 1000,
        DISPID_API_SUCCESS = 1001,
        DISPID_UNNAMED_API = 1002,
        DISPID_OPEN_GAME_WINDOW_NEW = 1003,
        DISPID_WD_JAPI = 1004,
        DISPID_API_CLOSE = 1005,
    };

    explicit CJSDispatch(IJSDispatch& target) : m_pTarget(&target) {}

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember,
                        REFIID riid,
                        LCID lcid,
                        WORD wFlags,
                        DISPPARAMS* pDispParams,
                        VARIANT* pVarResult,
                        EXCEPINFO* pExcepInfo,
                        UINT* puArgErr) override;

private:
    void OpenGameWindowNew(const DISPPARAMS* pDispParams);
    void WdJapi(const DISPPARAMS* pDispParams, VARIANT* pVarResult);
    void RunJapiCommand(const std::wstring& strName, const std::wstring& strValue, VARIANT* pVarResult);

    IJSDispatch* const m_pTarget;
};
