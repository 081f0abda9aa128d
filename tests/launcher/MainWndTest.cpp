#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>
#include <commctrl.h>
#include <shellapi.h>

#include "TestUtil.h"
#include "game/ZizuvGame.h"
#include "launcher/MainWnd.h"
#include "web/WebDlg.h"
#include "win/Path.h"

TEST(HotKeyModifiers, ConvertsTheControlFlags) {
    struct {
        int hotKey;
        UINT mods;
    } cases[] = {
        {121, 0},
        {121 + (HOTKEYF_SHIFT << 16), MOD_SHIFT},
        {121 + (HOTKEYF_CONTROL << 16), MOD_CONTROL},
        {121 + (HOTKEYF_ALT << 16), MOD_ALT},
        {'Q' + 6 * 65536, MOD_CONTROL | MOD_ALT},
        {'Q' + ((HOTKEYF_EXT | HOTKEYF_SHIFT) << 16), MOD_SHIFT},  // the extended-key flag is dropped
        {'Q' + (0xFF << 16), MOD_SHIFT | MOD_CONTROL | MOD_ALT},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HotKeyModifiers(c.hotKey), c.mods) << c.hotKey;
}

TEST(Sites, TabsOpenTheirPathsAndQueries) {
    struct {
        std::wstring url;
        const wchar_t* tail;
    } cases[] = {
        {HomeSiteUrl(), L"/"},
        {PaySiteUrl(), L"/?g=vesk"},
        {ServiceSiteUrl(), L"/kefu/"},
        {ForumSiteUrl(), L"/forum.php?mod=forumdisplay&fid=184"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.url.rfind(L"http://", 0), 0u) << testing::PrintToString(c.url);
        size_t tail = wcslen(c.tail);
        ASSERT_GE(c.url.size(), tail);
        EXPECT_EQ(c.url.substr(c.url.size() - tail), c.tail);
    }
}

