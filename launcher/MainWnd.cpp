#include "launcher/MainWnd.h"

#include "win/Path.h"

CMainWnd* g_pMainWnd = nullptr;

static const wchar_t kClassName[] = L"Lumenweb";

CMainWnd::CMainWnd(int mode) {
    m_bLoginDlgCreated = mode == 1 ? FALSE : TRUE;
    WNDCLASSEXW wc = {};
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClass(wc);
    Create(0, kClassName, L"Lumenweb",
           WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, 0, 0, 0,
           nullptr, nullptr);
}

void CMainWnd::SaveSettings() {
    CLauncherSettings::SaveSettings();
}

LRESULT CMainWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE: return OnCreate();
        case WM_CLOSE: return OnClose(), 0;
    }
    return Default(msg, wParam, lParam);
}

int CMainWnd::OnCreate() {
    g_pMainWnd = this;
    m_strModulePath = GetModulePath();
    m_strModuleDir = GetModuleFolder();
    m_strIniPath = m_strModuleDir + L"static.ini";
    LoadSettings();
    int x = (GetSystemMetrics(SM_CXSCREEN) - m_nWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - m_nHeight) / 2;
    SetWindowPos(m_hWnd, nullptr, x, y, m_nWidth, m_nHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextW(m_hWnd, L"KaltoVeskora");
    return 0;
}

void CMainWnd::OnClose() {
    SaveSettings();
    DestroyWindow();
}
