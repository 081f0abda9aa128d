#include "game/ZizuvGame.h"

#include "launcher/MainWnd.h"

CZizuvGame* g_pGameWnd = nullptr;

static const wchar_t kClassName[] = L"ZizuvGame";

CZizuvGame::CZizuvGame() {
    g_pGameWnd = this;
    RegisterClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    m_nWidth = screenW < 1300 ? screenW : 1300;
    m_nHeight = screenH >= 820 ? 820 : screenH - 80;
    Create(0, kClassName, L"",
           WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
           (screenW - m_nWidth) / 2, (screenH - m_nHeight) / 2, m_nWidth, m_nHeight, nullptr, nullptr);
    if (m_hWnd) SetWindowTextW(m_hWnd, L"KaltoVeskora");
}

CZizuvGame::~CZizuvGame() {
    if (g_pGameWnd == this) g_pGameWnd = nullptr;
    if (g_pMainWnd && g_pMainWnd->m_pGameWnd == this) g_pMainWnd->m_pGameWnd = nullptr;
}

void CZizuvGame::SetGameInfo(const std::wstring& info) {
    m_strGameInfo = info;
}

LRESULT CZizuvGame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        // Leaving the game is the launcher's business: it closes this window and comes back.
        case WM_CLOSE:
            if (g_pMainWnd) PostMessageW(g_pMainWnd->m_hWnd, WM_CLOSE_GAME, 0, 0);
            return 0;
        case WM_NCDESTROY:
            if (g_pGameWnd == this) g_pGameWnd = nullptr;
            break;
    }
    return Default(msg, wParam, lParam);
}
