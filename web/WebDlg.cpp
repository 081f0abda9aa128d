#include "web/WebDlg.h"

static const UINT kLoginDialogId = 117;

CWebDlg::CWebDlg(CMainWnd* owner) : CDialog(kLoginDialogId), m_pOwner(owner) {}

void CWebDlg::OnCancel() {
    DestroyWindow();
}

void CWebDlg::Refresh() {}

LRESULT CWebDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: return 1;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}
