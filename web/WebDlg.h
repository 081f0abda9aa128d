// The login dialog: a modeless, borderless dialog that the launcher keeps over its login area.
#pragma once

#include "win/Dialog.h"

class CMainWnd;

class CWebDlg : public CDialog {
public:
    explicit CWebDlg(CMainWnd* owner);

    void OnCancel() override;  // the dialog's teardown
    void Refresh();            // reloads the login page

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override { delete this; }

private:
    CMainWnd* m_pOwner;
};
