#include "MockPlatform.h"

#include <windows.h>

#include <cstdlib>
#include <sstream>

#include "TestUtil.h"
#include "win/Str.h"

static std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : L"";
}

MockPlatform::MockPlatform() {
    m_port = ParseInt(Environment(L"VESK_MOCK_PORT"));
    m_logPath = Environment(L"VESK_MOCK_LOG");
    // A Unix path from the test script: Wine shows the Unix root as drive Z:.
    if (!m_logPath.empty() && m_logPath[0] == L'/') m_logPath = L"Z:" + m_logPath;
}

std::wstring MockPlatform::Url(const std::wstring& pathAndQuery) const {
    return Format(L"http://127.0.0.1:%d", m_port) + pathAndQuery;
}

std::vector<std::string> MockPlatform::LogLines() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileBytes(m_logPath));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

static size_t ValueStart(const std::string& line, const std::string& key) {
    std::string marker = "\"" + key + "\": ";
    size_t pos = line.find(marker);
    return pos == std::string::npos ? pos : pos + marker.size();
}

std::string JsonString(const std::string& line, const std::string& key) {
    size_t pos = ValueStart(line, key);
    if (pos == std::string::npos || pos >= line.size() || line[pos] != '"') return {};
    std::string value;
    for (++pos; pos < line.size() && line[pos] != '"'; ++pos) {
        if (line[pos] == '\\' && pos + 1 < line.size()) ++pos;  // \" \\ \/ are all the mock writes here
        value += line[pos];
    }
    return value;
}

bool JsonTrue(const std::string& line, const std::string& key) {
    size_t pos = ValueStart(line, key);
    return pos != std::string::npos && line.compare(pos, 4, "true") == 0;
}

double JsonNumber(const std::string& line, const std::string& key) {
    size_t pos = ValueStart(line, key);
    return pos == std::string::npos ? 0 : std::strtod(line.c_str() + pos, nullptr);
}
