// Paths of the running program and the user's folders.
#pragma once

#include <string>

std::wstring GetModulePath();                            // full path of the running executable
std::wstring GetModuleFolder();                          // its folder, ending in a backslash
std::wstring GetFileNamePart(const std::wstring& path);  // the text after the last backslash
std::wstring GetSpecialFolder(int csidl);  // a shell folder without trailing backslash; empty when unknown
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// Creates the folder (one level) when it does not exist; true when it exists afterwards.
bool EnsureFolder(const std::wstring& path);
