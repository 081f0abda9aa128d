// The launcher's side of the login dialog: creation, placement over the login area, visibility, teardown.
#include "launcher/MainWnd.h"
#include "web/WebDlg.h"

void CMainWnd::CreateLoginDialog() {
    auto* dlg = new CWebDlg(this);
    m_pLoginDlg = dlg;
    if (!dlg->CreateModeless(m_hWnd)) {
        // Without a template the dialog never had a window to take the object along: it is still ours.
        if (m_pLoginDlg == dlg) delete dlg;
        m_pLoginDlg = nullptr;
        return;
    }
    SetFocus(m_pLoginDlg->m_hWnd);
    // Placed at once in every start: the launcher's own move notifications may all come before the dialog exists.
    PlaceLoginDialog();
    ShowWindow(m_pLoginDlg->m_hWnd, SW_HIDE);
}

void CMainWnd::PlaceLoginDialog() {
    if (!m_pLoginDlg || !m_pLoginDlg->m_hWnd) return;
    RECT rc;
    GetWindowRect(m_hWnd, &rc);
    MoveWindow(m_pLoginDlg->m_hWnd, rc.left + m_rcLoginArea.left, rc.top + m_rcLoginArea.top,
               m_rcLoginArea.right - m_rcLoginArea.left, m_rcLoginArea.bottom - m_rcLoginArea.top, TRUE);
}

void CMainWnd::ShowLoginDialog(bool show) {
    if (m_pLoginDlg && m_pLoginDlg->m_hWnd) ShowWindow(m_pLoginDlg->m_hWnd, show ? SW_SHOW : SW_HIDE);
}

void CMainWnd::DestroyLoginDialog() {
    if (!m_pLoginDlg) return;
    m_pLoginDlg->OnCancel();  // tears the dialog down; it deletes itself and clears our pointer
    m_pLoginDlg = nullptr;
}

void CMainWnd::RefreshLoginPage() {
    if (m_pLoginDlg) m_pLoginDlg->Refresh();
}
