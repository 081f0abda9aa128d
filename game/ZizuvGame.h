// The game window: a top-level, caption-less, resizable window around the game page. It lives as long as its
// window: the launcher destroys the window and the object goes with it.
#pragma once

#include <string>

#include "win/Window.h"

class CZizuvGame : public CWindow {
public:
    CZizuvGame();
    ~CZizuvGame() override;

    // The game information the login page hands over (message 1228 of the launcher).
    void SetGameInfo(const std::wstring& info);

    int m_nWidth = 0;
    int m_nHeight = 0;
    std::wstring m_strGameInfo;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override { delete this; }
};

extern CZizuvGame* g_pGameWnd;
