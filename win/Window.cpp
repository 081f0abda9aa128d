#include "win/Window.h"

#include "win/App.h"

// A window property, not GWLP_USERDATA: hosted controls and foreign windows may use their user data,
// and a property cannot be mistaken for one of our objects.
static const wchar_t kObjectProp[] = L"VeskoraWindowObject";

CWindow::~CWindow() {
    // An object that dies with its window still alive must not leave a dangling pointer behind.
    if (m_hWnd) {
        RemovePropW(m_hWnd, kObjectProp);
        HWND hwnd = m_hWnd;
        m_hWnd = nullptr;
        ::DestroyWindow(hwnd);
    }
}

bool CWindow::RegisterClass(WNDCLASSEXW wc) {
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = StaticWndProc;
    if (!wc.hInstance) wc.hInstance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing = {sizeof(existing)};
    if (GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) return true;
    return RegisterClassExW(&wc) != 0;
}

bool CWindow::RegisterClass(const wchar_t* className, UINT style, HBRUSH background) {
    WNDCLASSEXW wc = {};
    wc.style = style;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClass(wc);
}

bool CWindow::Create(DWORD exStyle,
                     const wchar_t* className,
                     const wchar_t* title,
                     DWORD style,
                     int x,
                     int y,
                     int cx,
                     int cy,
                     HWND parent,
                     HMENU menuOrId) {
    HWND hwnd = CreateWindowExW(exStyle, className, title, style, x, y, cx, cy, parent, menuOrId,
                                GetModuleHandleW(nullptr), this);
    return hwnd != nullptr;
}

void CWindow::DestroyWindow() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

CWindow* CWindow::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<CWindow*>(GetPropW(hwnd, kObjectProp)) : nullptr;
}

bool CWindow::PreTranslateMessage(MSG*) {
    return false;
}

LRESULT CWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return Default(msg, wParam, lParam);
}

LRESULT CWindow::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    // After WM_NCDESTROY there is no window left to give the message to.
    return m_hWnd ? DefWindowProcW(m_hWnd, msg, wParam, lParam) : 0;
}

void CWindow::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    SetPropW(hwnd, kObjectProp, this);
}

LRESULT CWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = m_hWnd;
    ++m_nDispatchDepth;
    LRESULT result = WindowProc(msg, wParam, lParam);
    --m_nDispatchDepth;
    if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, kObjectProp);
        m_hWnd = nullptr;
        // The application's main window going away ends the message loop.
        CApp* app = CApp::Get();
        if (app && app->m_pMainWnd == this) {
            app->m_pMainWnd = nullptr;
            PostQuitMessage(0);
        }
        m_bPendingNcDestroy = true;
    }
    if (m_nDispatchDepth == 0 && m_bPendingNcDestroy) {
        m_bPendingNcDestroy = false;
        PostNcDestroy();  // may delete this: nothing of the object is touched afterwards
    }
    return result;
}

LRESULT CALLBACK CWindow::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWindow* self = FromHandle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<CWindow*>(cs->lpCreateParams);
        if (self) self->Attach(hwnd);
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->HandleMessage(msg, wParam, lParam);
}
