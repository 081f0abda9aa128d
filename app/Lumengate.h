// The application object: process-wide start-up and shut-down around the launcher window.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <string>

#include "win/App.h"

class CLumengate : public CApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

    static LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info);
    static void OnInvalidParameter(const wchar_t* expression, const wchar_t* function, const wchar_t* file,
                                   unsigned int line, uintptr_t reserved);

    // 1: this is the installed copy, go on; 0: an installation was made, end the process.
    int SelfInstall();

    ULONG_PTR m_gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput m_gdiplusStartupInput;
    std::wstring m_strCmdLine;
};

extern CLumengate theApp;
