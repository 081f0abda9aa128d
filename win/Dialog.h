// Dialogs from dialog templates in the resources, modal or modeless. After WM_INITDIALOG the dialog is
// subclassed, so its WindowProc works as any window's, with the dialog manager as the default processing.
#pragma once

#include "win/Window.h"

class CDialog : public CWindow {
public:
    explicit CDialog(UINT templateId) : m_nTemplateId(templateId) {}

    INT_PTR DoModal(HWND parent);
    bool CreateModeless(HWND parent);
    void EndDialog(INT_PTR result);

    // Modeless dialogs get the dialog manager's keyboard handling (Tab, Enter, Esc) here.
    bool PreTranslateMessage(MSG* msg) override;

protected:
    // Returning TRUE lets the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) override;

    UINT m_nTemplateId;
    bool m_bModal = false;

private:
    static INT_PTR CALLBACK StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    WNDPROC m_pfnDefault = nullptr;
};
