#include "launcher/MainWnd.h"

#include <sensapi.h>
#include <shellapi.h>

#include <array>

#include "game/ZizuvGame.h"
#include "maintenance/Privilege.h"
#include "services/Hosts.h"
#include "services/StatLog.h"
#include "skin/Skin.h"
#include "win/Handle.h"
#include "win/Path.h"

CMainWnd* g_pMainWnd = nullptr;

static const wchar_t kClassName[] = L"Lumenweb";
static const int kIconId = 5;

void ConfirmExit(HWND wnd) {
    if (MessageBoxW(nullptr, L"确定要退出吗？", L"退出提示", MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
        SendMessageW(wnd, WM_CLOSE, 0, 0);
}

// In hit-test order. The close and minimize rectangles share one pixel row: close wins it.
enum { kClose, kMin, kHome, kPay, kService, kForum, kButtonCount };

std::array<CMainWnd::Button, 6> CMainWnd::Buttons() {
    return {{{&m_rcClose, &m_nCloseState, m_pImgClose.get()},
             {&m_rcMin, &m_nMinState, m_pImgMin.get()},
             {&m_rcHome, &m_nHomeState, m_pImgHome.get()},
             {&m_rcPay, &m_nPayState, m_pImgPay.get()},
             {&m_rcService, &m_nServiceState, m_pImgService.get()},
             {&m_rcForum, &m_nForumState, m_pImgForum.get()}}};
}

CMainWnd::CMainWnd(int mode) : m_uTaskbarCreated(RegisterWindowMessageW(L"TaskbarCreated")) {
    m_bLoginDlgCreated = mode == 1 ? FALSE : TRUE;
    RegisterClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    m_bCreated = Create(0, kClassName, L"Lumenweb",
                        WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0,
                        0, 0, 0, nullptr, nullptr);
}

CMainWnd::~CMainWnd() {
    CloseGameWindow();
    // Windows and threads that outlive the launcher must not reach it through a stale pointer.
    if (g_pMainWnd == this) g_pMainWnd = nullptr;
}

// The game window goes with its window; its destructor clears m_pGameWnd.
void CMainWnd::CloseGameWindow() {
    if (m_pGameWnd) m_pGameWnd->DestroyWindow();
    m_pGameWnd = nullptr;
}

LRESULT CMainWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (msg) {
        case WM_CREATE: return OnCreate();
        case WM_PAINT: OnPaint(); return 0;
        case WM_MOUSEMOVE: OnMouseMove(pt); break;
        case WM_LBUTTONDOWN: OnLButtonDown(pt); break;
        case WM_LBUTTONUP: OnLButtonUp(pt); break;
        case WM_TIMER: OnTimer(wParam); break;
        case WM_CLOSE: OnClose(); return 0;
        case WM_MOVE: OnMove(); break;
        case WM_SHOWWINDOW: OnShowWindow(static_cast<BOOL>(wParam)); break;
        case WM_COMMAND: OnCommand(LOWORD(wParam)); break;
        case WM_TRAY_NOTIFY: return OnTrayNotify(lParam);
        case WM_HOTKEY: OnHotKey(static_cast<int>(wParam)); break;
        case WM_OPEN_GAME: OnOpenGame(); break;
        case WM_CLOSE_GAME: OnCloseGame(); break;
        case WM_GAME_INFO: OnGameInfo(); break;
        default:
            if (msg == m_uTaskbarCreated) OnTaskbarCreated();
            break;
    }
    return Default(msg, wParam, lParam);
}

int CMainWnd::OnCreate() {
    m_strModuleDir = GetModuleFolder();
    m_strModulePath = GetModulePath();

    m_hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconId));
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_pImgBack = LoadSkinImage(109);
    m_pImgClose = LoadSkinImage(104);
    m_pImgMin = LoadSkinImage(112);
    m_pImgHome = LoadSkinImage(124);
    m_pImgPay = LoadSkinImage(122);
    m_pImgService = LoadSkinImage(123);
    m_pImgForum = LoadSkinImage(121);
    if (m_pImgBack) {
        m_nWidth = static_cast<int>(m_pImgBack->GetWidth());
        m_nHeight = static_cast<int>(m_pImgBack->GetHeight());
    }

    m_rcClose = {1013, 136, 1042, 165};
    m_rcMin = {1021, 164, 1047, 190};
    m_rcHome = {363, 152, 525, 187};
    m_rcForum = {525, 152, 687, 187};
    m_rcService = {690, 152, 852, 187};
    m_rcPay = {852, 152, 1014, 187};
    m_rcLoginArea = {376, 204, 1001, 501};

    int x = (GetSystemMetrics(SM_CXSCREEN) - m_nWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - m_nHeight) / 2;
    SetWindowPos(m_hWnd, HWND_TOP, x, y, m_nWidth, m_nHeight, 0);

    g_pMainWnd = this;
    SetWindowTextW(m_hWnd, L"KaltoVeskora");
    RedrawLayered();
    EnableDebugPrivilege();

    m_strIniPath = m_strModuleDir + L"static.ini";
    LoadSettings();
    UpdateTrayIcon(NIM_ADD);
    if (m_nHotKey != -1) RegisterBossKey();
    if (m_bLoginDlgCreated) CreateLoginDialog();

    SetTimer(m_hWnd, kTimerStartRecord, 10000, nullptr);
    SetTimer(m_hWnd, kTimerNetworkCheck, 300000, nullptr);
    return 0;
}

// The picture is presented as a layered window: painting has nothing to draw.
void CMainWnd::OnPaint() {
    ScopedPaint paint(m_hWnd);
}

