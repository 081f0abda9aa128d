#include "win/Dialog.h"

INT_PTR CDialog::DoModal(HWND parent) {
    m_bModal = true;
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nTemplateId), parent, StaticDlgProc,
                           reinterpret_cast<LPARAM>(this));
}

bool CDialog::CreateModeless(HWND parent) {
    m_bModal = false;
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nTemplateId), parent, StaticDlgProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    if (!m_hWnd) return;
    if (m_bModal)
        ::EndDialog(m_hWnd, result);
    else
        ::DestroyWindow(m_hWnd);
}

bool CDialog::PreTranslateMessage(MSG* msg) {
    return !m_bModal && m_hWnd && IsDialogMessageW(m_hWnd, msg);
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG: return OnInitDialog();
        case WM_COMMAND:
            if (lParam == 0 || HIWORD(wParam) == BN_CLICKED) {
                if (LOWORD(wParam) == IDOK) return OnOK(), 0;
                if (LOWORD(wParam) == IDCANCEL) return OnCancel(), 0;
            }
            break;
    }
    return Default(msg, wParam, lParam);
}

LRESULT CDialog::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    return m_pfnDefault && m_hWnd ? CallWindowProcW(m_pfnDefault, m_hWnd, msg, wParam, lParam) : 0;
}

// The dialog procedure only binds the object; afterwards it leaves every message to the dialog manager,
// which is what Default() reaches from our subclass.
INT_PTR CALLBACK CDialog::StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_INITDIALOG) return FALSE;
    auto* self = reinterpret_cast<CDialog*>(lParam);
    self->Attach(hwnd);
    self->m_pfnDefault =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    return self->HandleMessage(WM_INITDIALOG, wParam, lParam);
}

LRESULT CALLBACK CDialog::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CDialog*>(FromHandle(hwnd));
    if (!self) return DefDlgProcW(hwnd, msg, wParam, lParam);
    WNDPROC original = self->m_pfnDefault;
    LRESULT result = self->HandleMessage(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    return result;
}
