#include "app/Lumengate.h"

#include <ole2.h>

#include <cstdio>
#include <cstdlib>

#include "app/StartCommand.h"
#include "launcher/MainWnd.h"
#include "win/Str.h"

CLumengate theApp;

BOOL CLumengate::InitInstance() {
    SetUnhandledExceptionFilter(OnUnhandledException);
    _set_invalid_parameter_handler(OnInvalidParameter);

    // The web-browser control needs OLE; a failure shows later as a window without its page.
    OleInitialize(nullptr);
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &m_gdiplusStartupInput, nullptr);

    StartCommand cmd = ParseStartCommand(m_lpCmdLine, GetCommandLineW());
    m_strCmdLine = cmd.value;
    if (cmd.waitMs) Sleep(cmd.waitMs);

    if (!SkipsSelfInstall(m_strCmdLine) && SelfInstall() == 0) exit(0);

    bool hidden = IsHiddenStart(m_strCmdLine);
    auto* wnd = new CMainWnd(hidden ? 1 : -1);
    if (!wnd->m_hWnd) {
        // Nothing to show and nothing to close: a process left running invisibly would also keep every later
        // installer from starting the client, so this start ends here.
        delete wnd;
        return FALSE;
    }
    m_pMainWnd = wnd;
    ShowWindow(wnd->m_hWnd, hidden ? SW_HIDE : SW_SHOW);
    UpdateWindow(wnd->m_hWnd);
    return TRUE;
}

int CLumengate::ExitInstance() {
    Gdiplus::GdiplusShutdown(m_gdiplusToken);
    OleUninitialize();
    return CApp::ExitInstance();
}

LONG WINAPI CLumengate::OnUnhandledException(EXCEPTION_POINTERS*) {
    printf("%d", 5);
    fflush(stdout);
    return EXCEPTION_EXECUTE_HANDLER;
}

void CLumengate::OnInvalidParameter(const wchar_t* expression,
                                    const wchar_t* function,
                                    const wchar_t* file,
                                    unsigned int line,
                                    uintptr_t) {
    std::wstring text = Format(L"in expression %s, function %s, file %s, line %d\n", expression ? expression : L"",
                               function ? function : L"", file ? file : L"", static_cast<int>(line));
    fputs(ToAnsi(text).c_str(), stdout);
    fflush(stdout);
}
