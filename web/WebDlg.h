// The login dialog: a modeless, borderless dialog that the launcher keeps over its login area.
#pragma once

#include "win/Dialog.h"

class CMainWnd;

class CWebDlg : public CDialog {
public:
    explicit CWebDlg(CMainWnd* owner);

    void OnCancel() override;  // the dialog's teardown, called by the launcher at its real close
    void Refresh();            // reloads the login page

    // Esc does nothing and Alt+F4 asks the launcher's exit question, as in every window of the client.
    bool PreTranslateMessage(MSG* msg) override;

protected:
    void OnOK() override {}  // Enter belongs to the page
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    CMainWnd* m_pOwner;
};
