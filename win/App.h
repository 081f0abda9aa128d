// The application object: start-up and shut-down hooks around one message loop that routes keys through
// PreTranslateMessage before dispatching them.
#pragma once

#include <windows.h>

class CWindow;

class CApp {
public:
    CApp();
    virtual ~CApp();
    CApp(const CApp&) = delete;
    CApp& operator=(const CApp&) = delete;

    static CApp* Get();

    // Returns false to end the process without a message loop.
    virtual BOOL InitInstance() { return TRUE; }
    // Returns the process exit code.
    virtual int ExitInstance() { return m_nExitCode; }

    // InitInstance, the message loop, ExitInstance.
    int Main(HINSTANCE instance, const wchar_t* cmdLine);
    int Run();

    // Offers a queued message to the window it is for and then to its ancestors (up to the main window),
    // stopping at the first that consumes it.
    bool PreTranslateMessage(MSG* msg);

    HINSTANCE m_hInstance = nullptr;
    const wchar_t* m_lpCmdLine = L"";  // the command line after the program name
    CWindow* m_pMainWnd = nullptr;

protected:
    int m_nExitCode = 0;
};
