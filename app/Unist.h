// The uninstall list "unist\Unist.xml" and the names of what an installation creates: the installation writes
// them, the uninstaller (unists.exe) reads them back.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <string>
#include <vector>

#include "win/Com.h"

// One entry of the uninstall list.
struct __UNISTINFO {
    std::wstring strText;  // a path or a name, as nType says
    int nType = 0;
};

// What an entry's text names.
enum UnistType : int {
    kUnistFile = 3,           // full path of a created file
    kUnistListFolder = 4,     // the folder holding Unist.xml
    kUnistMenuFolder = 5,     // the product's start-menu folder, by the product name
    kUnistSection = 7,        // the settings section: for information only
    kUnistUid = 8,            // the uid of the installer's file name: for information only
    kUnistUninstallKey = 9,   // name of the key under kUninstallKeyBase
    kUnistInstallFolder = 10  // the installation folder's own name
};

inline constexpr wchar_t kProductName[] = L"Veskora";
inline constexpr wchar_t kMakerFolderName[] = L"kaltogames";  // under the application-data folder
inline constexpr wchar_t kInstallFolderName[] = L"veskplay";  // under the maker's folder
inline constexpr wchar_t kInstalledExeName[] = L"veskplay.exe";
inline constexpr wchar_t kUninstallerName[] = L"unists.exe";
inline constexpr wchar_t kUnistFolderName[] = L"unist";
inline constexpr wchar_t kUnistFileName[] = L"Unist.xml";
inline constexpr wchar_t kUninstallKeyBase[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr wchar_t kUninstallKeyName[] = L"veskplay";

// The product's folder in the start menu's program list (not created here).
std::wstring GetProductMenuFolder(const std::wstring& product);

// An MSXML DOM document that loads synchronously, without validating or resolving externals; null when MSXML
// is missing. COM must be initialised on the calling thread.
ComPtr<IXMLDOMDocument> CreateXmlDocument();

// Makes the list the document's content, <unist><Node><Name>text</Name><Type>n</Type></Node>...</unist>, and
// saves it to file, replacing it. False when an element cannot be created or the file cannot be saved.
bool SaveUnistXml(IXMLDOMDocument* doc, const std::vector<__UNISTINFO>& list, const std::wstring& file);

// Reads a list saved by SaveUnistXml. False, with list empty, when the file is missing, is not well-formed, is
// not such a list or holds no entry. COM must be initialised on the calling thread.
bool LoadUnistXml(const std::wstring& file, std::vector<__UNISTINFO>& list);
