#include "win/App.h"

#include "win/Window.h"

static CApp* s_app = nullptr;

CApp::CApp() {
    s_app = this;
}

CApp::~CApp() {
    if (s_app == this) s_app = nullptr;
}

CApp* CApp::Get() {
    return s_app;
}

int CApp::Main(HINSTANCE instance, const wchar_t* cmdLine) {
    m_hInstance = instance;
    m_lpCmdLine = cmdLine ? cmdLine : L"";
    if (InitInstance()) Run();
    return ExitInstance();
}

int CApp::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslateMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (msg.message == WM_QUIT) m_nExitCode = static_cast<int>(msg.wParam);
    return m_nExitCode;
}

bool CApp::PreTranslateMessage(MSG* msg) {
    HWND stop = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = GetParent(hwnd)) {
        CWindow* wnd = CWindow::FromHandle(hwnd);
        if (wnd && wnd->PreTranslateMessage(msg)) return true;
        if (hwnd == stop) return false;
    }
    // A top-level window of its own (not owned by the main window) gives the main window the last word,
    // so that keys the whole program answers work there too.
    return stop && msg->hwnd && m_pMainWnd->PreTranslateMessage(msg);
}
