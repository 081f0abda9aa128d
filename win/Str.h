// Wide strings are the program's text; byte strings exist only at its edges (profile files in the ANSI code
// page, HTTP bodies in UTF-8). These helpers are the one place where text crosses between the two.
#pragma once

#include <string>
#include <string_view>

// printf-style formatting into a wide string ("%s" takes a wide string, as with the wide CRT functions).
std::wstring Format(const wchar_t* fmt, ...);

std::string ToAnsi(std::wstring_view text);  // system ANSI code page (936 on a Chinese Windows)
std::wstring FromAnsi(std::string_view text);
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);  // invalid sequences become U+FFFD, nothing is dropped

// Removes leading and trailing white space (blank, tab, CR, LF, VT, FF).
std::wstring Trim(std::wstring_view text);

// The run-time library's wide-to-integer rule: optional white space and sign, then leading decimal digits;
// 0 when there are none. Values beyond 32 bits saturate instead of wrapping.
int ParseInt(std::wstring_view text);

// Case-insensitive comparison the way the system compares identifiers (ordinal, invariant upper case).
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