// A real launcher in this process, its settings file next to the test executable (the tests run one at a time).
class Launcher : public testing::Test {
protected:
    void SetUp() override {
        Gdiplus::GdiplusStartup(&m_gdiplus, &m_input, nullptr);
        m_ini = GetModuleFolder() + L"static.ini";
        DeleteFileW(m_ini.c_str());
        WritePrivateProfileStringW(L"vesk", L"start", L"1", m_ini.c_str());
        WritePrivateProfileStringW(L"vesk", L"hotkey", L"", m_ini.c_str());  // no system-wide key from a test
    }
    void TearDown() override {
        if (IsWindow(m_hwnd)) DestroyWindow(m_hwnd);  // the launcher deletes itself with its window
        PumpMessages();
        DeleteFileW(m_ini.c_str());
        Gdiplus::GdiplusShutdown(m_gdiplus);
    }
    void Start(int mode = -1) {
        m_wnd = new CMainWnd(mode);
        m_hwnd = m_wnd->m_hWnd;
        ASSERT_NE(m_hwnd, nullptr);
        ShowWindow(m_hwnd, mode == 1 ? SW_HIDE : SW_SHOW);
        PumpMessages();
    }
    void Move(int x, int y) { SendMessageW(m_hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    void Release(int x, int y) { SendMessageW(m_hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    int* States() {
        m_states[0] = m_wnd->m_nCloseState;
        m_states[1] = m_wnd->m_nMinState;
        m_states[2] = m_wnd->m_nHomeState;
        m_states[3] = m_wnd->m_nPayState;
        m_states[4] = m_wnd->m_nServiceState;
        m_states[5] = m_wnd->m_nForumState;
        return m_states;
    }
    bool TrayIconExists() {
        NOTIFYICONDATAW nid = {};
        nid.cbSize = sizeof(nid);
        nid.hWnd = m_hwnd;
        nid.uID = kTrayIconId;
        return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
    }

    CMainWnd* m_wnd = nullptr;
    HWND m_hwnd = nullptr;
    std::wstring m_ini;
    int m_states[6] = {};
    ULONG_PTR m_gdiplus = 0;
    Gdiplus::GdiplusStartupInput m_input;
};

TEST_F(Launcher, IsACentredLayeredPictureWithItsTitleAndIcon) {
    Start();
    RECT rc;
    GetWindowRect(m_hwnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 1100);
    EXPECT_EQ(rc.bottom - rc.top, 600);
    EXPECT_EQ(rc.left, (GetSystemMetrics(SM_CXSCREEN) - 1100) / 2);
    EXPECT_EQ(rc.top, (GetSystemMetrics(SM_CYSCREEN) - 600) / 2);
    wchar_t title[64] = {};
    GetWindowTextW(m_hwnd, title, 64);
    EXPECT_STREQ(title, L"KaltoVeskora");
    EXPECT_TRUE(GetWindowLongW(m_hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_NE(SendMessageW(m_hwnd, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_EQ(g_pMainWnd, m_wnd);
    EXPECT_TRUE(TrayIconExists());
}

TEST_F(Launcher, HoverFollowsThePointerOneButtonAtATime) {
    Start();
    struct {
        int x, y;
        int hovered;  // index in close, min, home, pay, service, forum; -1 none
    } cases[] = {
        {1020, 140, 0}, {1030, 180, 1}, {400, 160, 2},  {900, 160, 3},
        {700, 160, 4},  {600, 160, 5},  {1030, 164, 0},  // the row shared by close and minimize belongs to close
        {10, 10, -1},   {524, 186, 2},  {525, 152, 5},  {688, 160, -1},  // the gap between forum and service
    };
    for (const auto& c : cases) {
        Move(c.x, c.y);
        int* states = States();
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(states[i], i == c.hovered ? 1 : 0) << c.x << "," << c.y << " button " << i;
    }
}

TEST_F(Launcher, AButtonActsOnlyOnReleaseAfterHover) {
    Start();
    Release(1030, 180);  // minimize, never hovered
    EXPECT_FALSE(IsIconic(m_hwnd));
    Move(1030, 180);
    Move(10, 10);  // moved off again
    Release(1030, 180);
    EXPECT_FALSE(IsIconic(m_hwnd));
    Move(1030, 180);
    Release(1030, 180);
    EXPECT_TRUE(IsIconic(m_hwnd));
    EXPECT_EQ(m_wnd->m_nMinState, 0);
}

TEST_F(Launcher, EscapeIsSwallowed) {
    Start();
    MSG esc = {m_hwnd, WM_KEYDOWN, VK_ESCAPE, 0};
    EXPECT_TRUE(m_wnd->PreTranslateMessage(&esc));
    MSG other = {m_hwnd, WM_KEYDOWN, 'A', 0};
    EXPECT_FALSE(m_wnd->PreTranslateMessage(&other));
}

TEST_F(Launcher, CloseToTrayOnlyHides) {
    Start();
    m_wnd->m_nCloseType = 1;
    SendMessageW(m_hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(m_hwnd));
    EXPECT_FALSE(IsWindowVisible(m_hwnd));
    EXPECT_TRUE(TrayIconExists());
    EXPECT_EQ(GetIniString(m_ini, L"CloseType", L"unwritten"), L"unwritten") << "a hide writes nothing";
}

TEST_F(Launcher, TrayExitClosesForRealAndWritesTheSettings) {
    Start();
    m_wnd->m_nCloseType = 1;
    m_wnd->m_nAutoStart = 1;
    SendMessageW(m_hwnd, WM_COMMAND, 40007, 0);
    EXPECT_FALSE(IsWindow(m_hwnd));
    EXPECT_EQ(GetIniString(m_ini, L"CloseType", L""), L"1");
    EXPECT_EQ(GetIniString(m_ini, L"AutoStart", L""), L"1");
    EXPECT_EQ(GetIniString(m_ini, L"hotkey", L""), L"-1") << "an empty hotkey is written back as -1";
    EXPECT_EQ(GetIniString(m_ini, L"hotName", L"x"), L"F10");
}

TEST_F(Launcher, GameWindowComesAndGoesByMessage) {
    Start();
    SendMessageW(m_hwnd, WM_OPEN_GAME, 0, 0);
    ASSERT_NE(m_wnd->m_pGameWnd, nullptr);
    CZizuvGame* game = m_wnd->m_pGameWnd;
    EXPECT_EQ(g_pGameWnd, game);
    EXPECT_TRUE(IsWindowVisible(game->m_hWnd));
    EXPECT_TRUE(IsZoomed(game->m_hWnd)) << "the first game window opens maximized";
    EXPECT_FALSE(IsWindowVisible(m_hwnd));

    ShowWindow(game->m_hWnd, SW_HIDE);
    SendMessageW(m_hwnd, WM_OPEN_GAME, 0, 0);
    EXPECT_EQ(m_wnd->m_pGameWnd, game) << "one game window at a time";
    EXPECT_FALSE(IsWindowVisible(game->m_hWnd)) << "an existing game window is not shown again";

    m_wnd->m_strImText = L"玩家|1|";
    SendMessageW(m_hwnd, WM_GAME_INFO, 0, 0);
    EXPECT_EQ(game->m_strGameInfo, L"玩家|1|");

    HWND gameHwnd = game->m_hWnd;
    SendMessageW(m_hwnd, WM_CLOSE_GAME, 0, 0);
    EXPECT_EQ(m_wnd->m_pGameWnd, nullptr);
    EXPECT_FALSE(IsWindow(gameHwnd));
    EXPECT_EQ(g_pGameWnd, nullptr);
    EXPECT_TRUE(IsWindowVisible(m_hwnd));
}

TEST_F(Launcher, AGameWindowThatGoesByItselfLeavesTheWayBack) {
    Start();
    SendMessageW(m_hwnd, WM_OPEN_GAME, 0, 0);
    ASSERT_NE(m_wnd->m_pGameWnd, nullptr);
    HWND game = m_wnd->m_pGameWnd->m_hWnd;

    // Closing the game window asks the launcher to take over.
    SendMessageW(game, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(game));
    PumpMessages();
    EXPECT_FALSE(IsWindow(game));
    EXPECT_EQ(m_wnd->m_pGameWnd, nullptr);
    EXPECT_TRUE(IsWindowVisible(m_hwnd));

    // A game window destroyed behind the launcher's back: the tray still finds the launcher.
    SendMessageW(m_hwnd, WM_OPEN_GAME, 0, 0);
    ASSERT_NE(m_wnd->m_pGameWnd, nullptr);
    DestroyWindow(m_wnd->m_pGameWnd->m_hWnd);
    EXPECT_EQ(m_wnd->m_pGameWnd, nullptr);
    EXPECT_EQ(g_pGameWnd, nullptr);
    SendMessageW(m_hwnd, WM_TRAY_NOTIFY, kTrayIconId, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(m_hwnd));
}

TEST_F(Launcher, LoginDialogKeepsItsKeysAndNeverLeavesAStalePointer) {
    Start();
    CWebDlg* dlg = m_wnd->m_pLoginDlg;
    ASSERT_NE(dlg, nullptr);
    MSG esc = {dlg->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0};
    EXPECT_TRUE(dlg->PreTranslateMessage(&esc));
    SendMessageW(dlg->m_hWnd, WM_COMMAND, IDOK, 0);  // Enter
    PumpMessages();
    ASSERT_EQ(m_wnd->m_pLoginDlg, dlg);
    EXPECT_TRUE(IsWindow(dlg->m_hWnd));

    DestroyWindow(dlg->m_hWnd);
    EXPECT_EQ(m_wnd->m_pLoginDlg, nullptr);
    SetWindowPos(m_hwnd, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // placing it again must not crash
    m_wnd->m_bExitRequested = TRUE;
    SendMessageW(m_hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(m_hwnd));
}

TEST_F(Launcher, GameInfoWithoutAGameWindowIsIgnored) {
    Start();
    m_wnd->m_strImText = L"x";
    SendMessageW(m_hwnd, WM_GAME_INFO, 0, 0);
    EXPECT_EQ(m_wnd->m_pGameWnd, nullptr);
}

TEST_F(Launcher, TrayAndBossKeyToggleTheWindowInUse) {
    Start();
    SendMessageW(m_hwnd, WM_COMMAND, 40005, 0);
    EXPECT_FALSE(IsWindowVisible(m_hwnd));
    SendMessageW(m_hwnd, WM_COMMAND, 40005, 0);
    EXPECT_TRUE(IsWindowVisible(m_hwnd));
    SendMessageW(m_hwnd, WM_HOTKEY, kBossKeyId, 0);
    EXPECT_FALSE(IsWindowVisible(m_hwnd));
    SendMessageW(m_hwnd, WM_HOTKEY, kBossKeyId + 1, 0);
    EXPECT_FALSE(IsWindowVisible(m_hwnd)) << "another hot key id is not ours";
    SendMessageW(m_hwnd, WM_TRAY_NOTIFY, kTrayIconId, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(m_hwnd));

    // With a game window, that window is the target and the launcher stays hidden.
    SendMessageW(m_hwnd, WM_OPEN_GAME, 0, 0);
    HWND game = m_wnd->m_pGameWnd->m_hWnd;
    ShowWindow(game, SW_MINIMIZE);
    SendMessageW(m_hwnd, WM_TRAY_NOTIFY, kTrayIconId, WM_LBUTTONDBLCLK);
    EXPECT_FALSE(IsIconic(game));
    EXPECT_TRUE(IsWindowVisible(game));
    EXPECT_FALSE(IsWindowVisible(m_hwnd));
    SendMessageW(m_hwnd, WM_HOTKEY, kBossKeyId, 0);
    EXPECT_FALSE(IsWindowVisible(game));
    EXPECT_FALSE(IsWindowVisible(m_hwnd));
}

TEST_F(Launcher, ARestartedShellGetsTheIconBack) {
    Start();
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = m_hwnd;
    nid.uID = kTrayIconId;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &nid));  // as if the shell had gone
    ASSERT_FALSE(TrayIconExists());
    SendMessageW(m_hwnd, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(TrayIconExists());
}

TEST_F(Launcher, HiddenStartCreatesTheLoginDialogWhenFirstShown) {
    Start(1);
    EXPECT_EQ(m_wnd->m_pLoginDlg, nullptr);
    EXPECT_FALSE(m_wnd->m_bLoginDlgCreated);
    ShowWindow(m_hwnd, SW_SHOW);
    ASSERT_NE(m_wnd->m_pLoginDlg, nullptr);
    HWND dlg = m_wnd->m_pLoginDlg->m_hWnd;
    ASSERT_NE(dlg, nullptr);
    EXPECT_FALSE(IsWindowVisible(dlg)) << "hidden until its page has loaded";
    RECT main, login;
    GetWindowRect(m_hwnd, &main);
    GetWindowRect(dlg, &login);
    EXPECT_EQ(login.left - main.left, 376);
    EXPECT_EQ(login.top - main.top, 204);
    EXPECT_EQ(login.right - login.left, 625);
    EXPECT_EQ(login.bottom - login.top, 297);

    // It follows the launcher.
    SetWindowPos(m_hwnd, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(dlg, &login);
    EXPECT_EQ(login.left, 10 + 376);
    EXPECT_EQ(login.top, 20 + 204);
}

TEST_F(Launcher, NetworkCheckWritesTheFirstUseDateOnce) {
    Start();
    SendMessageW(m_hwnd, WM_TIMER, kTimerNetworkCheck, 0);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(GetIniInt(m_ini, L"nYear", 0), now.wYear);
    WritePrivateProfileStringW(L"vesk", L"nYear", L"1999", m_ini.c_str());
    SendMessageW(m_hwnd, WM_TIMER, kTimerNetworkCheck, 0);
    EXPECT_EQ(GetIniInt(m_ini, L"nYear", 0), 1999) << "a recorded date stays";
}

TEST(TrayMenu, HasItsFourEntriesInOrder) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(111));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    struct {
        UINT id;
        const wchar_t* text;
    } entries[] = {{40005, L"隐藏/显示(F10)"}, {40006, L"清除缓存"}, {40010, L"设置"}, {40007, L"退出"}};
    ASSERT_EQ(GetMenuItemCount(popup), 4);
    for (int i = 0; i < 4; ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(popup, i, text, 64, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(popup, i), entries[i].id) << i;
        EXPECT_STREQ(text, entries[i].text) << i;
    }
    DestroyMenu(menu);
}
