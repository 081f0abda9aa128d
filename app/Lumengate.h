// The application object: process-wide start-up and shut-down around the launcher window.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "app/Unist.h"
#include "win/App.h"

class CLumengate : public CApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

    static LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info);
    static void OnInvalidParameter(const wchar_t* expression,
                                   const wchar_t* function,
                                   const wchar_t* file,
                                   unsigned int line,
                                   uintptr_t reserved);

    // 1: this is the installed copy, go on; 0: an installation was made, end the process.
    int SelfInstall();
    // What the installed copy is started with: "ns", followed by the value when it is a number of minutes.
    static std::wstring RelaunchParameters(const std::wstring& value);

    // Uninstall registration: each step adds what it creates to m_arrUnist; WriteUnistXml saves the list.
    void CreateShortcuts(const std::wstring& folder);
    int CreateShortcut(const std::wstring& target, const std::wstring& linkName, BOOL desktop);
    void WriteUninstallKey(const std::wstring& folder);
    int WriteUninstaller(const std::wstring& folder);
    void AddUnistItem(const std::wstring& text, int type);
    void WriteUnistXml(const std::wstring& folder);

    ULONG_PTR m_gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput m_gdiplusStartupInput;
    ComPtr<IXMLDOMDocument> m_pXmlDoc;
    std::vector<__UNISTINFO> m_arrUnist;
    std::wstring m_strCmdLine;
};

extern CLumengate theApp;
