// The launcher's notification-area icon, its menu and the boss key.
#include "launcher/MainWnd.h"

#include <commctrl.h>
#include <shellapi.h>

#include "game/ZizuvGame.h"
#include "win/Handle.h"

static const UINT kTrayMenuId = 111;
enum : UINT { kCmdToggle = 40005, kCmdClearCache = 40006, kCmdExit = 40007, kCmdNothing = 40008, kCmdSettings = 40010 };

void CMainWnd::UpdateTrayIcon(DWORD message) {
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = m_hWnd;
    nid.uID = kTrayIconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_TRAY_NOTIFY;
    nid.hIcon = m_hIcon;
    lstrcpynW(nid.szTip, L"KaltoVeskora", ARRAYSIZE(nid.szTip));
    Shell_NotifyIconW(message, &nid);
}

// A restarted shell has forgotten our icon; without it a launcher hidden to the tray could not be reached.
void CMainWnd::OnTaskbarCreated() {
    UpdateTrayIcon(NIM_ADD);
}

// The stored value holds the hot-key control's modifier flags in bits 16 to 23; RegisterHotKey wants its own.
UINT HotKeyModifiers(int hotKey) {
    UINT flags = (static_cast<UINT>(hotKey) >> 16) & 0xFF;
    UINT mods = 0;
    if (flags & HOTKEYF_SHIFT) mods |= MOD_SHIFT;
    if (flags & HOTKEYF_CONTROL) mods |= MOD_CONTROL;
    if (flags & HOTKEYF_ALT) mods |= MOD_ALT;
    return mods;
}

void CMainWnd::RegisterBossKey() {
    // A key that another program holds simply does nothing.
    RegisterHotKey(m_hWnd, kBossKeyId, HotKeyModifiers(m_nHotKey), m_nHotKey & 0xFFFF);
}

HWND CMainWnd::TargetWindow() const {
    return m_pGameWnd && IsWindow(m_pGameWnd->m_hWnd) ? m_pGameWnd->m_hWnd : m_hWnd;
}

LRESULT CMainWnd::OnTrayNotify(LPARAM mouseMessage) {
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        HWND target = TargetWindow();
        ShowWindow(target, IsIconic(target) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(target);
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        ScopedMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTrayMenuId)));
        HMENU popup = GetSubMenu(menu, 0);
        if (!popup) return 0;
        POINT pt;
        GetCursorPos(&pt);
        SetForegroundWindow(m_hWnd);
        CheckMenuItem(popup, 1, MF_BYPOSITION | (m_nAutoStart ? MF_CHECKED : MF_UNCHECKED));
        TrackPopupMenu(popup, 0, pt.x, pt.y, 0, m_hWnd, nullptr);
        PostMessageW(m_hWnd, WM_NULL, 0, 0);  // lets the menu close when the player clicks elsewhere
    }
    return 0;
}

void CMainWnd::OnCommand(UINT id) {
    switch (id) {
        case kCmdToggle: ToggleMainWindows(); break;
        case kCmdClearCache: break;
        case kCmdSettings: break;
        case kCmdExit:
            m_bExitRequested = TRUE;
            SendMessageW(m_hWnd, WM_CLOSE, 0, 0);
            break;
        case kCmdNothing: break;
    }
}

void CMainWnd::ToggleMainWindows() {
    HWND target = TargetWindow();
    if (!IsWindowVisible(target)) {
        ShowWindow(target, SW_SHOW);
        SetForegroundWindow(target);
    } else {
        ShowWindow(target, SW_HIDE);
    }
}

void CMainWnd::OnHotKey(int id) {
    if (id == kBossKeyId) ToggleMainWindows();
}
