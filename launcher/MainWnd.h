// The launcher: the program's main window and hub.
#pragma once

#include <string>

#include "app/Settings.h"
#include "win/Window.h"

class CMainWnd : public CWindow, public CLauncherSettings {
public:
    // mode 1: hidden start; -1: normal start.
    explicit CMainWnd(int mode);

    void SaveSettings();

    int m_nWidth = 1100;
    int m_nHeight = 600;
    std::wstring m_strModuleDir;
    std::wstring m_strModulePath;
    BOOL m_bLoginDlgCreated = TRUE;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override { delete this; }

private:
    int OnCreate();
    void OnClose();
};

extern CMainWnd* g_pMainWnd;
