// Paths of the running program and the user's folders.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

std::wstring GetModulePath();                            // full path of the running executable
std::wstring GetModuleFolder();                          // its folder, ending in a backslash
std::wstring GetFileNamePart(const std::wstring& path);  // the text after the last backslash
std::wstring GetSpecialFolder(int csidl);  // a shell folder without trailing backslash; empty when unknown
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// Creates the folder (one level) when it does not exist; true when it exists afterwards.
bool EnsureFolder(const std::wstring& path);
// Calls visit for every entry of the folder (no trailing backslash) but "." and ".."; false when it cannot be
// searched.
bool ForEachEntry(const std::wstring& folder, const std::function<void(const WIN32_FIND_DATAW&)>& visit);
