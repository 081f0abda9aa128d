// The launcher: the program's main window and hub. A per-pixel-transparent picture with four link tabs, close
// and minimize buttons and the login dialog over its central area; owner of the tray icon, the boss key, the
// settings in memory, the login dialog and the game window.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <array>
#include <memory>
#include <string>

#include "app/Settings.h"
#include "skin/Skin.h"
#include "win/Window.h"

class CWebDlg;
class CZizuvGame;

// Custom messages of the launcher.
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 100;  // 1124, from the notification-area icon
constexpr UINT WM_CLOSE_GAME = WM_USER + 102;   // 1126, posted by the game window's exit questions
constexpr UINT WM_OPEN_GAME = WM_USER + 103;    // 1127, sent by the login dialog
constexpr UINT WM_GAME_INFO = WM_USER + 204;    // 1228, posted by the login dialog

constexpr UINT kTrayIconId = 5;
constexpr int kBossKeyId = 1224;
constexpr UINT_PTR kTimerStartRecord = 1105;
constexpr UINT_PTR kTimerNetworkCheck = 1103;

// Asks "确定要退出吗？"; on OK sends WM_CLOSE to wnd.
void ConfirmExit(HWND wnd);
// RegisterHotKey's modifiers for a stored boss key (hot-key control flags in bits 16 to 23).
UINT HotKeyModifiers(int hotKey);
// The addresses of the four link tabs.
std::wstring HomeSiteUrl();
std::wstring PaySiteUrl();
std::wstring ServiceSiteUrl();
std::wstring ForumSiteUrl();

class CMainWnd : public CWindow, public CLauncherSettings {
public:
    // mode 1: hidden start; -1: normal start.
    explicit CMainWnd(int mode);
    ~CMainWnd() override;

    bool PreTranslateMessage(MSG* msg) override;

    void RedrawLayered();
    void CreateLoginDialog();
    void PlaceLoginDialog();
    void SaveSettings();  // the settings file, then the boss key's unregistration

    // Tray icon, menu and boss key.
    void UpdateTrayIcon(DWORD message);
    void RegisterBossKey();
    void ToggleMainWindows();

    int m_nWidth = 0;
    int m_nHeight = 0;
    SkinImage m_pImgBack, m_pImgClose, m_pImgMin, m_pImgHome, m_pImgForum, m_pImgService, m_pImgPay;
    RECT m_rcClose{}, m_rcMin{}, m_rcHome{}, m_rcForum{}, m_rcService{}, m_rcPay{}, m_rcLoginArea{};
    int m_nCloseState = 0, m_nMinState = 0, m_nHomeState = 0, m_nForumState = 0, m_nServiceState = 0, m_nPayState = 0;
    BLENDFUNCTION m_blend = kPerPixelAlpha;
    HICON m_hIcon = nullptr;  // a shared resource icon: never destroyed
    std::wstring m_strModuleDir;
    std::wstring m_strModulePath;

    CWebDlg* m_pLoginDlg = nullptr;
    BOOL m_bLoginDlgCreated = TRUE;
    BOOL m_bWaitLoginPage = TRUE;
    CZizuvGame* m_pGameWnd = nullptr;
    BOOL m_bGameMaximized = TRUE;
    std::wstring m_strGameUrl;
    std::wstring m_strZoneName;
    BOOL m_bAccountBound = TRUE;
    BOOL m_bRegistered = FALSE;
    std::wstring m_strPayUrl;
    std::wstring m_strImText;
    BOOL m_bExitRequested = FALSE;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The launcher lives as long as its window, once it has one; a failed creation leaves the object to its
    // creator.
    void PostNcDestroy() override {
        if (m_bCreated) delete this;
    }

private:
    struct Button {
        RECT* rc;
        int* state;
        Gdiplus::Image* img;
    };
    std::array<Button, 6> Buttons();
    int OnCreate();
    void OnPaint();
    void OnMouseMove(POINT pt);
    void OnLButtonDown(POINT pt);
    void OnLButtonUp(POINT pt);
    void OnTimer(UINT_PTR id);
    void OnClose();
    void OnMove();
    void OnShowWindow(BOOL show);
    void OnCommand(UINT id);
    LRESULT OnTrayNotify(LPARAM mouseMessage);
    void OnHotKey(int id);
    void OnOpenGame();
    void OnCloseGame();
    void OnGameInfo();
    void CloseGameWindow();
    void OnTaskbarCreated();

    void ShowLoginDialog(bool show);
    void DestroyLoginDialog();
    void RefreshLoginPage();
    void ReleaseImages();
    HWND TargetWindow() const;  // the window in use: the game window while one exists
    int ButtonAt(POINT pt);
    void SetHover(int button);
    void Draw(Gdiplus::Graphics& g);

    const UINT m_uTaskbarCreated;  // broadcast when the shell (re)starts
    bool m_bCreated = false;
};

extern CMainWnd* g_pMainWnd;
