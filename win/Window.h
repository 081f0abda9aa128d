// The base of every window of the program: binds the C++ object to its HWND and forwards every message to
// the virtual WindowProc, whose switch is the window's message table.
#pragma once

#include <windows.h>

class CWindow {
public:
    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    // Registers a window class whose procedure is ours; wc.lpfnWndProc and wc.hInstance are filled in.
    static bool RegisterClass(WNDCLASSEXW wc);
    // The common case: a class with the arrow cursor, the given class style and background brush.
    static bool RegisterClass(const wchar_t* className, UINT style, HBRUSH background);
    bool Create(DWORD exStyle,
                const wchar_t* className,
                const wchar_t* title,
                DWORD style,
                int x,
                int y,
                int cx,
                int cy,
                HWND parent,
                HMENU menuOrId);
    void DestroyWindow();

    // The object of one of our windows, or null for a window that is not ours.
    static CWindow* FromHandle(HWND hwnd);

    // Offered each queued message for this window or one of its descendants before it is dispatched;
    // returning true consumes it.
    virtual bool PreTranslateMessage(MSG* msg);

    HWND m_hWnd = nullptr;

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The processing a message gets when WindowProc does not handle it.
    virtual LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    // Called after the last message (WM_NCDESTROY), when m_hWnd is already null; a heap window may delete itself.
    virtual void PostNcDestroy() {}

    void Attach(HWND hwnd);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    // A handler may destroy its own window, and with it (through PostNcDestroy) the object, while outer
    // handlers of the same object are still running: the object is released only when the outermost returns.
    int m_nDispatchDepth = 0;
    bool m_bPendingNcDestroy = false;

    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
