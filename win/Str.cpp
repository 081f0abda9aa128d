#include "win/Str.h"

#include <windows.h>

#include <climits>
#include <cstdarg>
#include <cwchar>

std::wstring Format(const wchar_t* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list probe;
    va_copy(probe, args);
    int len = _vscwprintf(fmt, probe);
    va_end(probe);
    std::wstring out;
    if (len > 0) {
        out.resize(static_cast<size_t>(len) + 1);
        _vsnwprintf(&out[0], out.size(), fmt, args);
        out.resize(static_cast<size_t>(len));
    }
    va_end(args);
    return out;
}

static std::string WideToBytes(UINT codePage, std::wstring_view text) {
    if (text.empty()) return {};
    int srcLen = static_cast<int>(text.size());
    int len = WideCharToMultiByte(codePage, 0, text.data(), srcLen, nullptr, 0, nullptr, nullptr);
    std::string out(len > 0 ? static_cast<size_t>(len) : 0, '\0');
    if (len > 0) WideCharToMultiByte(codePage, 0, text.data(), srcLen, &out[0], len, nullptr, nullptr);
    return out;
}

static std::wstring BytesToWide(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    int srcLen = static_cast<int>(text.size());
    int len = MultiByteToWideChar(codePage, 0, text.data(), srcLen, nullptr, 0);
    std::wstring out(len > 0 ? static_cast<size_t>(len) : 0, L'\0');
    if (len > 0) MultiByteToWideChar(codePage, 0, text.data(), srcLen, &out[0], len);
    return out;
}

std::string ToAnsi(std::wstring_view text) {
    return WideToBytes(CP_ACP, text);
}

std::wstring FromAnsi(std::string_view text) {
    return BytesToWide(CP_ACP, text);
}

std::string ToUtf8(std::wstring_view text) {
    return WideToBytes(CP_UTF8, text);
}

std::wstring FromUtf8(std::string_view text) {
    return BytesToWide(CP_UTF8, text);
}

static bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

std::wstring Trim(std::wstring_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsSpace(text[begin]))
        ++begin;
    while (end > begin && IsSpace(text[end - 1]))
        --end;
    return std::wstring(text.substr(begin, end - begin));
}

int ParseInt(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}
