#include "web/WebDlg.h"

#include "launcher/MainWnd.h"

static const UINT kLoginDialogId = 117;

CWebDlg::CWebDlg(CMainWnd* owner) : CDialog(kLoginDialogId), m_pOwner(owner) {}

void CWebDlg::OnCancel() {
    DestroyWindow();
}

void CWebDlg::Refresh() {}

bool CWebDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) return true;
    if (msg->message == WM_SYSKEYDOWN && msg->wParam == VK_F4) {
        ConfirmExit(m_pOwner->m_hWnd);
        return true;
    }
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CWebDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: return 1;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}

void CWebDlg::PostNcDestroy() {
    // However the dialog went, the launcher must not keep a pointer to it.
    if (m_pOwner->m_pLoginDlg == this) m_pOwner->m_pLoginDlg = nullptr;
    delete this;
}