void CMainWnd::Draw(Gdiplus::Graphics& g) {
    if (m_pImgBack) DrawImageFit(m_pImgBack.get(), g, 0, 0, m_nWidth, m_nHeight);
    // Minimize first so that the close button covers their shared row.
    static const int kDrawOrder[] = {kMin, kClose, kHome, kPay, kService, kForum};
    auto buttons = Buttons();
    for (int i : kDrawOrder) {
        const Button& b = buttons[i];
        if (b.img) DrawSpriteFrame(g, b.img, *b.rc, *b.state, SpriteLayout::Vertical);
    }
}

void CMainWnd::RedrawLayered() {
    PresentLayered(m_hWnd, m_blend, [this](Gdiplus::Graphics& g) { Draw(g); });
}

int CMainWnd::ButtonAt(POINT pt) {
    auto buttons = Buttons();
    for (int i = 0; i < kButtonCount; ++i)
        if (PtInRect(buttons[i].rc, pt)) return i;
    return -1;
}

void CMainWnd::SetHover(int button) {
    auto buttons = Buttons();
    if (button >= 0 && *buttons[button].state == 1) return;
    bool changed = false;
    for (int i = 0; i < kButtonCount; ++i) {
        int state = i == button ? 1 : 0;
        changed |= *buttons[i].state != state;
        *buttons[i].state = state;
    }
    if (changed) RedrawLayered();
}

void CMainWnd::OnMouseMove(POINT pt) {
    int button = ButtonAt(pt);
    SetHover(button);
    if (button == kClose || button == kMin) SetCursor(LoadCursorW(nullptr, IDC_HAND));
}

void CMainWnd::OnLButtonDown(POINT pt) {
    if (ButtonAt(pt) >= 0) return;
    ReleaseCapture();
    SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

static void OpenInBrowser(const std::wstring& url) {
    ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOW);
}

void CMainWnd::OnLButtonUp(POINT pt) {
    int button = ButtonAt(pt);
    if (button < 0 || *Buttons()[button].state != 1) return;
    *Buttons()[button].state = 0;
    RedrawLayered();
    switch (button) {
        case kClose: ConfirmExit(m_hWnd); break;
        case kMin: SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0); break;
        case kHome: OpenInBrowser(HomeSiteUrl()); break;
        case kPay: OpenInBrowser(PaySiteUrl()); break;
        case kService: OpenInBrowser(ServiceSiteUrl()); break;
        case kForum: OpenInBrowser(ForumSiteUrl()); break;
    }
}

bool CMainWnd::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) return true;
    if (msg->message == WM_SYSKEYDOWN && msg->wParam == VK_F4) {
        ConfirmExit(m_hWnd);
        return true;
    }
    return false;
}

void CMainWnd::OnTimer(UINT_PTR id) {
    if (id == kTimerStartRecord) {
        KillTimer(m_hWnd, id);
        if (!m_strUid.empty()) SendStatLog(m_strUid, L"vesk", L"4");
    } else if (id == kTimerNetworkCheck) {
        KillTimer(m_hWnd, id);
        DWORD flags = 0;
        if (!IsNetworkAlive(&flags)) SetTimer(m_hWnd, kTimerNetworkCheck, 120000, nullptr);
        if (!m_strIniPath.empty() && GetIniInt(m_strIniPath, L"nYear", 0) == 0) RecordFirstUseDate();
    }
}

void CMainWnd::ReleaseImages() {
    for (auto* img : {&m_pImgBack, &m_pImgClose, &m_pImgMin, &m_pImgHome, &m_pImgForum, &m_pImgService, &m_pImgPay})
        img->reset();
}

void CMainWnd::OnClose() {
    if (m_nCloseType == 1 && !m_bExitRequested) {
        ShowWindow(m_hWnd, SW_HIDE);
        return;
    }
    ReleaseImages();
    DestroyLoginDialog();
    UpdateTrayIcon(NIM_DELETE);
    SaveSettings();
    ShowWindow(m_hWnd, SW_HIDE);
    DestroyWindow();
}

void CMainWnd::SaveSettings() {
    CLauncherSettings::SaveSettings();
    UnregisterHotKey(m_hWnd, kBossKeyId);
}

void CMainWnd::OnMove() {
    PlaceLoginDialog();
}

void CMainWnd::OnShowWindow(BOOL show) {
    if (!m_bLoginDlgCreated) {
        CreateLoginDialog();
        m_bLoginDlgCreated = TRUE;
    }
    ShowLoginDialog(show && !m_bWaitLoginPage);
}

void CMainWnd::OnOpenGame() {
    if (!m_pGameWnd) {
        m_pGameWnd = new CZizuvGame();
        if (!m_pGameWnd->m_hWnd) {
            delete m_pGameWnd;  // no window to take it along; the tray icon stays the way back
            m_pGameWnd = nullptr;
        } else {
            if (m_bGameMaximized) SendMessageW(m_pGameWnd->m_hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
            ShowWindow(m_pGameWnd->m_hWnd, SW_SHOW);
        }
    }
    ShowWindow(m_hWnd, SW_HIDE);
}

void CMainWnd::OnCloseGame() {
    CloseGameWindow();
    RefreshLoginPage();
    ShowWindow(m_hWnd, SW_SHOW);
    SetForegroundWindow(m_hWnd);
}

void CMainWnd::OnGameInfo() {
    // The login page may hand its information over before any game window exists: nothing to give it to then.
    if (m_pGameWnd && !m_strImText.empty()) m_pGameWnd->SetGameInfo(m_strImText);
}
